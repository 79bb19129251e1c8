// File calls the suite makes in the form every system it runs on has
// (GetFileSizeEx came with Windows 2000, MoveFileExA works on the NT family
// only).
#pragma once

#include <windows.h>

#include <cstdint>

namespace kzo {

// The size of an open file; false (GetLastError set) when it cannot be read.
bool fileSize(HANDLE file, std::uint64_t& size);

// Moves from over to, replacing to, and returns 0 or the Windows error: in one
// step with MoveFileExA where the system has it, otherwise (95/98/Me) by
// moving to aside first, and back should the move fail.
std::uint32_t replaceFile(const char* from, const char* to);

}  // namespace kzo
