#include "time_control_loop.h"

#include <algorithm>

#include "execution_log.h"
#include "expand_env.h"
#include "launch_stamp.h"
#include "run_event.h"
#include "write_back.h"

namespace kzo {

namespace {

// How long stop() waits for a pass to finish its file work: an open with all
// its retries takes about two seconds, a large file's rewrite a few more.
constexpr DWORD kStopWaitMs = 15000;
// How long a thread told to stop is given to leave by itself.
constexpr DWORD kLeaveWaitMs = 500;
constexpr std::uint32_t kPauseAfterLaunchMs = 2000;

int minuteOfDay(const LaunchTime& t) { return t.hour * 60 + t.minute; }

// The minute with its date, so that no two minutes of different days are taken
// for one.
std::int64_t minuteKey(const LaunchTime& t) {
    std::int64_t days = (static_cast<std::int64_t>(t.year) * 13 + t.month) * 32 + t.day;
    return days * 1440 + minuteOfDay(t);
}

// Holds the loop's file section: the schedule file's reload, and a pass's
// launches with their write-back and log lines.
class FileSection {
public:
    explicit FileSection(HANDLE mutex) : mutex_(mutex) { WaitForSingleObject(mutex_, INFINITE); }
    ~FileSection() { ReleaseMutex(mutex_); }
    FileSection(const FileSection&) = delete;
    FileSection& operator=(const FileSection&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace

TimeControlLoop::TimeControlLoop(LoopConfig config, Clock& clock, PlatformActions& actions)
    : config_(std::move(config)),
      clock_(clock),
      actions_(actions),
      fileSection_(CreateMutexA(nullptr, FALSE, nullptr)) {}

TimeControlLoop::~TimeControlLoop() { stop(); }

void TimeControlLoop::prepare() {
    SectionLock lock(passSection_);
    reloadRequest_ = true;
    firstPass_ = true;
    if (!updateEvent_)
        updateEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, config_.updateEventName.c_str()));
}

int TimeControlLoop::start() {
    prepare();
    stopEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    loopGuard_ = false;
    loopThread_.reset(CreateThread(nullptr, 0, loopThreadEntry, this, 0, nullptr));
    if (!loopThread_) return kLoopThreadFailed;
    immediateThread_.reset(CreateThread(nullptr, 0, immediatePassEntry, this, 0, nullptr));
    return kLoopStarted;
}

void TimeControlLoop::stop() {
    if (stopEvent_) SetEvent(stopEvent_.get());
    endThread(immediateThread_);
    endThread(loopThread_);
    updateEvent_.reset();
}

// A thread told to stop leaves at its next wait. One held up (by a report box)
// is ended, but never inside its file work: the file section is taken first,
// so a write-back in progress finishes and none is cut off between a pass's
// launches and their write-back.
void TimeControlLoop::endThread(UniqueHandle& thread) {
    if (!thread) return;
    if (WaitForSingleObject(thread.get(), kLeaveWaitMs) == WAIT_TIMEOUT) {
        DWORD section = WaitForSingleObject(fileSection_.get(), kStopWaitMs);
        if (WaitForSingleObject(thread.get(), kLeaveWaitMs) == WAIT_TIMEOUT)
            TerminateThread(thread.get(), 0);
        if (section == WAIT_OBJECT_0 || section == WAIT_ABANDONED) ReleaseMutex(fileSection_.get());
    }
    thread.reset();
}
bool TimeControlLoop::stopRequested() const {
    return stopEvent_ && WaitForSingleObject(stopEvent_.get(), 0) == WAIT_OBJECT_0;
}

DWORD WINAPI TimeControlLoop::loopThreadEntry(void* self) {
    static_cast<TimeControlLoop*>(self)->loopThread();
    return 0;
}

DWORD WINAPI TimeControlLoop::immediatePassEntry(void* self) {
    static_cast<TimeControlLoop*>(self)->immediatePassThread();
    return 0;
}

// Waits to 1.000 s after the next full minute, then passes at the time read on
// waking. The launch time is read once there, so the minute tried and the minute
// passed are one: a wake a few milliseconds late passes the right minute, and
// one early enough to land in the minute already tried only waits again
// (briefly) instead of repeating it. A minute whose pass ended early is thereby
// not tried again either. The minute the executor starts in is the immediate
// pass's, unless it has just begun (second 0): then the loop passes it at once.
void TimeControlLoop::loopThread() {
    if (loopGuard_.exchange(true)) return;
    LocalTime local = clock_.localTime();
    std::int64_t lastTried = local.time.second == 0 ? -1 : minuteKey(local.time);
    while (!stopRequested()) {
        // A minute that has just begun and was not tried yet is passed at once:
        // a start at second 0, or a pass held up past the turn of the minute.
        bool atOnce = local.time.second == 0 && minuteKey(local.time) != lastTried;
        if (!atOnce && clock_.waitOrStop(msUntilNextPass(local.time.second,
                                                         static_cast<int>(local.milliseconds)),
                                         stopEvent_.get()))
            return;
        ClockReading woke{clock_.now(), clock_.systemTime()};
        if (minuteKey(woke.local) != lastTried) {
            lastTried = minuteKey(woke.local);
            guardedPass(woke);
        }
        local = clock_.localTime();
    }
}

void TimeControlLoop::immediatePassThread() {
    ClockReading started{clock_.now(), clock_.systemTime()};
    if (wantsImmediatePass(started.local.second) && !stopRequested()) guardedPass(started);
}

// A pass that fails with an exception (no memory, say) is given up; the next
// minute tries again. The thread, and with it the scheduler, lives on.
void TimeControlLoop::guardedPass(const ClockReading& reading) {
    try {
        passAt(reading.local, reading.utc);
    } catch (...) {
    }
}

void TimeControlLoop::pass() {
    ClockReading reading{clock_.now(), clock_.systemTime()};
    passAt(reading.local, reading.utc);
}

void TimeControlLoop::passAt(const LaunchTime& now) { runPass(now, nullptr); }

void TimeControlLoop::passAt(const LaunchTime& now, const LaunchTime& utc) { runPass(now, &utc); }

// The zone's rule for this pass, and what the clock did since the last pass.
// A pass without the system time (a test's) knows no change.
PassDaylight TimeControlLoop::readDaylight(const LaunchTime& now, const LaunchTime* utc) {
    zone_ = clock_.zoneRule();
    if (!utc) {
        hasPreviousReading_ = false;
        return {};
    }
    const ClockReading reading{now, *utc};
    PassDaylight daylight =
        passDaylight(zone_, hasPreviousReading_ ? &previousReading_ : nullptr, reading);
    previousReading_ = reading;
    hasPreviousReading_ = true;
    if (daylight.wentBack) secondPassRuns_.clear();
    return daylight;
}

void TimeControlLoop::runPass(const LaunchTime& now, const LaunchTime* utc) {
    SectionLock lock(passSection_);
    settings_ = readExecutorSettings(config_.settingsRoot, config_.settingsKey.c_str());
    if (config_.settingsRead) config_.settingsRead(settings_);

    if (minuteOfDay(now) == lastPassMinute_) return;  // no minute is processed twice
    const PassDaylight daylight = readDaylight(now, utc);

    if (updateEvent_) {
        if (WaitForSingleObject(updateEvent_.get(), 0) == WAIT_OBJECT_0) reloadRequest_ = true;
        ResetEvent(updateEvent_.get());
    }

    if (now.minute % settings_.refreshTime == 0 || reloadRequest_) {
        if (!reload(now)) return;
    }

    if (config_.activeChanged && settings_.active != previousActive_)
        config_.activeChanged(settings_.active);
    previousActive_ = settings_.active;

    if (!settings_.active) {
        firstPass_ = false;
        return;
    }

    {
        FileSection section(fileSection_.get());
        int launched = launchDue(now, daylight);
        firstPass_ = false;
        // A stop during the pause cuts it short, never the write-back after it.
        clock_.waitOrStop(kPauseAfterLaunchMs, stopEvent_.get());
        if (launched) {
            writeBackLaunches(settings_.dat.c_str(), passStore_, now, writeBackStore_);
            if (settings_.logF)
                appendExecutionLog(settings_.log.c_str(), passStore_, now, settings_.ampm);
        }
    }
    lastPassMinute_ = minuteOfDay(now);
}

bool TimeControlLoop::reload(const LaunchTime& now) {
    ++reloadCount_;
    int opened = kStoreOk;
    int result = kStoreOk;
    {
        FileSection section(fileSection_.get());
        passStore_.setFileName(settings_.dat.c_str());
        opened = passStore_.open(false);
        if (opened == kStoreOk) {
            result = passStore_.read(DayFilter(dueContext(now)));
        }
        // A failed read keeps the records read before the failure in use.
        if (opened != kStoreOk || result == kStoreBadSize) passStore_.clear();
        passStore_.close();
    }
    // The reports come after the file work: their boxes wait for the user.
    if (opened != kStoreOk) {
        actions_.beep();
        actions_.reportScheduleError(ScheduleError::OpenFailed, passStore_.fileName(),
                                     static_cast<std::uint32_t>(opened));
        reloadRequest_ = true;
        firstPass_ = false;
        return false;
    }
    reloadRequest_ = false;
    if (result > 0) {
        actions_.beep();
        actions_.reportScheduleError(ScheduleError::ReadFailed, passStore_.fileName(),
                                     static_cast<std::uint32_t>(result));
        reloadRequest_ = true;
    } else if (result == kStoreBadSize) {
        actions_.beep();
        actions_.reportScheduleError(ScheduleError::BadSize, passStore_.fileName(), 0);
        reloadRequest_ = true;
        firstPass_ = false;
        return false;
    }
    return true;
}

DueContext TimeControlLoop::dueContext(const LaunchTime& now) {
    DueContext context;
    context.now = now;
    context.firstPass = firstPass_;
    context.uptimeMs = clock_.uptimeMs();
    context.role = config_.role;
    return context;
}

int TimeControlLoop::launchDue(const LaunchTime& now, const PassDaylight& daylight) {
    DueContext context = dueContext(now);
    context.zone = &zone_;
    context.skipped = daylight.skipped;
    context.secondPass = daylight.secondPass;
    context.secondPassRuns = &secondPassRuns_;
    bool sound = false;
    int launched = 0;
    // Beside the schedule file loaded, whatever LogF says.
    const std::string history = historyFileOf(passStore_.fileName());
    forEachDue(passStore_, context, [&](TaskRecord& record) {
        if (daylight.secondPass) {
            std::string name = fieldText(record.name);
            if (std::find(secondPassRuns_.begin(), secondPassRuns_.end(), name) == secondPassRuns_.end())
                secondPassRuns_.push_back(std::move(name));
        }
        if (record.type == kTypeMessage || settings_.warn) sound = true;
        stampLaunch(record, now);
        LaunchRequest request;
        request.task = record;
        request.warn = settings_.warn;
        request.repErr = settings_.repErr;
        request.time = now;
        if (settings_.history) request.history = history;
        actions_.startLaunch(request);
        ++launched;
    });
    soundRequest(sound);
    return launched;
}

void TimeControlLoop::soundRequest(bool requested) {
    if (!requested) return;
    if (settings_.wav.empty()) {
        actions_.beep();
        return;
    }
    char file[kExpandedSize];
    expandEnvironment(settings_.wav.c_str(), file);
    actions_.playSound(file);
}

}  // namespace kzo
