#include "file_calls.h"

#include <string>

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
    if (MoveFileA(from, to)) return 0;
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return error;
    // The old file is moved aside first and comes back should the move fail,
    // so that nothing is lost on the way.
    std::string aside = std::string(to) + ".kzo-old";
    DeleteFileA(aside.c_str());
    if (!MoveFileA(to, aside.c_str())) return GetLastError();
    if (!MoveFileA(from, to)) {
        error = GetLastError();
        MoveFileA(aside.c_str(), to);
        return error;
    }
    DeleteFileA(aside.c_str());
    return 0;
}

}  // namespace kzo
