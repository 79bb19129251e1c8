// The launchers' seam: how a launch starts a program or opens a document,
// follows the process it got, and reads the time. One real implementation
// (systemProcesses: CreateProcessA, ShellExecuteExA, waits on the process
// handle) and test doubles that play programs from a script.
#pragma once

#include <cstdint>

#include "launch_plan.h"
#include "launch_time.h"

namespace kzo {

// No limit to a wait.
constexpr std::uint32_t kWaitForever = 0xFFFFFFFF;

// A started process as the seam knows it: a handle of its own kind (none
// when Windows reported no process for a document) and the process id.
struct ProcessRef {
    void* handle = nullptr;
    std::uint32_t id = 0;
};

class ProcessControl {
public:
    virtual ~ProcessControl() = default;

    // CreateProcessA with the command line as given (the program's path taken
    // from it), folder as the current directory (empty: the caller's), the
    // window minimized or normal, creation flags 0x04000810. 0 with process
    // set, or the Windows error.
    virtual std::uint32_t startProgram(const char* commandLine, const char* folder, bool minimized,
                                       ProcessRef& process) = 0;
    // ShellExecuteExA of the document's verb, file and directory, asking for
    // its process. 0 with the process Windows reported (possibly none), or the
    // Windows error.
    virtual std::uint32_t openDocument(const DocumentStart& document, bool minimized,
                                       ProcessRef& process) = 0;
    // Waits at most ms (kWaitForever: as long as it takes) for the process to
    // end; true when it has ended.
    virtual bool waitForEnd(const ProcessRef& process, std::uint32_t ms) = 0;
    // The exit code of an ended process.
    virtual std::uint32_t exitCode(const ProcessRef& process) = 0;
    // WM_CLOSE posted to every top-level window of the process.
    virtual void requestClose(const ProcessRef& process) = 0;
    // TerminateProcess with exit code 0.
    virtual void terminate(const ProcessRef& process) = 0;
    // Lets go of what startProgram or openDocument handed out.
    virtual void release(ProcessRef& process) = 0;

    // Milliseconds of a clock that wraps at 2^32 (GetTickCount).
    virtual std::uint32_t tickMs() = 0;
    // The local time, seconds included.
    virtual LaunchTime localTime() = 0;
};

// The real processes; one object for the whole program, never destroyed.
ProcessControl& systemProcesses();

}  // namespace kzo
