#include "executor.h"

#include "executor_boxes.h"
#include "executor_command_line.h"
#include "launchers.h"
#include "product_names.h"
#include "prompt_state.h"
#include "resource.h"
#include "run_history.h"
#include "service_process.h"
#include "terminal_start.h"
#include "tray_menu.h"

namespace kzo {

namespace {

// How long a user start without a schedule file leaves the Terminal to choose
// one before the loop starts.
constexpr DWORD kChooseScheduleMs = 60000;
constexpr UINT_PTR kIconRetryTimer = 1;
constexpr UINT kIconRetryMs = 2000;

constexpr const char* kFatalCaption = "KZO Scheduler : Fatal Error";
constexpr const char* kAboutCaption = "About";
constexpr const char* kVersionLine = "KZO Scheduler, Version 6.30, Build 677.";
constexpr const char* kHtmlHelpPage = "\\kzo.chm::/General.htm";
constexpr const char* kWinHelpFile = "\\kzo.hlp";

void beep() { MessageBeep(0xFFFFFFFF); }

}  // namespace

Executor::Executor(HINSTANCE instance) : instance_(instance) {}

int Executor::run(const char* arguments) {
    std::optional<int> exitCode = startUp(arguments ? arguments : "");
    if (failure_) std::rethrow_exception(failure_);
    return exitCode ? *exitCode : messageLoop();
}

std::optional<int> Executor::startUp(const char* arguments) {
    resetPromptState();

    window_ = createExecutorWindow(instance_, *this);
    if (!window_) return kExitNormal;

    systemMode_ = isSystemModeArgument(arguments);

    active_ = true;
    if (anotherInstanceRuns()) {
        beep();
        showExecutorBox(executorText(systemMode_ ? IDS_SYSTEM_RUNNING : IDS_USER_RUNNING), kProductName,
                        MB_OK | MB_ICONINFORMATION);
        return kExitFailed;
    }

    terminalPath_ = terminalPathFrom(GetCommandLineA());
    readSettings();
    if (settings_.dat.empty()) {
        if (std::optional<int> ended = waitForSchedule()) return ended;
    }

    activePicture_ = std::make_unique<TrayPicture>(IDI_TRAY_ACTIVE);
    inactivePicture_ = std::make_unique<TrayPicture>(IDI_TRAY_INACTIVE);

    if (!startLoop()) {
        beep();
        showExecutorBox(executorText(IDS_NO_LOOP_THREAD), kFatalCaption, MB_OK | MB_ICONERROR);
        return kExitFailed;
    }

    trayIcon_ = std::make_unique<TrayIcon>(window_);
    iconWanted_ = !systemMode_ && !settings_.noIcon;
    if (iconWanted_) showCurrentIcon();

    if (systemMode_) registerServiceProcess(true);

    HICON dialogIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_DIALOG));
    setPromptIcon(dialogIcon ? dialogIcon : LoadIconA(nullptr, IDI_WINLOGO));
    return std::nullopt;
}

// Creating the mutex is the test: two Executors started at the same moment
// cannot both find it missing. The mutex stays owned for the process's life.
bool Executor::anotherInstanceRuns() {
    mutex_.reset(CreateMutexA(nullptr, TRUE, systemMode_ ? kSystemMutex : kUserMutex));
    DWORD error = GetLastError();
    if (mutex_ && error != ERROR_ALREADY_EXISTS) return false;
    // Held by another instance, or by one under an account whose mutex this
    // process may not open.
    mutex_.reset();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

// Without a schedule file the System Scheduler ends; a User Scheduler starts
// the Terminal for the user to choose one and gives them the time to.
std::optional<int> Executor::waitForSchedule() {
    if (systemMode_) {
        reportError(executorText(IDS_NO_SYSTEM_SCHEDULE));
        return kExitFailed;
    }
    if (startTerminal(terminalPath_) != 0) {
        reportError(executorText(IDS_NO_USER_SCHEDULE));
        return kExitFailed;
    }
    return answerMessagesFor(kChooseScheduleMs);
}

// A wait that answers the window's messages: a close, Exit, the Terminal's
// stop or the end of the session during it ends the program as it would
// after it.
std::optional<int> Executor::answerMessagesFor(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message = {};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return std::nullopt;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

bool Executor::startLoop() {
    actions_ = std::make_unique<ExecutorActions>(terminalPath_);
    LoopConfig config;
    config.role = systemMode_ ? SchedulerRole::System : SchedulerRole::User;
    config.settingsRoot = settingsRoot();
    config.updateEventName = systemMode_ ? kSystemUpdateEvent : kUserUpdateEvent;
    // Passes read the settings on the loop thread: the prompts follow them.
    // Active stays with the window's thread, which reads it before each
    // command and hears of the Terminal's changes through message 32875.
    config.settingsRead = [](const SchedulerSettings& settings) {
        setPromptOptions(settings.topMost, settings.actDlg);
    };
    loop_ = std::make_unique<TimeControlLoop>(std::move(config), clock_, *actions_);
    return loop_->start() == kLoopStarted;
}

int Executor::messageLoop() {
    MSG message = {};
    int got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (failure_) std::rethrow_exception(failure_);
    return got == 0 ? static_cast<int>(message.wParam) : kExitFailed;
}

void Executor::readSettings() {
    settings_ = readExecutorSettings(settingsRoot());
    setPromptOptions(settings_.topMost, settings_.actDlg);
    active_ = settings_.active;
    if (iconWanted_) showCurrentIcon();
}

void Executor::showCurrentIcon() {
    if (!trayIcon_ || !activePicture_ || !inactivePicture_) return;
    trayIcon_->show(active_ ? *activePicture_ : *inactivePicture_);
    if (trayIcon_->shown())
        KillTimer(window_, kIconRetryTimer);
    else
        SetTimer(window_, kIconRetryTimer, kIconRetryMs, nullptr);
}

void Executor::setActive(bool active) {
    active_ = active;
    writeActive(settingsRoot(), active);  // a failure leaves the stored value as it was
    if (iconWanted_) showCurrentIcon();
}

void Executor::stop() {
    if (stopped_) return;
    stopped_ = true;
    // The stored value may have changed since this thread last read it (in
    // system mode nothing on this thread reads it after start-up): what is
    // stored is what the schedule's Active now is, never a stale copy that
    // would switch a deactivated schedule back on.
    readSettings();
    writeActive(settingsRoot(), active_);
    if (systemMode_) registerServiceProcess(false);
    // A pass in the middle of its write-back finishes it first.
    if (loop_) loop_->stop();
    // Programs still running are written as such; their threads are let go.
    runHistory().recordStillRunning(clock_.now());
    trayIcon_.reset();
    activePicture_.reset();
    inactivePicture_.reset();
    if (window_) {
        KillTimer(window_, kIconRetryTimer);
        DestroyWindow(window_);
    }
}

// --- Window messages -------------------------------------------------------------

void Executor::onTrayNotify(UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_RBUTTONDOWN:
            readSettings();
            showTrayMenu(window_, active_);
            return;
        case WM_LBUTTONDBLCLK:
            openTerminal(terminalPath_);
            return;
        default:
            return;
    }
}

void Executor::onSetActive(WPARAM inactive) {
    if (systemMode_) return;
    setActive(inactive == 0);
}

void Executor::onStopRequest(WPARAM mode) {
    if (mode != (systemMode_ ? 1u : 0u)) return;
    stop();
}

void Executor::onCommand(int id) {
    readSettings();
    switch (id) {
        case IDM_OPEN_TERMINAL: openTerminalCommand(); return;
        case IDM_ACTIVE: activeCommand(); return;
        case IDM_EXIT: exitCommand(); return;
        case IDM_ABOUT: aboutCommand(); return;
        case IDM_HELP: helpCommand(); return;
        default: return;
    }
}

void Executor::onExitMenuLoop() { SetForegroundWindow(window_); }

void Executor::onTimer(UINT_PTR id) {
    if (id == kIconRetryTimer && iconWanted_ && !stopped_) showCurrentIcon();
}

void Executor::onTaskbarCreated() {
    if (!trayIcon_ || !iconWanted_ || stopped_) return;
    trayIcon_->forget();
    showCurrentIcon();
}

void Executor::onClose() { stop(); }

void Executor::onDestroy() {
    window_ = nullptr;
    PostQuitMessage(kExitNormal);
}

void Executor::onFailure(std::exception_ptr failure) {
    if (!failure_) failure_ = failure;
    PostQuitMessage(kExitFailed);
}

// --- Menu commands -----------------------------------------------------------------

void Executor::openTerminalCommand() { openTerminal(terminalPath_); }

void Executor::activeCommand() { setActive(!active_); }

void Executor::exitCommand() { stop(); }

void Executor::aboutCommand() {
    if (startTerminal(terminalPath_, " /ABOUT") == 0) return;
    beep();
    showExecutorBox(kVersionLine, kAboutCaption, MB_OK | MB_ICONINFORMATION);
}

// HTML Help through hh (its result is not looked at), or WinHelp.
void Executor::helpCommand() {
    if (settings_.hlp) {
        std::string command = "hh " + quotedCommand(terminalFolderFile(terminalPath_, kHtmlHelpPage));
        launchApplication(command.c_str(), "", "", 0, 0, false);
        return;
    }
    std::string file = terminalFolderFile(terminalPath_, kWinHelpFile);
    if (!WinHelpA(window_, file.c_str(), HELP_CONTEXT, 0))
        reportError(executorText(IDS_HELP_FAILED));
}

}  // namespace kzo
