// The time-control loop through its seams: passes run at chosen minutes against
// a real schedule file and real settings in a scratch key; launches, reports
// and sounds are recorded by the double.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>

#include "fake_clock.h"
#include "recording_actions.h"
#include "schedule_store.h"
#include "test_registry.h"
#include "test_support.h"
#include "time_control_loop.h"
#include "win_handles.h"

namespace kzo {
namespace {

using test::at;
using test::FakeClock;
using test::RecordingActions;

// An active daily task at hh:mm on every day, not edited, no run later.
TaskRecord task(const std::string& name, int hour, int minute) {
    TaskRecord r = test::record(name);
    r.weekdays = 127;
    r.runLater = 0;
    r.edited = 0;
    r.time = hour * 60 + minute;
    setField(r.command, "run " + name);
    return r;
}

TaskRecord everyMinute(const std::string& name) { return test::everyMinuteTask(name, "run " + name); }

class TimeControlLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.setString("DAT", schedule);
        settings_.setString("LOG", log);
        settings_.setDword("LogF", 1);
        settings_.setDword("RefreshTime", 10);
        settings_.setDword("Active", 1);
    }

    LoopConfig config() {
        LoopConfig c;
        c.role = SchedulerRole::User;
        c.settingsRoot = HKEY_CURRENT_USER;
        c.settingsKey = settings_.path();
        c.updateEventName = eventName_;
        return c;
    }

    // A loop prepared as start() leaves it, without its threads.
    std::unique_ptr<TimeControlLoop> preparedLoop(RecordingActions& actions) {
        auto loop = std::make_unique<TimeControlLoop>(config(), clock_, actions);
        loop->prepare();
        return loop;
    }

    // What the Terminal does after a save.
    void signalUpdate() {
        UniqueHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName_.c_str()));
        ASSERT_TRUE(event) << "the loop created its update event";
        SetEvent(event.get());
    }

    static std::vector<std::string> launchedNames(const RecordingActions& actions) {
        std::vector<std::string> names;
        for (const LaunchRequest& r : actions.launches()) names.push_back(r.task.name);
        return names;
    }

    static std::size_t countEvents(const RecordingActions& actions, const std::string& prefix) {
        std::size_t n = 0;
        for (const std::string& e : actions.events()) n += e.rfind(prefix, 0) == 0;
        return n;
    }

    test::TempDir dir_;
    test::ScratchKey settings_;
    std::string eventName_ = test::uniqueName("KZO_TEST_UPDATE_");
    FakeClock clock_{at(12, 0)};

public:
    const std::string schedule = dir_.file("user.jsf");
    const std::string log = dir_.file("user.log");
};

// --- Loop and immediate-pass timing ---------------------------------------------

TEST(LoopTiming, WaitsToOneSecondAfterTheNextFullMinuteToTheMillisecond) {
    struct Case {
        int second;
        int milliseconds;
        std::uint32_t wait;
    };
    const Case cases[] = {
        {59, 999, 1001},  {1, 3, 59997},   {3, 250, 57750}, {0, 0, 61000},
        {0, 999, 60001},  {1, 0, 60000},   {5, 0, 56000},   {30, 500, 30500},
        {59, 0, 2000},    {60, 999, 1},    {61, 500, 1},    {-1, 0, 61000},
        {0, -20, 61000},  {1000000, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.wait, msUntilNextPass(c.second, c.milliseconds))
            << c.second << "." << c.milliseconds;
    for (int s : {0, 5, 10, 50, 59}) EXPECT_FALSE(wantsImmediatePass(s)) << s;
    for (int s : {11, 30, 49}) EXPECT_TRUE(wantsImmediatePass(s)) << s;
}

TEST_F(TimeControlLoopTest, StartedAtSecondFiveEvaluatesAtTheNextMinute) {
    test::writeSchedule(schedule, {everyMinute("tick")});
    RecordingActions actions;
    clock_.set(at(12, 0, 5));
    clock_.allowLongWaits(1);
    TimeControlLoop loop(config(), clock_, actions);
    ASSERT_EQ(kLoopStarted, loop.start());
    test::waitUntil([&] { return loop.lastPassMinute() >= 0; }, 5000, 10);
    loop.stop();
    EXPECT_EQ(12 * 60 + 1, loop.lastPassMinute()) << "the first pass is 12:01";
    ASSERT_FALSE(clock_.waits().empty());
    EXPECT_EQ(56000u, clock_.waits().front()) << "61 - 5 seconds";
    ASSERT_EQ(1u, actions.launches().size());
    EXPECT_EQ(1, actions.launches()[0].time.minute);
}

// A timer wakes a little late or early; a wake over a second early lands in
// the minute already passed. Each minute is passed once, and each wait after a
// pass aims at 1.000 s after the next minute from the millisecond it starts at.
TEST_F(TimeControlLoopTest, WakesOffByMillisecondsPassEveryMinuteOnce) {
    struct Case {
        std::int32_t error;
        int launchSecond;
    };
    for (const Case c : {Case{-7, 0}, Case{7, 1}, Case{-1500, 1}}) {
        SCOPED_TRACE(c.error);
        test::writeSchedule(schedule, {everyMinute("tick")});
        RecordingActions actions;
        FakeClock clock(at(12, 0));
        clock.set(at(12, 0, 5), 250);
        clock.setLongWaitError(c.error);
        clock.allowLongWaits(3);
        TimeControlLoop loop(config(), clock, actions);
        ASSERT_EQ(kLoopStarted, loop.start());
        test::waitUntil([&] { return actions.launches().size() >= 3 && clock.waits().size() >= 7; },
                        5000, 5);
        Sleep(50);
        loop.stop();

        ASSERT_EQ(3u, actions.launches().size()) << "12:01, 12:02 and 12:03, once each";
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(1 + k, actions.launches()[k].time.minute);
            EXPECT_EQ(c.launchSecond, actions.launches()[k].time.second);
        }
        std::vector<std::uint32_t> waits = clock.waits();
        ASSERT_FALSE(waits.empty());
        EXPECT_EQ(55750u, waits.front()) << "from 12:00:05.250 to 12:01:01.000";
        for (std::size_t k = 1; k < waits.size(); ++k) {
            if (waits[k] < 3000) continue;  // the pause after the launches, a short re-aim
            // Woken at 1.000 s plus the error (or re-aimed to it), then the 2 s pause.
            std::int32_t into = 3000 + (c.error < -1000 ? 0 : c.error);
            EXPECT_EQ(static_cast<std::uint32_t>(61000 - into), waits[k]) << "wait " << k;
        }
    }
}

TEST_F(TimeControlLoopTest, StartedAtSecondThirtyEvaluatesAtOnce) {
    test::writeSchedule(schedule, {everyMinute("tick")});
    RecordingActions actions;
    clock_.set(at(12, 0, 30));
    TimeControlLoop loop(config(), clock_, actions);  // no long wait returns: only the immediate pass
    ASSERT_EQ(kLoopStarted, loop.start());
    test::waitUntil([&] { return loop.lastPassMinute() >= 0; }, 5000, 10);
    loop.stop();
    EXPECT_EQ(12 * 60, loop.lastPassMinute()) << "evaluated in the minute it started";
    ASSERT_EQ(1u, actions.launches().size());
    EXPECT_FALSE(loop.firstPass());
}

// Holds the schedule file as a Terminal's save would, from the moment the pass
// launches, for a while.
class HoldingActions final : public RecordingActions {
public:
    explicit HoldingActions(std::string path) : path_(std::move(path)) {}
    ~HoldingActions() override {
        if (releaser_.joinable()) releaser_.join();
    }
    void startLaunch(const LaunchRequest& request) override {
        RecordingActions::startLaunch(request);
        HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        releaser_ = std::thread([held] {
            Sleep(1500);
            CloseHandle(held);
        });
        launched.store(true);
    }
    std::atomic<bool> launched{false};

private:
    std::string path_;
    std::thread releaser_;
};

TEST_F(TimeControlLoopTest, StopLetsAWriteBackInProgressFinish) {
    TaskRecord once = everyMinute("once");
    once.runOnce = kRunOnceYes;
    test::writeSchedule(schedule, {once, task("other", 9, 0)});
    HoldingActions actions(schedule);
    clock_.set(at(12, 0, 30));
    TimeControlLoop loop(config(), clock_, actions);
    ASSERT_EQ(kLoopStarted, loop.start());
    ASSERT_TRUE(test::waitUntil([&] { return actions.launched.load(); }, 5000, 5));

    std::uint64_t start = test::nowMs();
    loop.stop();  // the write-back waits for the file, retrying
    EXPECT_GE(test::nowMs() - start, 900u) << "stop waited for the write-back";
    std::vector<TaskRecord> file = test::readSchedule(schedule);
    ASSERT_EQ(1u, file.size()) << "the launched run-once task left the file";
    EXPECT_STREQ("other", file[0].name);
}

TEST_F(TimeControlLoopTest, StopEndsAPassHeldUpByAReportBox) {
    settings_.setString("DAT", dir_.path());  // cannot be opened: the pass reports
    class BlockingReports final : public RecordingActions {
    public:
        void reportScheduleError(ScheduleError, const char*, std::uint32_t) override {
            reported.store(true);
            Sleep(INFINITE);  // the user never answers
        }
        std::atomic<bool> reported{false};
    } actions;
    clock_.set(at(12, 0, 30));
    TimeControlLoop loop(config(), clock_, actions);
    ASSERT_EQ(kLoopStarted, loop.start());
    ASSERT_TRUE(test::waitUntil([&] { return actions.reported.load(); }, 10000, 5));
    std::uint64_t start = test::nowMs();
    loop.stop();
    EXPECT_LT(test::nowMs() - start, 3000u) << "no long wait outside the file work";
}

TEST_F(TimeControlLoopTest, AnInactiveMinuteIsNotTriedAgainAtSecondZero) {
    settings_.setDword("Active", 0);
    test::writeSchedule(schedule, {everyMinute("tick")});
    RecordingActions actions;
    clock_.set(at(12, 0, 0));  // the loop thread passes at once
    TimeControlLoop loop(config(), clock_, actions);
    ASSERT_EQ(kLoopStarted, loop.start());
    test::waitUntil([&] { return !clock_.waits().empty(); }, 5000, 5);
    Sleep(200);
    loop.stop();
    EXPECT_EQ(1, loop.reloadCount()) << "one pass for 12:00, not one after another";
    ASSERT_FALSE(clock_.waits().empty());
    EXPECT_EQ(61000u, clock_.waits().front()) << "asleep until 12:01:01";
}

// --- Reloads ------------------------------------------------------------------------

TEST_F(TimeControlLoopTest, TaskSavedAt1203IsSeenAt1204ThroughTheUpdateEvent) {
    test::writeSchedule(schedule, {});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    loop->passAt(at(12, 0));
    loop->passAt(at(12, 3));
    EXPECT_EQ(1, loop->reloadCount());

    test::writeSchedule(schedule, {task("new", 12, 4)});  // saved during 12:03
    signalUpdate();
    loop->passAt(at(12, 4));
    EXPECT_EQ(2, loop->reloadCount());
    EXPECT_EQ((std::vector<std::string>{"new"}), launchedNames(actions));

    // Without the event the file waits for the 12:10 reload, too late for 12:04.
    RecordingActions late;
    test::writeSchedule(schedule, {});
    auto other = preparedLoop(late);
    other->passAt(at(12, 0));
    test::writeSchedule(schedule, {task("new", 12, 4)});
    other->passAt(at(12, 4));
    other->passAt(at(12, 10));
    EXPECT_TRUE(late.launches().empty());
}

TEST_F(TimeControlLoopTest, TwoSavesInOneMinuteCauseOneReload) {
    test::writeSchedule(schedule, {});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    loop->passAt(at(12, 1));
    signalUpdate();
    signalUpdate();
    loop->passAt(at(12, 2));
    loop->passAt(at(12, 3));
    EXPECT_EQ(2, loop->reloadCount());
}

TEST_F(TimeControlLoopTest, ReloadsEveryRefreshTimeMinutesAndNoMinuteTwice) {
    test::writeSchedule(schedule, {});
    settings_.setDword("RefreshTime", 15);
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    for (int minute = 1; minute <= 31; ++minute) loop->passAt(at(12, minute));
    EXPECT_EQ(3, loop->reloadCount()) << "the first pass, 12:15 and 12:30";
    loop->passAt(at(12, 31, 40));
    EXPECT_EQ(12 * 60 + 31, loop->lastPassMinute());
    EXPECT_EQ(3, loop->reloadCount());
}

// --- Launch, stamp, write-back, log ---------------------------------------------------

TEST_F(TimeControlLoopTest, RunOnceTaskLaunchedAt1400IsGoneFromTheFileAndLoggedExecuted) {
    TaskRecord once = task("once", 14, 0);
    once.runOnce = kRunOnceYes;
    test::writeSchedule(schedule, {task("daily", 9, 0), once, task("later", 16, 0)});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    loop->passAt(at(14, 0));

    ASSERT_EQ((std::vector<std::string>{"once"}), launchedNames(actions));
    std::vector<TaskRecord> file = test::readSchedule(schedule);
    ASSERT_EQ(2u, file.size());
    EXPECT_STREQ("daily", file[0].name);
    EXPECT_STREQ("later", file[1].name);
    EXPECT_EQ("Executed \"once\" : \"run once\" at 08.12.2026 14:00\r\n", test::readFile(log));
}

// Names reach the file with blanks around them (hand edits, converted old
// files): the write-back still finds their records, which keep their names.
TEST_F(TimeControlLoopTest, NamesWithOuterBlanksAreWrittenBackAndRunOnceRemoved) {
    TaskRecord clock = task(" Clock", 14, 0);
    clock.runLater = 1;  // due again at every reload until its stamp is in the file
    TaskRecord alarm = task("Alarm ", 14, 0);
    alarm.runOnce = kRunOnceYes;
    TaskRecord blank = task("   ", 14, 0);
    blank.runOnce = kRunOnceYes;
    test::writeSchedule(schedule, {clock, alarm, blank, task("other", 9, 0)});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    for (int minute = 0; minute <= 30; ++minute) loop->passAt(at(14, minute, 1));

    std::size_t clockLaunches = 0;
    for (const std::string& name : launchedNames(actions)) clockLaunches += name == " Clock";
    EXPECT_EQ(1u, clockLaunches) << "launched once, not again at 14:10, 14:20, 14:30";
    std::vector<TaskRecord> file = test::readSchedule(schedule);
    ASSERT_EQ(3u, file.size()) << "the launched run-once \"Alarm \" left the file";
    EXPECT_STREQ(" Clock", file[0].name);
    EXPECT_EQ(14, file[0].lastHour);
    EXPECT_EQ(0, file[0].lastMinute);
    EXPECT_EQ(126, file[0].lastYear);
    EXPECT_STREQ("   ", file[1].name) << "a name of blanks only matches nothing";
    EXPECT_EQ(0, file[1].lastYear);
    EXPECT_EQ(kRunOnceYes, file[1].runOnce);
    EXPECT_STREQ("other", file[2].name);
}

TEST_F(TimeControlLoopTest, LaunchIsStampedWrittenBackAndLoggedWhateverThePromptAnswer) {
    settings_.setDword("Warn", 1);
    TaskRecord edited = task("asked", 14, 5);
    edited.edited = 1;
    test::writeSchedule(schedule, {edited});
    RecordingActions actions;
    actions.confirmAnswer = false;  // the launch thread would be told No
    auto loop = preparedLoop(actions);
    loop->passAt(at(14, 5, 7));

    ASSERT_EQ(1u, actions.launches().size());
    const LaunchRequest& request = actions.launches()[0];
    EXPECT_TRUE(request.warn);
    EXPECT_EQ(14, request.time.hour);
    EXPECT_EQ(0, request.task.edited) << "the thread gets the stamped record";

    std::vector<TaskRecord> file = test::readSchedule(schedule);
    ASSERT_EQ(1u, file.size());
    EXPECT_EQ(8, file[0].lastDay);
    EXPECT_EQ(12, file[0].lastMonth);
    EXPECT_EQ(126, file[0].lastYear);
    EXPECT_EQ(14, file[0].lastHour);
    EXPECT_EQ(5, file[0].lastMinute);
    EXPECT_EQ(7, file[0].lastSecond);
    EXPECT_EQ(0, file[0].edited);
    EXPECT_EQ("Executed \"asked\" : \"run asked\" at 08.12.2026 14:05\r\n", test::readFile(log));
    EXPECT_EQ(1u, countEvents(actions, "beep")) << "Warn asks for the sound; no WAV: the beep";
}

TEST_F(TimeControlLoopTest, MessageTasksPlayTheSoundFile) {
    settings_.setString("WAV", "%KZO_TEST_SOUNDS%\\ding.wav");
    SetEnvironmentVariableA("KZO_TEST_SOUNDS", "C:\\sounds");
    TaskRecord message = task("note", 9, 0);
    message.type = kTypeMessage;
    test::writeSchedule(schedule, {message, task("plain", 9, 0)});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    loop->passAt(at(9, 0));
    EXPECT_EQ(2u, actions.launches().size());
    EXPECT_EQ(1u, countEvents(actions, "playSound C:\\sounds\\ding.wav"));
    EXPECT_EQ(0u, countEvents(actions, "beep"));

    RecordingActions quiet;
    test::writeSchedule(schedule, {task("plain", 9, 0)});
    preparedLoop(quiet)->passAt(at(9, 0));
    EXPECT_EQ(0u, countEvents(quiet, "playSound"));
    EXPECT_EQ(0u, countEvents(quiet, "beep")) << "no sound without a message or Warn";
}

TEST_F(TimeControlLoopTest, StampedTaskIsNotLaunchedAgainBeforeTheNextReload) {
    TaskRecord later = task("later", 8, 0);
    later.runLater = 1;
    test::writeSchedule(schedule, {later});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    loop->passAt(at(12, 1));
    loop->passAt(at(12, 2));
    loop->passAt(at(12, 10));
    EXPECT_EQ(1u, actions.launches().size());
}

TEST_F(TimeControlLoopTest, WriteBackKeepsTheTerminalsEditsSinceTheReload) {
    test::writeSchedule(schedule, {task("a", 12, 5), task("b", 18, 0)});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    loop->passAt(at(12, 0));

    // The Terminal saves between the reload and the launch: b changed, c added,
    // a's command changed too.
    TaskRecord a = task("a", 12, 5);
    setField(a.command, "edited a");
    TaskRecord b = task("b", 19, 0);
    test::writeSchedule(schedule, {b, task("c", 20, 0), a});
    loop->passAt(at(12, 5));

    std::vector<TaskRecord> file = test::readSchedule(schedule);
    ASSERT_EQ(3u, file.size());
    EXPECT_EQ(19 * 60, file[0].time) << "b as the Terminal saved it";
    EXPECT_STREQ("c", file[1].name);
    EXPECT_STREQ("edited a", file[2].command) << "the Terminal's command kept";
    EXPECT_EQ(5, file[2].lastMinute) << "the launch's stamp merged in";
    EXPECT_EQ(0, file[1].lastYear) << "c untouched";
}

TEST_F(TimeControlLoopTest, WriteBackLeavesAnEmptiedOrDamagedFileAlone) {
    test::writeSchedule(schedule, {task("a", 12, 5)});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    loop->passAt(at(12, 0));
    test::writeSchedule(schedule, {});  // the Terminal deleted every task
    loop->passAt(at(12, 5));
    EXPECT_EQ(1u, actions.launches().size());
    EXPECT_EQ(0, test::fileSize(schedule)) << "nothing brought back";

    RecordingActions second;
    test::writeSchedule(schedule, {task("a", 12, 5)});
    auto other = preparedLoop(second);
    other->passAt(at(12, 0));
    std::string damaged = test::scheduleBytes({task("a", 12, 5)}) + "xyz";
    test::writeFile(schedule, damaged);
    other->passAt(at(12, 5));
    EXPECT_EQ(1u, second.launches().size());
    EXPECT_EQ(damaged, test::readFile(schedule));
}

// --- Active, first pass, failures ---------------------------------------------------

TEST_F(TimeControlLoopTest, InactiveReloadsButLaunchesNothingUntilActiveAgain) {
    settings_.setDword("Active", 0);
    test::writeSchedule(schedule, {everyMinute("tick")});
    RecordingActions actions;
    std::vector<bool> changes;
    LoopConfig c = config();
    c.activeChanged = [&](bool active) { changes.push_back(active); };
    TimeControlLoop loop(c, clock_, actions);
    loop.prepare();
    loop.passAt(at(12, 0));
    EXPECT_EQ(1, loop.reloadCount());
    EXPECT_TRUE(actions.launches().empty());
    EXPECT_FALSE(loop.firstPass()) << "Active 0 ends the first pass";
    EXPECT_EQ(-1, loop.lastPassMinute()) << "the last pass time is not updated";

    settings_.setDword("Active", 1);
    loop.passAt(at(12, 1));
    EXPECT_EQ(1u, actions.launches().size());
    settings_.setDword("Active", 0);
    loop.passAt(at(12, 2));
    EXPECT_EQ(1u, actions.launches().size());
    EXPECT_EQ((std::vector<bool>{true, false}), changes) << "the service follows each change";
}

TEST_F(TimeControlLoopTest, FirstPassStateIsClearedByAnOpenFailureAndABadSize) {
    // A folder cannot be opened as a file: every attempt fails.
    settings_.setString("DAT", dir_.path());
    RecordingActions failing;
    auto loop = preparedLoop(failing);
    loop->passAt(at(12, 1));
    EXPECT_FALSE(loop->firstPass());
    EXPECT_TRUE(loop->reloadRequested()) << "retried at the next pass";
    EXPECT_EQ(1u, countEvents(failing, "scheduleError 0 "));
    EXPECT_EQ(1u, countEvents(failing, "beep"));

    settings_.setString("DAT", schedule);
    test::writeFile(schedule, std::string(1710, 'x'));
    RecordingActions damaged;
    auto other = preparedLoop(damaged);
    other->passAt(at(12, 1));
    other->passAt(at(12, 2));
    EXPECT_FALSE(other->firstPass());
    EXPECT_EQ(2u, countEvents(damaged, "scheduleError 2 " + schedule + " 0"))
        << "reported once per pass, retried every pass";
    test::writeSchedule(schedule, {everyMinute("tick")});
    other->passAt(at(12, 3));
    EXPECT_EQ(1u, damaged.launches().size()) << "runs once the file is mended";
    EXPECT_FALSE(other->reloadRequested());
}

TEST_F(TimeControlLoopTest, StartupTasksRunOnlyInTheFirstPass) {
    TaskRecord startup = task("logon", 0, 0);
    startup.time = kTimeStartup;
    test::writeSchedule(schedule, {startup});
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    loop->passAt(at(12, 0));
    ASSERT_EQ((std::vector<std::string>{"logon"}), launchedNames(actions));
    signalUpdate();
    loop->passAt(at(12, 1));
    EXPECT_EQ(1u, actions.launches().size());
}

TEST_F(TimeControlLoopTest, HandEditedAndEmptyFilesNeverCrashAPass) {
    // Every byte pattern the random generator gives, in whole records.
    std::string bytes(kRecordSize * 64, '\0');
    std::uint32_t seed = 12345;
    for (char& b : bytes) {
        seed = seed * 1103515245 + 12345;
        b = static_cast<char>(seed >> 16);
    }
    test::writeFile(schedule, bytes);
    RecordingActions actions;
    auto loop = preparedLoop(actions);
    for (int minute = 0; minute < 30; ++minute) {
        signalUpdate();
        loop->passAt(at(12, minute));
    }
    test::writeFile(schedule, "");
    signalUpdate();
    loop->passAt(at(12, 30));
    EXPECT_EQ(0u, loop->passStore().count());
    EXPECT_EQ(0u, countEvents(actions, "scheduleError")) << "an empty file is no error";
}

// --- Concurrency with the Terminal's saves ----------------------------------------------

// Counts launches only: a long run launches thousands of tasks.
class CountingActions final : public RecordingActions {
public:
    void startLaunch(const LaunchRequest&) override { ++launched; }
    std::atomic<int> launched{0};
};

// Saves the way the Terminal does: exclusive open, the file's stamps (and set
// edited marks) merged into its own records, everything rewritten, the update
// event set. False when the file could not be opened, read or written within
// the store's retries: the Terminal then keeps its records, unsaved.
bool terminalSave(std::vector<TaskRecord>& mine, const std::string& path, HANDLE updateEvent) {
    ScheduleStore file;
    file.setFileName(path.c_str());
    if (file.open(true) != kStoreOk) return false;
    int read = file.read(UnchangedFilter());
    if (read != kStoreOk && read != kStoreEmpty) return false;
    for (TaskRecord& r : mine) {
        if (const TaskRecord* onDisk = file.find(r.name)) {
            copyStamp(r, *onDisk);
            if (!r.edited) r.edited = onDisk->edited;
        }
    }
    // Write through the exclusive handle already held.
    file.clear();
    file.reserve(mine.size() * kRecordSize);
    for (const TaskRecord& r : mine) file.append(r);
    bool written = file.write(false) == kStoreOk;
    if (written) file.close();
    SetEvent(updateEvent);
    return written;
}

TEST_F(TimeControlLoopTest, TerminalSavesDuringPassesLoseNothing) {
    std::vector<TaskRecord> mine;
    for (int i = 0; i < 20; ++i) mine.push_back(everyMinute("T" + std::to_string(i)));
    test::writeSchedule(schedule, mine);
    CountingActions actions;
    auto loop = preparedLoop(actions);
    UniqueHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName_.c_str()));
    ASSERT_TRUE(event);

    std::atomic<bool> done{false};
    std::atomic<int> badSizes{0};
    std::atomic<int> passes{0};
    // Hundreds of saves, and as many as it takes to meet a good number of
    // passes however slow the machine.
    // A save that meets the passes holding the file through all of the store's
    // retries fails, as in the Terminal, which keeps its edits unsaved and
    // writes them with a later save: the last one is tried until it succeeds.
    std::atomic<int> saved{0};
    std::thread terminal([&] {
        bool last = false;
        for (int k = 0; k < 300 || passes < 30; ++k) {
            setField(mine[k % mine.size()].command, "edit " + std::to_string(k));
            if (k % 10 == 0) mine.push_back(everyMinute("U" + std::to_string(k)));
            last = terminalSave(mine, schedule, event.get());
            if (last) ++saved;
            Sleep(1);
        }
        for (int tries = 0; !last && tries < 10; ++tries) {
            last = terminalSave(mine, schedule, event.get());
            if (last) ++saved;
        }
        done = true;
    });
    // Whatever a reader can open shows whole records.
    std::thread watcher([&] {
        while (!done) {
            HANDLE h = CreateFileA(schedule.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                LARGE_INTEGER size;
                if (GetFileSizeEx(h, &size) && size.QuadPart % kRecordSize != 0) ++badSizes;
                CloseHandle(h);
            }
            Sleep(3);  // leaves the writers room
        }
    });
    LaunchTime now = at(12, 0);
    while (!done) {
        loop->passAt(now);
        now = test::addSeconds(now, 60);
        ++passes;
    }
    terminal.join();
    watcher.join();
    // Two quiet passes: the last launches are written back.
    loop->passAt(now);
    LaunchTime last = test::addSeconds(now, 60);
    loop->passAt(last);

    EXPECT_EQ(0, badSizes.load());
    EXPECT_GE(passes.load(), 30);
    EXPECT_GT(saved.load(), 100) << "most saves get through";
    std::vector<TaskRecord> file = test::readSchedule(schedule);
    ASSERT_EQ(0, test::fileSize(schedule) % static_cast<std::int64_t>(kRecordSize));
    ASSERT_EQ(mine.size(), file.size()) << "no task lost, none duplicated";
    std::set<std::string> names;
    for (std::size_t i = 0; i < file.size(); ++i) {
        names.insert(file[i].name);
        EXPECT_STREQ(mine[i].name, file[i].name);
        EXPECT_STREQ(mine[i].command, file[i].command) << "the Terminal's last edit";
        EXPECT_EQ(last.hour, file[i].lastHour) << file[i].name << ": the last launch's stamp";
        EXPECT_EQ(last.minute, file[i].lastMinute) << file[i].name;
        EXPECT_EQ(last.day, file[i].lastDay) << file[i].name;
    }
    EXPECT_EQ(mine.size(), names.size());
    EXPECT_GT(actions.launched.load(), passes.load());
}

}  // namespace
}  // namespace kzo
