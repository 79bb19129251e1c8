#include "service_actions.h"

#include "message_text.h"
#include "resource.h"
#include "service_names.h"
#include "string_table.h"
#include "system_error.h"

namespace kzo {

namespace {

// A format of the service's string table filled with its texts, bounded like
// the message buffers.
std::string serviceText(const std::string& format, const std::string& first,
                        const std::string& second = std::string()) {
    return fillMessage(format, {first, second}, kMessageTextLength, systemLeadByte);
}

}  // namespace

int systemMessageBox(const char* text, const char* caption, UINT style) {
    return MessageBoxA(nullptr, text, caption, style);
}

UINT ServiceActions::boxFlags(UINT style) const {
    return style | MB_SERVICE_NOTIFICATION | (topMost_ ? MB_TOPMOST : 0);
}

bool ServiceActions::confirmLaunch(const TaskRecord&, const char* command) {
    std::string text = serviceText(loadString(IDS_PROMPT, std::string(), FORMAT_LENGTH), command);
    beep();
    return messageBox_(text.c_str(), kProductName, boxFlags(MB_YESNO | MB_ICONINFORMATION)) !=
           IDNO;
}

void ServiceActions::showLaunchError(const TaskRecord&, const char* command, std::uint32_t error) {
    std::string text = serviceText(loadString(IDS_LAUNCH_ERROR, std::string(), FORMAT_LENGTH), command,
                                  systemErrorText(error));
    log_.error(text);
    messageBox_(text.c_str(), kProductName, boxFlags(MB_ICONERROR));
}

void ServiceActions::showMessage(const char* text) {
    messageBox_(text, kProductName, MB_TOPMOST | MB_ICONINFORMATION);
}

void ServiceActions::reportScheduleError(ScheduleError error, const char* fileName,
                                         std::uint32_t code) {
    std::string text;
    std::string caption = kProductName;
    switch (error) {
        case ScheduleError::OpenFailed:
            text = serviceText(loadString(IDS_OPEN_FAILED), fileName, systemErrorText(code));
            break;
        case ScheduleError::ReadFailed:
            text = serviceText(loadString(IDS_READ_FAILED), fileName, systemErrorText(code));
            break;
        case ScheduleError::BadSize:
            text = serviceText(loadString(IDS_BAD_SIZE), fileName);
            caption = loadString(IDS_ERROR_CAPTION, kProductName);
            break;
    }
    log_.error(text);
    messageBox_(text.c_str(), caption.c_str(), boxFlags(MB_ICONERROR));
}

}  // namespace kzo
