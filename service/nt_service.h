// The frame of a Windows NT service: its status record and the reports to the
// service control manager, the service main routine, the control handler, the
// service loop with its message loop, and the console mode in which the same
// loop runs as an ordinary program. One service object per process; the entry
// points that Windows calls reach it through a process-wide holder.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "application_log.h"
#include "critical_section.h"

namespace kzo {

// The service control manager's side of the status: the registration of the
// control handler and the status reports. One real implementation and the
// tests' recorder.
class ServiceStatusSink {
public:
    virtual ~ServiceStatusSink() = default;
    // Registers NtService::controlEntry as the control handler of the named
    // service. Returns 0 or the Windows error code.
    virtual std::uint32_t registerHandler(const char* name) = 0;
    virtual void report(const SERVICE_STATUS& status) = 0;
};

// RegisterServiceCtrlHandlerA and SetServiceStatus.
class ScmStatusSink final : public ServiceStatusSink {
public:
    std::uint32_t registerHandler(const char* name) override;
    void report(const SERVICE_STATUS& status) override;

private:
    SERVICE_STATUS_HANDLE handle_ = nullptr;
};

class NtService {
public:
    NtService(ApplicationLog& log, ServiceStatusSink& sink);
    virtual ~NtService();
    NtService(const NtService&) = delete;
    NtService& operator=(const NtService&) = delete;

    // The process's service object, or nullptr.
    static NtService* current();

    // Sets the service name; the object then runs as a service and its status
    // is SERVICE_STOPPED.
    void setName(const std::string& name);
    const std::string& name() const { return name_; }
    // Cleared for the console mode and the install and removal paths.
    void setRunningAsService(bool running) { runningAsService_ = running; }
    bool runningAsService() const { return runningAsService_; }
    SERVICE_STATUS status() const;

    // Hands the calling thread to the service control dispatcher and returns
    // when the service has stopped. False when the dispatcher cannot be
    // reached (a start from a console: 1063); the object then no longer runs
    // as a service.
    bool runDispatcher();

    // The service main routine: registers the control handler, reports
    // START_PENDING, runs the service loop and reports STOPPED.
    void serviceMain();

    // The service loop on the calling thread: start, RUNNING, a message loop
    // until WM_QUIT, STOP_PENDING, stop. A failed start (negative status) is
    // logged and leaves exit code 1066 with the status as the service-specific
    // code. Without the service control manager it installs the console
    // control handler instead of reporting.
    void runLoop();

    // The control handler: stop, pause, continue; interrogate and shutdown do
    // nothing; any other code gives the information entry "Bad service
    // request.". Ignored when not running as a service. Pause and continue
    // calls never interleave, and none is honoured once the stop has begun.
    void control(DWORD code);

    // A console event (console mode): ends the message loop.
    void consoleEvent(DWORD event);

    // Entry points that Windows calls; they route to current() and never let
    // an exception through.
    static void WINAPI serviceMainEntry(DWORD argc, LPSTR* argv);
    static void WINAPI controlEntry(DWORD code);
    static BOOL WINAPI consoleEntry(DWORD event);

protected:
    // The service's operations. start returns a status: 0 or more is success,
    // negative a failure (an HRESULT). stop runs after the message loop ends.
    virtual int onStart() { return 0; }
    virtual void onStop() {}
    virtual void onPause() {}
    virtual void onContinue() {}

    ApplicationLog& log() { return log_; }

private:
    void report(DWORD state);
    void reportRunningAfterStart();
    void postQuit();

    ApplicationLog& log_;
    ServiceStatusSink& sink_;
    std::string name_;
    std::atomic<bool> runningAsService_{false};
    std::atomic<DWORD> mainThreadId_{0};
    std::atomic<bool> stopping_{false};
    mutable CriticalSection statusSection_;
    SERVICE_STATUS status_{};
    // Serialises the pause and continue sequences of the control manager's
    // thread and of the time-control loop.
    CriticalSection controlSection_;
};

}  // namespace kzo
