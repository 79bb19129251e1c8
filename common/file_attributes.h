// Making a file writable and visible again before the suite opens it.
#pragma once

namespace kzo {

// Clears the read-only, hidden and system attributes of the file (sets its
// attributes to normal) when any of them is set. A file that has none of them
// is left as it is: the costly change is not made, and its archive bit stays
// for backup programs. A missing file is no error.
void makeAttributesNormal(const char* path);

}  // namespace kzo
