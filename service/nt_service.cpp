#include "nt_service.h"

#include <cassert>

namespace kzo {

namespace {

std::atomic<NtService*> currentService{nullptr};

constexpr DWORD kAcceptedControls = SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;

}  // namespace

std::uint32_t ScmStatusSink::registerHandler(const char* name) {
    handle_ = RegisterServiceCtrlHandlerA(name, NtService::controlEntry);
    return handle_ ? 0 : GetLastError();
}

void ScmStatusSink::report(const SERVICE_STATUS& status) {
    SERVICE_STATUS copy = status;
    if (handle_) SetServiceStatus(handle_, &copy);
}

NtService::NtService(ApplicationLog& log, ServiceStatusSink& sink) : log_(log), sink_(sink) {
    NtService* none = nullptr;
    bool first = currentService.compare_exchange_strong(none, this);
    assert(first && "one service object per process");
    (void)first;
}

NtService::~NtService() {
    NtService* self = this;
    currentService.compare_exchange_strong(self, nullptr);
}

NtService* NtService::current() { return currentService.load(); }

void NtService::setName(const std::string& name) {
    name_ = name;
    runningAsService_ = true;
    SectionLock lock(statusSection_);
    status_ = SERVICE_STATUS{};
    status_.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status_.dwCurrentState = SERVICE_STOPPED;
    status_.dwControlsAccepted = kAcceptedControls;
}

SERVICE_STATUS NtService::status() const {
    SectionLock lock(statusSection_);
    return status_;
}

void NtService::report(DWORD state) {
    SectionLock lock(statusSection_);
    status_.dwCurrentState = state;
    sink_.report(status_);
}

void NtService::reportRunningAfterStart() {
    // A pass started by the start may already have paused the service (Active
    // was 0): that state stands.
    SectionLock lock(statusSection_);
    if (status_.dwCurrentState != SERVICE_START_PENDING) return;
    status_.dwCurrentState = SERVICE_RUNNING;
    sink_.report(status_);
}

bool NtService::runDispatcher() {
    SERVICE_TABLE_ENTRYA table[] = {{&name_[0], serviceMainEntry}, {nullptr, nullptr}};
    if (StartServiceCtrlDispatcherA(table)) return true;
    runningAsService_ = false;
    return false;
}

void NtService::serviceMain() {
    {
        SectionLock lock(statusSection_);
        status_.dwCurrentState = SERVICE_START_PENDING;
    }
    std::uint32_t error = sink_.registerHandler(name_.c_str());
    if (error != 0) {
        log_.write(EVENTLOG_ERROR_TYPE,
                   "Service control handler failed to be installed, error code = %d",
                   static_cast<int>(error));
        return;
    }
    report(SERVICE_START_PENDING);
    {
        SectionLock lock(statusSection_);
        status_.dwWin32ExitCode = 0;
        status_.dwCheckPoint = 0;
        status_.dwWaitHint = 0;
    }
    runLoop();
    report(SERVICE_STOPPED);
}

void NtService::runLoop() {
    mainThreadId_ = GetCurrentThreadId();
    stopping_ = false;
    // The thread's message queue exists before any handler posts WM_QUIT to it.
    MSG message;
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    int result = onStart();
    if (result < 0) {
        log_.write(EVENTLOG_ERROR_TYPE, "Service startup failure: 0x%x", static_cast<unsigned>(result));
        if (runningAsService_) report(SERVICE_STOP_PENDING);
        SectionLock lock(statusSection_);
        status_.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        status_.dwServiceSpecificExitCode = static_cast<DWORD>(result);
        return;
    }
    const bool service = runningAsService_;
    if (service)
        reportRunningAfterStart();
    else
        SetConsoleCtrlHandler(consoleEntry, TRUE);

    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);

    if (service) {
        SectionLock lock(controlSection_);
        stopping_ = true;
        report(SERVICE_STOP_PENDING);
    } else {
        SetConsoleCtrlHandler(consoleEntry, FALSE);
    }
    onStop();
}

void NtService::postQuit() { PostThreadMessageA(mainThreadId_, WM_QUIT, 0, 0); }

void NtService::control(DWORD code) {
    if (!runningAsService_) return;
    switch (code) {
        case SERVICE_CONTROL_STOP:
            postQuit();
            break;
        case SERVICE_CONTROL_PAUSE: {
            SectionLock lock(controlSection_);
            if (stopping_) break;
            report(SERVICE_PAUSE_PENDING);
            onPause();
            report(SERVICE_PAUSED);
            break;
        }
        case SERVICE_CONTROL_CONTINUE: {
            SectionLock lock(controlSection_);
            if (stopping_) break;
            report(SERVICE_CONTINUE_PENDING);
            onContinue();
            report(SERVICE_RUNNING);
            break;
        }
        case SERVICE_CONTROL_INTERROGATE:
        case SERVICE_CONTROL_SHUTDOWN:
            break;
        default:
            log_.write(EVENTLOG_INFORMATION_TYPE, "%s", "Bad service request.");
            break;
    }
}

void NtService::consoleEvent(DWORD) { postQuit(); }

void WINAPI NtService::serviceMainEntry(DWORD, LPSTR*) {
    try {
        if (NtService* service = current()) service->serviceMain();
    } catch (...) {
    }
}

void WINAPI NtService::controlEntry(DWORD code) {
    try {
        if (NtService* service = current()) service->control(code);
    } catch (...) {
    }
}

BOOL WINAPI NtService::consoleEntry(DWORD event) {
    try {
        if (NtService* service = current()) service->consoleEvent(event);
    } catch (...) {
    }
    return TRUE;
}

}  // namespace kzo
