// Blank trimming: task names, paths and user names lose their leading and
// trailing blanks (the blank character only, not tabs) before use and comparison.
#pragma once

#include <string>
#include <string_view>

namespace kzo {

std::string trimBlanks(std::string_view text);

// Trims a NUL-terminated buffer in place.
void trimBlanksInPlace(char* text);

}  // namespace kzo
