#include "run_now.h"

#include <windows.h>

#include "clock.h"
#include "launch_thread.h"
#include "message_text.h"
#include "product_names.h"
#include "run_history.h"
#include "scheduler_settings.h"
#include "string_table.h"
#include "win32_actions.h"

namespace kzo {

namespace {

constexpr unsigned kUnableToLaunch = 7739;

// How the Terminal presents what a run-now thread shows.
class TerminalActions final : public Win32Actions {
public:
    bool confirmLaunch(const TaskRecord&, const char*) override { return true; }

    void showLaunchError(const TaskRecord& task, const char* command, std::uint32_t) override {
        std::string text = fillMessage(loadString(kUnableToLaunch, "Unable to launch \"%s\" task :\r\n%s"),
                                       {fieldText(task.name), command});
        MessageBeep(0xFFFFFFFF);
        MessageBoxA(nullptr, text.c_str(), kProductName, MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
    }

    void showMessage(const char* text) override {
        MessageBoxA(nullptr, text, kProductName, MB_OK | MB_ICONINFORMATION | MB_TOPMOST | MB_SETFOREGROUND);
    }

    void reportScheduleError(ScheduleError, const char*, std::uint32_t) override {}
};

// Outlives every thread it serves: local message displays run detached.
TerminalActions& terminalActions() {
    static TerminalActions* actions = new TerminalActions;
    return *actions;
}

}  // namespace

std::string runNowHistory(const char* scheduleFile, bool userSchedule) {
    if (!readExecutorSettings(userSchedule ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE).history)
        return std::string();
    return historyFileOf(scheduleFile);
}

bool startRunNow(const TaskRecord& task, const std::string& history) {
    const RunNowLaunch run = runNowLaunch(task, SystemClock().now(), history);
    return startLaunchThread(run.request, terminalActions(), run.options);
}

void recordRunNowsStillRunning() { runHistory().recordStillRunning(SystemClock().now()); }

}  // namespace kzo
