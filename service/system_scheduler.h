// The System Scheduler as an NT service: a single instance per machine (the
// mutex "KZOMutexSysNT"), the time-control loop on the machine's settings, and
// the "Active" setting written by pause, continue and stop. The loop pauses or
// continues the service itself when it finds "Active" changed elsewhere.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "clock.h"
#include "nt_service.h"
#include "platform_actions.h"
#include "scheduler_settings.h"
#include "service_names.h"
#include "time_control_loop.h"
#include "win_handles.h"

namespace kzo {

// Result codes of the engine's start.
constexpr int kEngineStarted = 0;
constexpr int kEngineThreadFailed = 3;
constexpr int kEngineNoSchedule = 4;

struct SystemSchedulerConfig {
    HKEY settingsRoot = HKEY_LOCAL_MACHINE;
    std::string settingsKey = kSchedulerKey;
    std::string updateEventName = kSystemUpdateEvent;
    std::string mutexName = kSystemMutexName;
    // Called with the settings each time they are read (at start and by every
    // pass): the presentation follows TopMost.
    std::function<void(const SchedulerSettings&)> settingsRead;
};

class SystemScheduler : public NtService {
public:
    SystemScheduler(ApplicationLog& log, ServiceStatusSink& sink, Clock& clock,
                    PlatformActions& actions, SystemSchedulerConfig config = SystemSchedulerConfig());
    ~SystemScheduler() override;

    // The engine's start: Active 1 in memory, the settings read; without a
    // schedule file kEngineNoSchedule (7518 logged), without a loop thread
    // kEngineThreadFailed (7513 logged), else kEngineStarted.
    int startEngine();

    // The Active value the service holds, stored at stop.
    bool active() const { return active_; }
    TimeControlLoop& loop() { return loop_; }

protected:
    // The mutex, then the engine; E_FAIL when either fails. With Active 0 the
    // service starts paused.
    int onStart() override;
    // Stops the loop (a write-back in progress finishes first), writes the
    // programs still running into the run history, then stores Active.
    void onStop() override;
    void onPause() override;
    void onContinue() override;

private:
    void settingsRead(const SchedulerSettings& settings);
    void storeActive();

    SystemSchedulerConfig config_;
    Clock& clock_;
    PlatformActions& actions_;
    TimeControlLoop loop_;
    UniqueHandle mutex_;
    std::atomic<bool> active_{true};
};

}  // namespace kzo
