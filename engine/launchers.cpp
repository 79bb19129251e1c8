#include "launchers.h"

namespace kzo {

namespace {

// Lets go of a started process when the launch is done with it.
class HeldProcess {
public:
    HeldProcess(ProcessControl& processes, ProcessRef& process)
        : processes_(processes), process_(process) {}
    ~HeldProcess() { processes_.release(process_); }
    HeldProcess(const HeldProcess&) = delete;
    HeldProcess& operator=(const HeldProcess&) = delete;

private:
    ProcessControl& processes_;
    ProcessRef& process_;
};

void tell(const LaunchSteps* steps, RunOutcome outcome, bool hasCode = false,
          std::uint32_t code = 0, std::int64_t durationMs = -1) {
    if (steps) (*steps)(LaunchStep{outcome, hasCode, code, durationMs});
}

std::int64_t elapsedMs(ProcessControl& processes, std::uint32_t start) {
    return static_cast<std::uint32_t>(processes.tickMs() - start);  // right across the wrap
}

// Waits until the given moment after start, or less when the process has
// already ended; true when it still runs.
bool runsUntil(ProcessControl& processes, const ProcessRef& process, std::uint32_t start,
               std::int64_t atMs) {
    std::int64_t left = atMs - elapsedMs(processes, start);
    std::uint32_t wait = left <= 0                ? 0
                         : left >= kWaitForever ? kWaitForever - 1
                                                : static_cast<std::uint32_t>(left);
    return !processes.waitForEnd(process, wait);
}

void tellEnd(const LaunchSteps* steps, ProcessControl& processes, const ProcessRef& process,
             std::uint32_t start, RunOutcome outcome) {
    if (steps) tell(steps, outcome, true, processes.exitCode(process), elapsedMs(processes, start));
}

// Applies the kill and quit times to a started process; a process that ends
// by itself releases the thread early. Followed (steps given), the process is
// waited for to its end, which is told. Failures to close or terminate are
// ignored.
void supervise(ProcessControl& processes, const ProcessRef& process, std::uint32_t start,
               KillQuitPlan plan, const LaunchSteps* steps) {
    RunOutcome end = RunOutcome::Exited;
    if (plan.closeAtMs >= 0) {
        if (!runsUntil(processes, process, start, plan.closeAtMs))
            return tellEnd(steps, processes, process, start, end);
        processes.requestClose(process);
        end = RunOutcome::Closed;
    }
    if (plan.terminateAtMs >= 0) {
        if (!runsUntil(processes, process, start, plan.terminateAtMs))
            return tellEnd(steps, processes, process, start, end);
        processes.terminate(process);
        return tell(steps, RunOutcome::Killed, false, 0, elapsedMs(processes, start));
    }
    if (!steps) return;
    processes.waitForEnd(process, kWaitForever);
    tellEnd(steps, processes, process, start, end);
}

// The command could not start (error): its fallback, in the current folder
// with no kill or quit time, when there is one. Returns 0 or the error of the
// last start that failed.
std::uint32_t runFallback(ProcessControl& processes, const char* onError, std::uint32_t error,
                          RunOutcome failed, const LaunchSteps* steps) {
    if (!onError || !onError[0]) {
        tell(steps, failed, true, error);
        return error;
    }
    ProcessRef process;
    std::uint32_t start = processes.tickMs();
    std::uint32_t fallbackError = processes.startProgram(onError, kCurrentFolder, false, process);
    if (fallbackError != 0) {
        tell(steps, RunOutcome::FallbackFailed, true, fallbackError);
        return fallbackError;
    }
    HeldProcess held(processes, process);
    tell(steps, RunOutcome::FallbackStarted, true, error);
    supervise(processes, process, start, KillQuitPlan(), steps);
    return 0;
}

}  // namespace

std::uint32_t runApplication(ProcessControl& processes, const LaunchCommand& command,
                             const LaunchSteps* steps) {
    ProcessRef process;
    std::uint32_t start = processes.tickMs();
    std::uint32_t error = processes.startProgram(command.text, command.folder, command.minimized, process);
    if (error != 0) return runFallback(processes, command.onError, error, RunOutcome::NotStarted, steps);
    HeldProcess held(processes, process);
    tell(steps, RunOutcome::Started);
    supervise(processes, process, start, planKillQuit(command.killAfter, command.quitAfter), steps);
    return 0;
}

std::uint32_t runDocument(ProcessControl& processes, const LaunchCommand& command,
                          const LaunchSteps* steps) {
    DocumentStart document = parseDocumentText(command.text, command.folder);
    ProcessRef process;
    std::uint32_t start = processes.tickMs();
    std::uint32_t error = processes.openDocument(document, command.minimized, process);
    if (error != 0) return runFallback(processes, command.onError, error, RunOutcome::NotOpened, steps);
    HeldProcess held(processes, process);
    if (!process.handle) {
        tell(steps, RunOutcome::Opened);
        return 0;
    }
    tell(steps, RunOutcome::Started);
    // Only the kill time: a document's program gets no close request.
    KillQuitPlan plan;
    if (command.killAfter > 0) plan.terminateAtMs = static_cast<std::int64_t>(command.killAfter) * 1000;
    supervise(processes, process, start, plan, steps);
    return 0;
}

std::uint32_t launchApplication(const char* commandLine, const char* folder, const char* onError,
                                std::int32_t killAfter, std::int32_t quitAfter, bool minimized) {
    return runApplication(systemProcesses(),
                          LaunchCommand{commandLine, folder, onError, killAfter, quitAfter, minimized},
                          nullptr);
}

std::uint32_t launchDocument(const char* documentText, const char* folder, const char* onError,
                             std::int32_t killAfter, std::int32_t quitAfter, bool minimized) {
    return runDocument(systemProcesses(),
                       LaunchCommand{documentText, folder, onError, killAfter, quitAfter, minimized},
                       nullptr);
}

}  // namespace kzo
