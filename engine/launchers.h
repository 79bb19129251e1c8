// The application and document launchers: used by the launch threads and by
// every program that starts another program (the Terminal's run-now, help and
// log viewer; the Executor's start of the Terminal).
#pragma once

#include <cstdint>
#include <functional>

#include "process_control.h"
#include "run_event.h"

namespace kzo {

// The startup folder of a fallback command: the caller's current directory.
constexpr const char* kCurrentFolder = ".\\";

// Starts commandLine (CreateProcessA; the program path comes from the command
// line, so a path with blanks must be quoted) in folder (empty: the caller's
// current directory), minimized or normal. When it cannot start and onError is
// not empty, starts onError instead in ".\\" with no kill or quit time. Once a
// process runs, blocks the calling thread for its close request and
// termination (see planKillQuit). Returns 0 or the Windows error code of the
// last start that failed.
std::uint32_t launchApplication(const char* commandLine, const char* folder, const char* onError,
                                std::int32_t killAfter, std::int32_t quitAfter, bool minimized);

// Opens a document with a shell verb ("verb|document", ShellExecuteExA), with
// the same fallback. Only the kill time applies: a document's program gets no
// close request.
std::uint32_t launchDocument(const char* documentText, const char* folder, const char* onError,
                             std::int32_t killAfter, std::int32_t quitAfter, bool minimized);

// --- A launch followed to its end, for the run history ----------------------

// One step of a followed launch. code: the exit code (Exited, Closed) or the
// Windows error (NotStarted, FallbackStarted: the command's, FallbackFailed:
// the fallback's, NotOpened); durationMs from the start of the process, -1
// when none ran.
struct LaunchStep {
    RunOutcome outcome = RunOutcome::Started;
    bool hasCode = false;
    std::uint32_t code = 0;
    std::int64_t durationMs = -1;
};

using LaunchSteps = std::function<void(const LaunchStep&)>;

// What a launch is asked to start.
struct LaunchCommand {
    const char* text;     // the command line, or the document text ("verb|document")
    const char* folder;
    const char* onError;  // the fallback command
    std::int32_t killAfter;
    std::int32_t quitAfter;
    bool minimized;
};

// The launchers through the seam. Without steps they act as launchApplication
// and launchDocument. With steps they tell each step as it happens: first
// Started, FallbackStarted, Opened (a document without a process), NotStarted,
// NotOpened or FallbackFailed; then, when a process runs, they wait for its
// end, whatever the kill and quit times (which apply as before), and tell
// Exited, Closed (after the close request) or Killed. Return as above.
std::uint32_t runApplication(ProcessControl& processes, const LaunchCommand& command,
                             const LaunchSteps* steps);
std::uint32_t runDocument(ProcessControl& processes, const LaunchCommand& command,
                          const LaunchSteps* steps);

}  // namespace kzo
