// Registry values read and written the way every program of the suite does:
// a value counts only when its type and size are right, otherwise the caller's
// default applies to that value alone.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kzo {

// A REG_SZ value read into a buffer of size bytes and trimmed of blanks. True
// only when the query succeeds, the type is REG_SZ, the text fits with its
// terminating zero and is not empty after trimming; buffer is always
// terminated (empty when false).
bool readTrimmedString(HKEY key, const char* name, char* buffer, std::size_t size);

// True only when the query succeeds, the type is REG_DWORD and exactly 4 bytes
// come back.
bool readDword(HKEY key, const char* name, std::uint32_t& value);

// A DWORD flag: a used value other than 0 reads as true.
bool readFlag(HKEY key, const char* name, bool fallback);

// REG_DWORD. Returns 0 or the Windows error code.
std::uint32_t writeDword(HKEY key, const char* name, std::uint32_t value);

// REG_SZ, stored with its terminating zero. Returns 0 or the Windows error code.
std::uint32_t writeString(HKEY key, const char* name, const std::string& text);

// Deletes the key name under parent with every key below it, deepest first
// (on the NT family RegDeleteKeyA refuses a key that has subkeys; shlwapi's
// SHDeleteKeyA, which does this, is missing on a bare Windows 95 or NT 4.0).
// Returns ERROR_SUCCESS, or the first Windows error.
long deleteKeyTree(HKEY parent, const char* name);

}  // namespace kzo
