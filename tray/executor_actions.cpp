#include "executor_actions.h"

#include <utility>

#include "executor_boxes.h"
#include "message_text.h"
#include "prompt_dialog.h"
#include "resource.h"
#include "string_table.h"
#include "system_error.h"
#include "terminal_start.h"

namespace kzo {

namespace {

// The formats of a launch are loaded with a limit of 128 characters.
constexpr int kLaunchFormatLength = 128;

std::string launchFormat(unsigned id) { return loadString(id, std::string(), kLaunchFormatLength); }

std::string filled(const std::string& format, std::initializer_list<std::string_view> values) {
    return fillMessage(format, values, kMessageTextLength, systemLeadByte);
}

}  // namespace

ExecutorActions::ExecutorActions(std::string terminalPath)
    : terminalPath_(std::move(terminalPath)) {}

bool ExecutorActions::confirmLaunch(const TaskRecord& task, const char* command) {
    std::string text = filled(launchFormat(IDS_LAUNCH_PROMPT), {fieldText(task.name), command});
    return showPrompt(nullptr, text.c_str(), PromptKind::Warning) != IDNO;
}

void ExecutorActions::showLaunchError(const TaskRecord& task, const char* command,
                                      std::uint32_t error) {
    std::string text = filled(launchFormat(IDS_LAUNCH_ERROR),
                              {fieldText(task.name), command, systemErrorText(error)});
    showExecutorBox(text, errorCaption(), MB_OK | MB_ICONERROR);
}

void ExecutorActions::showMessage(const char* text) {
    showPrompt(nullptr, text, PromptKind::Message);
}

void ExecutorActions::reportScheduleError(ScheduleError error, const char* fileName,
                                          std::uint32_t code) {
    switch (error) {
        case ScheduleError::OpenFailed:
            showExecutorBox(filled(executorText(IDS_SCHEDULE_OPEN), {fileName, systemErrorText(code)}),
                            errorCaption(), MB_OK | MB_ICONERROR);
            return;
        case ScheduleError::ReadFailed:
            showExecutorBox(filled(executorText(IDS_SCHEDULE_READ), {fileName, systemErrorText(code)}),
                            errorCaption(), MB_OK | MB_ICONERROR);
            return;
        case ScheduleError::BadSize:
            if (showExecutorBox(filled(executorText(IDS_SCHEDULE_SIZE), {fileName}), errorCaption(),
                                MB_YESNO | MB_ICONERROR) == IDYES)
                openTerminal(terminalPath_);
            return;
    }
}

}  // namespace kzo
