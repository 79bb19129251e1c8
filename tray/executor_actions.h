// The Executor's platform actions: everything real from Win32Actions, with the
// Executor's own presentation. Prompts and Message tasks open the prompt
// dialogs; launch failures and schedule-file trouble open message boxes with
// the error caption. Called from the loop thread and from launch threads.
#pragma once

#include <string>

#include "win32_actions.h"

namespace kzo {

class ExecutorActions : public Win32Actions {
public:
    // terminalPath: the Terminal that a schedule file of the wrong size offers
    // to start (executor_command_line.h).
    explicit ExecutorActions(std::string terminalPath);

    // The Warning dialog with "It's time to execute \"<name>\" task :\n<command>
    // \n\nRun it ?" (7515). True unless the answer is No.
    bool confirmLaunch(const TaskRecord& task, const char* command) override;
    // "Unable to execute \"<name>\" task :\n<command>\n<system text>" (7516) in
    // an error box.
    void showLaunchError(const TaskRecord& task, const char* command,
                         std::uint32_t error) override;
    // The Message dialog.
    void showMessage(const char* text) override;
    // 7505 and 7506 with the file name and the system text in an error box;
    // 7507 asks Yes / No, and Yes starts the Terminal to convert the file.
    void reportScheduleError(ScheduleError error, const char* fileName,
                             std::uint32_t code) override;

private:
    std::string terminalPath_;
};

}  // namespace kzo
