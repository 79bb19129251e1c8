// The path of a folder of the shell (CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY,
// ...), by the calls that every shell has, back to Windows 95 and NT 4.0
// without Internet Explorer.
#pragma once

#include <string>

namespace kzo {

// The folder's path, created first when create is set and it is missing;
// empty when the shell has no such folder or it cannot be made.
std::string shellFolderPath(int csidl, bool create);

}  // namespace kzo
