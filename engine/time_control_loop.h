// The time-control loop: the heart of both executors. About one second after
// every full minute a pass re-reads the settings, reloads the schedule file when
// due or asked to, launches the due tasks, writes their stamps back into the
// file and appends the log.
//
// A pass is a function of its launch time (passAt), so tests run any minute
// directly; the loop thread and the immediate-pass thread only decide when.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "clock.h"
#include "critical_section.h"
#include "due_rule.h"
#include "pass_timing.h"
#include "platform_actions.h"
#include "schedule_store.h"
#include "scheduler_settings.h"
#include "win_handles.h"

namespace kzo {

constexpr const char* kUserUpdateEvent = "KZO_SCHEDULER_5_USR_UPDATE_EVENT";
constexpr const char* kSystemUpdateEvent = "KZO_SCHEDULER_5_SYS_UPDATE_EVENT";

// Result codes of start().
constexpr int kLoopStarted = 0;
constexpr int kLoopThreadFailed = 3;

struct LoopConfig {
    SchedulerRole role = SchedulerRole::User;
    HKEY settingsRoot = HKEY_CURRENT_USER;
    std::string settingsKey = kSchedulerKey;
    std::string updateEventName = kUserUpdateEvent;
    // Service only: called when a pass finds "Active" changed since the previous
    // pass (true = continue, false = pause), so the service status follows it.
    std::function<void(bool active)> activeChanged;
    // Called with the settings each time a pass has read them.
    std::function<void(const SchedulerSettings&)> settingsRead;
};

class TimeControlLoop {
public:
    TimeControlLoop(LoopConfig config, Clock& clock, PlatformActions& actions);
    ~TimeControlLoop();
    TimeControlLoop(const TimeControlLoop&) = delete;
    TimeControlLoop& operator=(const TimeControlLoop&) = delete;

    // Sets the reload request and the first pass, creates (or opens) the update
    // event, starts the loop thread and the immediate-pass thread. Returns
    // kLoopStarted, or kLoopThreadFailed when the loop thread cannot be created.
    int start();

    // Stops the loop: the threads end at their next wait; a thread held up by a
    // report box is ended, but only outside its file work, so a pass's
    // launches are always written back (bounded wait). Then the update event
    // is closed. Launch threads already started run on. Safe to call twice.
    void stop();

    // One pass at the clock's time; at a given local time; and at a given
    // local time with the system time in UTC read with it, which lets the pass
    // tell the clock's daylight saving changes (daylight_saving.h) from a clock
    // set by hand or a wake from sleep.
    void pass();
    void passAt(const LaunchTime& now);
    void passAt(const LaunchTime& now, const LaunchTime& utc);

    // --- State, for the executors and the tests --------------------------------
    bool firstPass() const { return firstPass_; }
    bool reloadRequested() const { return reloadRequest_; }
    // Hour * 60 + minute of the last completed pass, or -1.
    int lastPassMinute() const { return lastPassMinute_; }
    int reloadCount() const { return reloadCount_; }
    const ScheduleStore& passStore() const { return passStore_; }
    // Sets the state a start() sets, without the threads.
    void prepare();

private:
    static DWORD WINAPI loopThreadEntry(void* self);
    static DWORD WINAPI immediatePassEntry(void* self);
    void endThread(UniqueHandle& thread);
    void loopThread();
    void guardedPass(const ClockReading& reading);
    void immediatePassThread();
    void runPass(const LaunchTime& now, const LaunchTime* utc);
    PassDaylight readDaylight(const LaunchTime& now, const LaunchTime* utc);
    bool reload(const LaunchTime& now);
    DueContext dueContext(const LaunchTime& now);
    int launchDue(const LaunchTime& now, const PassDaylight& daylight);
    void soundRequest(bool requested);
    bool stopRequested() const;

    LoopConfig config_;
    Clock& clock_;
    PlatformActions& actions_;

    SchedulerSettings settings_;
    ScheduleStore passStore_;
    ScheduleStore writeBackStore_;  // the second store of the write-backs, memory reused
    bool reloadRequest_ = false;
    bool firstPass_ = false;
    int lastPassMinute_ = -1;
    bool previousActive_ = false;
    int reloadCount_ = 0;

    // Daylight saving time: the zone's rule read by the last pass, that pass's
    // clock reading, and the tasks launched in the second pass of the hour the
    // last autumn change repeated (their cycles count from that pass).
    ZoneRule zone_;
    ClockReading previousReading_{};
    bool hasPreviousReading_ = false;
    std::vector<std::string> secondPassRuns_;

    // Passes of the two pass threads never overlap: a pass held up by a report
    // box makes the next one wait instead of sharing the pass store.
    CriticalSection passSection_;
    // Taken for the file work of a pass, so stop() never ends a thread inside it.
    UniqueHandle fileSection_;
    UniqueHandle updateEvent_;
    UniqueHandle stopEvent_;
    UniqueHandle loopThread_;
    UniqueHandle immediateThread_;
    std::atomic<bool> loopGuard_{false};
};

}  // namespace kzo
