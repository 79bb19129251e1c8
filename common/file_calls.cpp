#include "file_calls.h"

#include "win_handles.h"
#include "windows_platform.h"

namespace kzo {

bool fileSize(HANDLE file, std::uint64_t& size) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    size = (static_cast<std::uint64_t>(high) << 32) | low;
    return true;
}

std::uint32_t replaceFile(const char* from, const char* to) {
    using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto move = isWindowsNt() ? systemFunction<MoveFileExFn>("kernel32.dll", "MoveFileExA") : nullptr;
    if (move) return move(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : GetLastError();
    if (!DeleteFileA(to) && GetLastError() != ERROR_FILE_NOT_FOUND) return GetLastError();
    return MoveFileA(from, to) ? 0 : GetLastError();
}

}  // namespace kzo
