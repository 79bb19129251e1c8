#include "scheduler_control.h"

#include "autostart_entry.h"
#include "blanks.h"
#include "expand_env.h"
#include "launchers.h"
#include "main_frame.h"
#include "message_text.h"
#include "product_names.h"
#include "registry_values.h"
#include "resource.h"
#include "scheduler_settings.h"
#include "string_table.h"
#include "suite_names.h"
#include "system_error.h"
#include "terminal_boxes.h"
#include "win_handles.h"
#include "windows_platform.h"

namespace kzo {

namespace {

constexpr int kNotifyAttempts = 3;

HKEY schedulerRoot(bool systemSchedule) { return systemSchedule ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

bool systemShown(const CMainFrame& frame) { return !frame.userScheduleShown(); }

bool mutexExists(const char* name) {
    UniqueHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, name));
    return static_cast<bool>(mutex);
}

// The service with these rights; 0 or the error of the failed step.
std::uint32_t openService(DWORD rights, UniqueService& service) {
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return lastErrorOr(ERROR_ACCESS_DENIED);
    service.reset(OpenServiceA(manager.get(), kServiceName, rights));
    return service ? 0 : lastErrorOr(ERROR_SERVICE_DOES_NOT_EXIST);
}

std::uint32_t startService() {
    UniqueService service;
    if (std::uint32_t error = openService(SERVICE_START, service)) return error;
    return StartServiceA(service.get(), 0, nullptr) ? 0 : lastErrorOr(ERROR_SERVICE_REQUEST_TIMEOUT);
}

std::uint32_t stopService() {
    UniqueService service;
    if (std::uint32_t error = openService(SERVICE_STOP, service)) return error;
    SERVICE_STATUS status = {};
    return ControlService(service.get(), SERVICE_CONTROL_STOP, &status) ? 0
                                                                         : lastErrorOr(ERROR_SERVICE_NOT_ACTIVE);
}

// The shown scheduler's log file expanded; empty (after a beep) when none is set.
std::string expandedLogFile(CMainFrame& frame) {
    std::string log = shownLogFile(frame);
    if (log.empty()) {
        MessageBeep(0xFFFFFFFF);
        return log;
    }
    char expanded[kExpandedSize];
    expandEnvironment(log.c_str(), expanded);
    return expanded;
}

}  // namespace

ExecutorRoute executorRoute(bool systemSchedule) {
    return systemSchedule && isWindowsNt() ? ExecutorRoute::Service : ExecutorRoute::TrayProgram;
}

bool schedulerActive(bool systemSchedule) {
    UniqueKey key;
    if (RegOpenKeyExA(schedulerRoot(systemSchedule), kSchedulerKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return true;
    return readFlag(key.get(), "Active", true);
}

bool schedulerRunning(bool systemSchedule) {
    if (!systemSchedule) return mutexExists(kUserMutex);
    return mutexExists(kSystemMutex) || mutexExists(kSystemServiceMutex);
}

bool notifyExecutors(UINT message, WPARAM wParam) {
    bool foundFirst = false;
    for (int attempt = 0; attempt < kNotifyAttempts; ++attempt) {
        bool found = false;
        bool allSent = true;
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, kExecutorClass, kExecutorTitle)) != nullptr) {
            found = true;
            if (!SendNotifyMessageA(window, message, wParam, 0)) allSent = false;
        }
        if (attempt == 0) foundFirst = found;
        if (!found || allSent) break;
    }
    return foundFirst;
}

void startScheduler(CMainFrame& frame) {
    const bool system = systemShown(frame);
    if (!confirm(frame.hwnd(), loadString(system ? IDS_ASK_START_SYSTEM : IDS_ASK_START_USER),
                 frame.confirmations(), kConfirmStart))
        return;
    if (executorRoute(system) == ExecutorRoute::Service) {
        if (std::uint32_t error = startService())
            showError(frame.hwnd(), fillMessage(loadString(IDS_START_SERVICE_FAILED), {systemErrorText(error)}));
        return;
    }
    // The path is quoted: the Terminal's folder may hold blanks.
    std::string command = executorCommandLine(frame.programFolder(), system);
    if (launchApplication(command.c_str(), kCurrentFolder, "", 0, 0, false) != 0)
        showError(frame.hwnd(), loadString(IDS_START_USER_FAILED));
}

void stopScheduler(CMainFrame& frame) {
    const bool system = systemShown(frame);
    if (!confirm(frame.hwnd(), loadString(system ? IDS_ASK_STOP_SYSTEM : IDS_ASK_STOP_USER), frame.confirmations(),
                 kConfirmStop))
        return;
    if (executorRoute(system) == ExecutorRoute::Service) {
        if (std::uint32_t error = stopService())
            showError(frame.hwnd(), fillMessage(loadString(IDS_STOP_SERVICE_FAILED), {systemErrorText(error)}));
        return;
    }
    // The window alone does not tell which scheduler it belongs to: a User
    // Scheduler's window would make a stop of the absent System Scheduler look
    // done. The mutex tells.
    if (!schedulerRunning(system) || !notifyExecutors(kStopMessage, system ? 1 : 0))
        showError(frame.hwnd(), loadString(IDS_STOP_NOT_RUNNING));
}

void toggleActive(CMainFrame& frame) {
    const bool system = systemShown(frame);
    const bool active = !schedulerActive(system);
    if (writeActive(schedulerRoot(system), active) != 0) return;
    if (!system) notifyExecutors(kSetActiveMessage, active ? 0 : 1);
}

std::string shownLogFile(CMainFrame& frame) {
    const TerminalSettings& s = frame.settings();
    return trimBlanks(frame.userScheduleShown() ? s.userLog : s.sysLog);
}

bool shownLogging(CMainFrame& frame) {
    const TerminalSettings& s = frame.settings();
    return frame.userScheduleShown() ? s.userLogF : s.sysLogF;
}

void viewLogfile(CMainFrame& frame) {
    std::string log = expandedLogFile(frame);
    if (log.empty()) return;
    std::string command = "notepad.exe \"" + log + "\"";
    if (launchApplication(command.c_str(), kCurrentFolder, "", 0, 0, false) != 0)
        showError(frame.hwnd(), loadString(IDS_SHOW_LOG_FAILED));
}

void clearLogfile(CMainFrame& frame) {
    std::string log = expandedLogFile(frame);
    if (log.empty()) return;
    const bool system = systemShown(frame);
    if (!confirm(frame.hwnd(), loadString(system ? IDS_ASK_CLEAR_SYSTEM_LOG : IDS_ASK_CLEAR_USER_LOG),
                 frame.confirmations(), kConfirmClearLog))
        return;
    if (!DeleteFileA(log.c_str())) {
        std::uint32_t error = lastErrorOr(ERROR_ACCESS_DENIED);
        showError(frame.hwnd(), fillMessage(loadString(IDS_CLEAR_LOG_FAILED), {log, systemErrorText(error)}));
    }
}

}  // namespace kzo
