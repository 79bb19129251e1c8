#include "process_control.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "clock.h"
#include "system_error.h"

namespace kzo {

namespace {

// CREATE_DEFAULT_ERROR_MODE | CREATE_SEPARATE_WOW_VDM | CREATE_NEW_CONSOLE
constexpr DWORD kCreationFlags = 0x04000810;

WORD showCommand(bool minimized) { return minimized ? SW_MINIMIZE : SW_SHOWNORMAL; }

HANDLE handleOf(const ProcessRef& process) { return static_cast<HANDLE>(process.handle); }

BOOL CALLBACK closeWindowOfProcess(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;  // every top-level window is visited
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

class Win32ProcessControl final : public ProcessControl {
public:
    std::uint32_t startProgram(const char* commandLine, const char* folder, bool minimized,
                               ProcessRef& process) override {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = showCommand(minimized);
        // CreateProcessA may write into its command line.
        std::vector<char> command(commandLine, commandLine + std::strlen(commandLine) + 1);
        PROCESS_INFORMATION info = {};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, kCreationFlags,
                            nullptr, folder && folder[0] ? folder : nullptr, &startup, &info))
            return lastErrorOr(ERROR_FILE_NOT_FOUND);
        CloseHandle(info.hThread);
        process.handle = info.hProcess;
        process.id = info.dwProcessId;
        return 0;
    }

    std::uint32_t openDocument(const DocumentStart& document, bool minimized,
                               ProcessRef& process) override {
        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = document.verb.c_str();
        info.lpFile = document.file.c_str();
        info.lpDirectory = document.directory.empty() ? nullptr : document.directory.c_str();
        info.nShow = showCommand(minimized);
        SetLastError(0);
        if (!ShellExecuteExA(&info)) return lastErrorOr(shellErrorCode(info.hInstApp));
        process.handle = info.hProcess;
        process.id = 0;  // not reported: a document's program gets no close request
        return 0;
    }

    bool waitForEnd(const ProcessRef& process, std::uint32_t ms) override {
        return WaitForSingleObject(handleOf(process), ms) != WAIT_TIMEOUT;
    }

    std::uint32_t exitCode(const ProcessRef& process) override {
        DWORD code = 0;
        return GetExitCodeProcess(handleOf(process), &code) ? code : 0;
    }

    void requestClose(const ProcessRef& process) override {
        EnumWindows(closeWindowOfProcess, static_cast<LPARAM>(process.id));
    }

    void terminate(const ProcessRef& process) override { TerminateProcess(handleOf(process), 0); }

    void release(ProcessRef& process) override {
        if (process.handle) CloseHandle(handleOf(process));
        process = ProcessRef();
    }

    std::uint32_t tickMs() override { return GetTickCount(); }

    LaunchTime localTime() override { return SystemClock().now(); }
};

}  // namespace

ProcessControl& systemProcesses() {
    static Win32ProcessControl* processes = new Win32ProcessControl;
    return *processes;
}

}  // namespace kzo
