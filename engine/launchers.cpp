#include "launchers.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "launch_plan.h"
#include "system_error.h"
#include "win_handles.h"

namespace kzo {

namespace {

// CREATE_DEFAULT_ERROR_MODE | CREATE_SEPARATE_WOW_VDM | CREATE_NEW_CONSOLE
constexpr DWORD kCreationFlags = 0x04000810;

int showCommand(bool minimized) { return minimized ? SW_MINIMIZE : SW_SHOWNORMAL; }

BOOL CALLBACK closeWindowOfProcess(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;  // every top-level window is visited
}

// Waits until the given moment after start, or less when the process has
// already ended; true when it still runs.
bool waitUntil(HANDLE process, DWORD start, std::int64_t atMs) {
    DWORD elapsed = GetTickCount() - start;  // modulo 2^32: right across the wrap
    std::int64_t left = atMs - static_cast<std::int64_t>(elapsed);
    DWORD wait = left <= 0 ? 0 : left >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(left);
    return WaitForSingleObject(process, wait) == WAIT_TIMEOUT;
}

// Applies the kill and quit times to a started process; a process that ends
// by itself releases the thread early. Failures are ignored.
void superviseProcess(HANDLE process, DWORD processId, DWORD start, KillQuitPlan plan) {
    if (plan.closeAtMs >= 0) {
        if (!waitUntil(process, start, plan.closeAtMs)) return;
        EnumWindows(closeWindowOfProcess, static_cast<LPARAM>(processId));
    }
    if (plan.terminateAtMs >= 0) {
        if (!waitUntil(process, start, plan.terminateAtMs)) return;
        TerminateProcess(process, 0);
    }
}


std::uint32_t runFallback(const char* onError, std::uint32_t error) {
    if (!onError || !onError[0]) return error;
    return launchApplication(onError, kCurrentFolder, "", 0, 0, false);
}

// ShellExecuteEx reports some failures only through hInstApp.
DWORD shellErrorCode(HINSTANCE instApp) {
    switch (reinterpret_cast<INT_PTR>(instApp)) {
        case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
        case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
        case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
        case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
        case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
        case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
        default: return ERROR_NO_ASSOCIATION;
    }
}

}  // namespace

std::uint32_t launchApplication(const char* commandLine, const char* folder, const char* onError,
                                std::int32_t killAfter, std::int32_t quitAfter, bool minimized) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand(minimized));
    // CreateProcessA may write into its command line.
    std::vector<char> command(commandLine, commandLine + std::strlen(commandLine) + 1);
    PROCESS_INFORMATION info = {};
    DWORD start = GetTickCount();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, kCreationFlags, nullptr,
                        folder && folder[0] ? folder : nullptr, &startup, &info)) {
        return runFallback(onError, lastErrorOr(ERROR_FILE_NOT_FOUND));
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    superviseProcess(process.get(), info.dwProcessId, start, planKillQuit(killAfter, quitAfter));
    return 0;
}

std::uint32_t launchDocument(const char* documentText, const char* folder, const char* onError,
                             std::int32_t killAfter, std::int32_t, bool minimized) {
    DocumentStart document = parseDocumentText(documentText, folder);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = document.verb.c_str();
    info.lpFile = document.file.c_str();
    info.lpDirectory = document.directory.empty() ? nullptr : document.directory.c_str();
    info.nShow = showCommand(minimized);
    DWORD start = GetTickCount();
    SetLastError(0);
    if (!ShellExecuteExA(&info)) return runFallback(onError, lastErrorOr(shellErrorCode(info.hInstApp)));
    UniqueHandle process(info.hProcess);
    if (process && killAfter > 0) {
        KillQuitPlan plan;
        plan.terminateAtMs = static_cast<std::int64_t>(killAfter) * 1000;
        superviseProcess(process.get(), 0, start, plan);  // no close request: no windows to find
    }
    return 0;
}

}  // namespace kzo
