// Which family of Windows the program runs on: the NT family (NT4/2000/XP) or
// 95/98/Me. Under Wine the answer follows the version emulated for the program.
#pragma once

namespace kzo {

// True on the NT family (platform id 2).
bool isWindowsNt();

}  // namespace kzo
