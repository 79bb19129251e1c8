// The Executor: the User Scheduler in the notification area, or with "/s" the
// System Scheduler of Windows 95/98/Me. It runs the time-control loop beside a
// hidden window that the Terminal and the tray icon talk to.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "clock.h"
#include "executor_actions.h"
#include "executor_window.h"
#include "scheduler_settings.h"
#include "time_control_loop.h"
#include "tray_icon.h"
#include "win_handles.h"

namespace kzo {

// Exit codes of the program.
constexpr int kExitNormal = 0;
constexpr int kExitFailed = 1;  // start-up failed, or an exception reached the top

class Executor final : public ExecutorWindowHandler {
public:
    explicit Executor(HINSTANCE instance);
    Executor(const Executor&) = delete;
    Executor& operator=(const Executor&) = delete;

    // Starts up with the program's arguments and runs the message loop until
    // the window is gone. Returns the exit code; an exception that a handler
    // threw comes out of here once the loop has ended.
    int run(const char* arguments);

    void onTrayNotify(UINT mouseMessage) override;
    void onSetActive(WPARAM inactive) override;
    void onStopRequest(WPARAM mode) override;
    void onCommand(int id) override;
    void onExitMenuLoop() override;
    void onTimer(UINT_PTR id) override;
    void onTaskbarCreated() override;
    void onClose() override;
    void onDestroy() override;
    void onFailure(std::exception_ptr failure) override;

private:
    // The start-up sequence; an exit code when it ends the program.
    std::optional<int> startUp(const char* arguments);
    bool anotherInstanceRuns();
    std::optional<int> waitForSchedule();
    // Dispatches messages for ms milliseconds: the exit code of a WM_QUIT
    // that came meanwhile, else nothing.
    std::optional<int> answerMessagesFor(DWORD ms);
    bool startLoop();
    int messageLoop();

public:
    // Stores Active, ends the loop, writes the programs still running into the
    // run history, removes the icon and destroys the window (which ends the
    // message loop). Once per process; also after a failure.
    void stop();

private:

    HKEY settingsRoot() const { return systemMode_ ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
    // Re-reads the settings: Active, the prompt options and the icon follow them.
    void readSettings();
    void setActive(bool active);
    // Shows the icon of the current Active state; while the notification area
    // refuses it (not there yet at logon), a timer tries again.
    void showCurrentIcon();
    void openTerminalCommand();
    void activeCommand();
    void exitCommand();
    void aboutCommand();
    void helpCommand();

    HINSTANCE instance_;
    bool systemMode_ = false;
    // The Active flag, kept by the window's thread.
    bool active_ = true;
    SchedulerSettings settings_;
    std::string terminalPath_;
    HWND window_ = nullptr;
    UniqueHandle mutex_;
    std::unique_ptr<TrayPicture> activePicture_;
    std::unique_ptr<TrayPicture> inactivePicture_;
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<ExecutorActions> actions_;
    SystemClock clock_;
    std::unique_ptr<TimeControlLoop> loop_;
    bool iconWanted_ = false;  // user mode without NoIcon
    bool stopped_ = false;
    std::exception_ptr failure_;
};

}  // namespace kzo
