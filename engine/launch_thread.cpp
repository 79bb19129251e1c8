#include "launch_thread.h"

#include <windows.h>

#include <memory>
#include <optional>

#include "launch_fields.h"
#include "launchers.h"
#include "run_history.h"
#include "schedule_store.h"
#include "shutdown.h"
#include "system_error.h"

namespace kzo {

namespace {

// The launch thread's stack. A thread that follows its program may wait for
// hours, so its stack is kept small; it still has room for what a launch does
// on it: the prompt dialogs, ShellExecuteEx (which loads shell extensions on
// the calling thread) and the history's file work. From XP on the size is
// the reservation (STACK_SIZE_PARAM_IS_A_RESERVATION); before, the size is
// what is committed at once, within the program's own reservation, so a
// smaller one is passed there.
constexpr SIZE_T kLaunchStackReservation = 256 * 1024;
constexpr SIZE_T kLaunchStackCommitBeforeXp = 64 * 1024;
constexpr DWORD kStackSizeIsReservation = 0x00010000;  // STACK_SIZE_PARAM_IS_A_RESERVATION

struct ThreadStart {
    LaunchRequest request;
    PlatformActions* actions;
    LaunchOptions options;
};

DWORD WINAPI launchThreadEntry(void* parameter) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    try {
        // The thread's own copy: the request's block is freed at once.
        LaunchRequest request = start->request;
        PlatformActions& actions = *start->actions;
        LaunchOptions options = start->options;
        start.reset();
        return static_cast<DWORD>(runLaunch(request, actions, options));
    } catch (...) {
        // A launch that fails this way ends alone; it takes nothing else down.
        return 0;
    }
}

// Windows XP (NT 5.1) and later take the stack size as a reservation.
bool stackSizeCanBeReservation() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info) || info.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

RunKind kindOf(int8_t type) {
    switch (type) {
        case kTypeDocument: return RunKind::Document;
        case kTypeMessage: return RunKind::Message;
        case kTypeShutdown: return RunKind::Shutdown;
        default: return RunKind::Application;  // and any unknown type
    }
}

// Outcomes whose code is a Windows error, written with its text.
bool carriesError(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::NotStarted:
        case RunOutcome::FallbackStarted:
        case RunOutcome::FallbackFailed:
        case RunOutcome::NotOpened:
        case RunOutcome::NotSent:
        case RunOutcome::ShutdownRefused:
            return true;
        default:
            return false;
    }
}

// The lines one launch writes into its history. While its program runs the
// launch is registered, so that the scheduler's stop can tell of it.
class LaunchHistory {
public:
    LaunchHistory(const LaunchRequest& request, const TaskRecord& task, ProcessControl& processes,
                  RunEvent* lastLine)
        : file_(request.history), processes_(processes), lastLine_(lastLine) {
        if (!kept()) return;
        event_.task = std::string(nameKey(task));
        event_.runNow = request.runNow;
        event_.pass = request.time;
        event_.started = processes.localTime();
        event_.kind = kindOf(task.type);
    }

    // Whether the history is kept: only then is a started program followed.
    bool kept() const { return !file_.empty(); }

    void record(const LaunchStep& step) {
        if (!kept()) return;
        RunEvent e = event_;
        e.time = processes_.localTime();
        e.outcome = step.outcome;
        e.hasCode = step.hasCode;
        e.code = step.code;
        e.durationMs = step.durationMs;
        if (step.hasCode && carriesError(step.outcome)) e.text = systemErrorText(step.code);
        runHistory().write(file_, e, running_);
        if (lastLine_) *lastLine_ = e;
    }

    void record(RunOutcome outcome, std::uint32_t error = 0) {
        record(LaunchStep{outcome, error != 0, error, -1});
    }

private:
    const std::string& file_;
    ProcessControl& processes_;
    RunEvent* lastLine_;
    RunEvent event_;
    std::optional<RunHistory::Running> running_;
};

}  // namespace

int runLaunch(const LaunchRequest& request, PlatformActions& actions, const LaunchOptions& options) {
    TaskRecord task = request.task;
    ProcessControl& processes = actions.processes();
    LaunchHistory history(request, task, processes, options.lastLine);
    expandRecordMacros(task, request.time);
    // The launch thread's working storage: three 2599-byte buffers.
    auto fields = std::make_unique<LaunchFields>();
    expandLaunchFields(task, *fields);

    const bool ask = options.prompt && request.warn;
    // The prompt shows the command after its macros, before the environment.
    if (ask && task.type != kTypeMessage && !actions.confirmLaunch(task, task.command)) {
        history.record(RunOutcome::Declined);
        return -1;
    }

    std::uint32_t error = 0;
    switch (task.type) {
        case kTypeMessage:
            sendMessage(actions, task.command, task.folder, options.caller, &error);
            history.record(error != 0                    ? RunOutcome::NotSent
                           : showsLocallyOnly(task.folder) ? RunOutcome::Shown
                                                           : RunOutcome::Sent,
                           error);
            return 0;
        case kTypeShutdown:
            runShutdown(actions, task.command, task.folder, &error);
            history.record(error != 0 ? RunOutcome::ShutdownRefused : RunOutcome::ShutdownRequested,
                           error);
            return 0;
        default:
            break;
    }

    LaunchSteps steps = [&history](const LaunchStep& step) { history.record(step); };
    const LaunchSteps* followed = history.kept() ? &steps : nullptr;
    LaunchCommand command{fields->command, fields->folder, fields->onError,
                          task.killAfter,  task.quitAfter, task.runMinimized != 0};
    // Application, and any unknown type.
    std::uint32_t result = task.type == kTypeDocument ? runDocument(processes, command, followed)
                                                      : runApplication(processes, command, followed);
    if (result != 0 && options.reportErrors && request.repErr) {
        actions.beep();
        actions.showLaunchError(task, task.command, result);
    }
    return 0;
}

bool startLaunchThread(const LaunchRequest& request, PlatformActions& actions,
                       const LaunchOptions& options) {
    // The request's copy may want memory for the history's name: without it
    // the task is not launched, and the pass goes on.
    ThreadStart* start = nullptr;
    try {
        start = new ThreadStart{request, &actions, options};
    } catch (...) {
        return false;
    }
    start->options.lastLine = nullptr;  // nobody waits on a detached launch for it
    static const bool reservation = stackSizeCanBeReservation();
    HANDLE thread = CreateThread(nullptr,
                                 reservation ? kLaunchStackReservation : kLaunchStackCommitBeforeXp,
                                 launchThreadEntry, start, reservation ? kStackSizeIsReservation : 0,
                                 nullptr);
    if (!thread) {
        delete start;
        return false;
    }
    CloseHandle(thread);
    return true;
}

RunNowLaunch runNowLaunch(const TaskRecord& task, const LaunchTime& now, const std::string& history) {
    RunNowLaunch run;
    run.request.task = task;
    run.request.warn = false;
    run.request.repErr = true;
    run.request.time = now;
    run.request.history = history;
    run.request.runNow = true;
    run.options.prompt = false;
    run.options.reportErrors = true;
    run.options.caller = MessageCaller::Terminal;
    return run;
}

}  // namespace kzo
