// The launch of one due task, on a thread of its own: macros and environment
// expanded in a private copy of the record, the Warn prompt, the start by type,
// the report of a failure to start, and what became of the launch in the run
// history (run_event.h). With a history the thread follows a started program
// to its end, waiting on its process: a thread with a small stack that costs
// little while it waits.
#pragma once

#include "launch_request.h"
#include "messages.h"
#include "platform_actions.h"
#include "run_event.h"

namespace kzo {

struct LaunchOptions {
    bool prompt = true;        // honour the request's Warn flag
    bool reportErrors = true;  // honour the request's RepErr flag
    MessageCaller caller = MessageCaller::Executor;
    // For runLaunch on the caller's thread: receives each line the launch
    // writes into its history, so the last one tells what became of it.
    RunEvent* lastLine = nullptr;
};

// Runs the launch on the calling thread. Returns -1 when the prompt was
// answered No, else 0. Application (and any unknown type) and Document tasks
// are prompted when Warn is set, Shut down tasks too, Message tasks never.
// When the request names a history, each step goes into it (declined, not
// started, started and then the program's end, shown, sent, ...), and the
// call returns when the started program has ended.
int runLaunch(const LaunchRequest& request, PlatformActions& actions,
              const LaunchOptions& options = LaunchOptions());

// Starts runLaunch on a detached thread that owns a copy of the request; the
// caller never waits. The actions must outlive the thread. False when the
// thread could not be created (nothing is launched then).
bool startLaunchThread(const LaunchRequest& request, PlatformActions& actions,
                       const LaunchOptions& options = LaunchOptions());

// The Terminal's Run, and the command line's: the task launched at `now`
// without the Warn prompt, a failure to start always reported to the user,
// written into `history` (empty: none) as "run now".
struct RunNowLaunch {
    LaunchRequest request;
    LaunchOptions options;
};
RunNowLaunch runNowLaunch(const TaskRecord& task, const LaunchTime& now, const std::string& history);

}  // namespace kzo
