// kill.exe: ends processes by image name or process id, for use in tasks.
//   kill [/f] name|id [name|id ...]
// Without /f each process is first asked to close (WM_CLOSE to its top-level
// windows) and terminated when it still runs after a few seconds; with /f it is
// terminated at once. Exit codes: see KillExit.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "kill_command_line.h"
#include "process_list.h"
#include "system_error.h"
#include "win_handles.h"

namespace {

using kzo::KillCommand;
using kzo::KillTarget;
using kzo::ProcessEntry;

constexpr DWORD kCloseWaitMs = 5000;
constexpr DWORD kTerminateWaitMs = 5000;
// The exit code a terminated process is given.
constexpr UINT kTerminatedExitCode = 1;

struct WindowSearch {
    DWORD processId;
    unsigned posted;
};

BOOL CALLBACK postClose(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && PostMessageA(window, WM_CLOSE, 0, 0)) ++search->posted;
    return TRUE;
}

// Asks the process to close through its top-level windows; true when it ended
// within the wait. A process without windows is not waited for.
bool askToClose(HANDLE process, DWORD id) {
    WindowSearch search{id, 0};
    EnumWindows(postClose, reinterpret_cast<LPARAM>(&search));
    return search.posted > 0 && WaitForSingleObject(process, kCloseWaitMs) == WAIT_OBJECT_0;
}

// Ends one process; false (with the reason printed) when it still runs.
bool endProcess(const ProcessEntry& entry, bool force) {
    kzo::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.id));
    if (!process) {
        std::fprintf(stderr, "Cannot end %s (%lu): %s\n", entry.image.c_str(),
                     static_cast<unsigned long>(entry.id),
                     kzo::systemErrorText(kzo::lastErrorOr(ERROR_ACCESS_DENIED)).c_str());
        return false;
    }
    if (!force && askToClose(process.get(), entry.id)) {
        std::printf("Closed %s (%lu).\n", entry.image.c_str(), static_cast<unsigned long>(entry.id));
        return true;
    }
    if (!TerminateProcess(process.get(), kTerminatedExitCode)) {
        DWORD error = kzo::lastErrorOr(ERROR_ACCESS_DENIED);
        // It may have ended by itself in the meantime.
        if (WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "Cannot end %s (%lu): %s\n", entry.image.c_str(),
                         static_cast<unsigned long>(entry.id), kzo::systemErrorText(error).c_str());
            return false;
        }
    }
    if (WaitForSingleObject(process.get(), kTerminateWaitMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%s (%lu) does not end.\n", entry.image.c_str(),
                     static_cast<unsigned long>(entry.id));
        return false;
    }
    std::printf("Ended %s (%lu).\n", entry.image.c_str(), static_cast<unsigned long>(entry.id));
    return true;
}

bool matches(const KillTarget& target, const ProcessEntry& entry) {
    return target.byId ? entry.id == target.id : kzo::imageNameMatches(target.imageName, entry.image);
}

int run(const KillCommand& command) {
    std::vector<ProcessEntry> processes;
    if (!kzo::listProcesses(processes)) {
        std::fputs("The running processes cannot be listed on this system.\n", stderr);
        return kzo::kKillNotEnded;
    }
    DWORD self = GetCurrentProcessId();
    std::vector<DWORD> chosen;
    std::vector<ProcessEntry> toEnd;
    std::size_t withoutProcess = 0;
    for (const KillTarget& target : command.targets) {
        bool found = false;
        for (const ProcessEntry& entry : processes) {
            if (entry.id == self || !matches(target, entry)) continue;
            found = true;
            if (std::find(chosen.begin(), chosen.end(), entry.id) != chosen.end()) continue;
            chosen.push_back(entry.id);
            toEnd.push_back(entry);
        }
        if (!found) {
            ++withoutProcess;
            if (target.byId)
                std::fprintf(stderr, "No process with the id %lu.\n", static_cast<unsigned long>(target.id));
            else
                std::fprintf(stderr, "No process named %s.\n", target.imageName.c_str());
        }
    }
    std::size_t notEnded = 0;
    for (const ProcessEntry& entry : toEnd) {
        if (!endProcess(entry, command.force)) ++notEnded;
    }
    return kzo::killExitCode(withoutProcess, notEnded);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    KillCommand command = kzo::parseKillCommand(arguments);
    switch (command.action) {
        case KillCommand::Action::Help:
            std::fputs(kzo::killUsageText().c_str(), stdout);
            return kzo::kKillEnded;
        case KillCommand::Action::Usage:
            std::fprintf(stderr, "%s\n\n%s", command.error.c_str(), kzo::killUsageText().c_str());
            return kzo::kKillUsage;
        case KillCommand::Action::Kill:
            break;
    }
    return run(command);
}
