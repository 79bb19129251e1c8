#include "start_program.h"

#include <vector>

namespace kzo {

UniqueHandle startProgram(const std::string& commandLine, WORD show) {
    constexpr DWORD kStartFlags = CREATE_DEFAULT_ERROR_MODE | CREATE_SEPARATE_WOW_VDM | CREATE_NEW_CONSOLE;
    // CreateProcessA may write into its command line.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, kStartFlags, nullptr, nullptr, &startup,
                        &process))
        return UniqueHandle();
    CloseHandle(process.hThread);
    return UniqueHandle(process.hProcess);
}

}  // namespace kzo
