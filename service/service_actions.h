// How the System Executor service presents the engine's prompts and reports:
// message boxes without owner, shown on the interactive desktop as service
// notifications, and an error entry in the application event log for every
// report.
#pragma once

#include <atomic>
#include <functional>

#include "application_log.h"
#include "scheduler_settings.h"
#include "win32_actions.h"

namespace kzo {

// Shows a box without owner: MessageBoxA's text, caption and style, and its
// answer.
using MessageBoxFunction = std::function<int(const char* text, const char* caption, UINT style)>;
int systemMessageBox(const char* text, const char* caption, UINT style);

class ServiceActions : public Win32Actions {
public:
    explicit ServiceActions(ApplicationLog& log, MessageBoxFunction messageBox = systemMessageBox)
        : log_(log), messageBox_(std::move(messageBox)) {}

    // The boxes follow the TopMost setting of the last settings read.
    void settingsRead(const SchedulerSettings& settings) { topMost_ = settings.topMost; }

    // "It's time to execute :\n<command>\n\nRun it ?" after the default beep;
    // Yes and No.
    bool confirmLaunch(const TaskRecord& task, const char* command) override;
    // "Unable to execute :\n<command>\n<system text>": an error entry, then an
    // error box.
    void showLaunchError(const TaskRecord& task, const char* command, std::uint32_t error) override;
    // A Message task's text: a topmost information box, not a service
    // notification.
    void showMessage(const char* text) override;
    // Schedule-file trouble: an error entry, then an error box.
    void reportScheduleError(ScheduleError error, const char* fileName, std::uint32_t code) override;

private:
    UINT boxFlags(UINT style) const;

    ApplicationLog& log_;
    MessageBoxFunction messageBox_;
    std::atomic<bool> topMost_{true};
};

}  // namespace kzo
