// Daylight saving time: the zone's changes, how a pass tells them from a clock
// set by hand or a sleep, and what the time-control loop launches around them,
// held against a plain walk through real time that knows where the local
// clock jumps.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "daylight_saving.h"
#include "fake_clock.h"
#include "recording_actions.h"
#include "test_registry.h"
#include "test_support.h"
#include "time_control_loop.h"
#include "zones.h"

namespace kzo {
namespace {

using test::europeanZone;
using test::northAmericanZone;

std::string range(const MinuteRange& r) {
    if (r.empty()) return "";
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d-%02d:%02d", r.first / 60, r.first % 60, r.last / 60, r.last % 60);
    return text;
}

// A southern zone whose changes are written as the system writes midnight: the
// clock goes forward at the end of the first Saturday of November and back at
// the end of the third Saturday of February.
ZoneRule southernMidnightZone() {
    ZoneRule z;
    z.bias = 180;
    z.shift = 60;
    z.toDaylight = {11, 1, 6, 0, 1440};
    z.toStandard = {2, 3, 6, 0, 1440};
    return z;
}

TEST(ZoneRule, SkipsAndRepeatsTheRightMinutesOnTheRightDays) {
    ZoneRule dated = europeanZone();
    dated.toDaylight = {4, 7, 0, 2026, 3 * 60};  // 7 April 2026 only
    ZoneRule none = europeanZone();
    none.shift = 0;
    ZoneRule damaged = europeanZone();
    damaged.shift = 2000000000;
    struct Case {
        const char* what;
        ZoneRule zone;
        int year, month, day;
        const char* skipped;
        const char* repeated;
    } const cases[] = {
        {"Europe, spring 2024", europeanZone(), 2024, 3, 31, "02:00-02:59", ""},
        {"Europe, the Saturday before", europeanZone(), 2024, 3, 30, "", ""},
        {"Europe, autumn 2024", europeanZone(), 2024, 10, 27, "", "02:00-02:59"},
        {"Europe, spring 2026", europeanZone(), 2026, 3, 29, "02:00-02:59", ""},
        {"Europe, autumn 2026", europeanZone(), 2026, 10, 25, "", "02:00-02:59"},
        {"Europe, a week before the last Sunday", europeanZone(), 2026, 10, 18, "", ""},
        {"North America, spring 2024", northAmericanZone(), 2024, 3, 10, "02:00-02:59", ""},
        {"North America, autumn 2024", northAmericanZone(), 2024, 11, 3, "", "01:00-01:59"},
        {"North America, spring 2026", northAmericanZone(), 2026, 3, 8, "02:00-02:59", ""},
        {"North America, autumn 2026", northAmericanZone(), 2026, 11, 1, "", "01:00-01:59"},
        {"North America, the first Sunday of March", northAmericanZone(), 2026, 3, 1, "", ""},
        {"midnight change: the Sunday's first hour", southernMidnightZone(), 2026, 11, 8, "00:00-00:59", ""},
        {"midnight change: the Saturday's last hour", southernMidnightZone(), 2026, 2, 21, "", "23:00-23:59"},
        {"a dated change in its year", dated, 2026, 4, 7, "03:00-03:59", ""},
        {"a dated change in another year", dated, 2027, 4, 7, "", ""},
        {"no daylight time", none, 2026, 3, 29, "", ""},
        {"a shift beyond a day: a damaged zone, no daylight time", damaged, 2026, 3, 29, "", ""},
    };
    for (const Case& c : cases) {
        DayChange change = clockChangeOn(c.zone, c.year, c.month, c.day);
        EXPECT_EQ(c.skipped, range(change.skipped)) << c.what;
        EXPECT_EQ(c.repeated, range(change.repeated)) << c.what;
    }
}

TEST(ZoneRule, DaylightTimeReadsARepeatedMinuteAsItsFirstPass) {
    const ZoneRule europe = europeanZone();
    struct Case {
        ZoneRule zone;
        LaunchTime local;
        bool daylight;
        int shiftInSecondPass;
    } const cases[] = {
        {europe, launchTimeAt(2026, 3, 29, 1, 59), false, 0},
        {europe, launchTimeAt(2026, 3, 29, 2, 30), false, 0},  // skipped: no such minute
        {europe, launchTimeAt(2026, 3, 29, 3, 0), true, 60},
        {europe, launchTimeAt(2026, 7, 1, 12, 0), true, 60},
        {europe, launchTimeAt(2026, 10, 25, 1, 59), true, 60},
        {europe, launchTimeAt(2026, 10, 25, 2, 30), true, 0},  // repeated
        {europe, launchTimeAt(2026, 10, 25, 3, 0), false, 0},
        {europe, launchTimeAt(2026, 12, 31, 23, 59), false, 0},
        {southernMidnightZone(), launchTimeAt(2026, 1, 15, 12, 0), true, 60},
        {southernMidnightZone(), launchTimeAt(2026, 7, 15, 12, 0), false, 0},
        {southernMidnightZone(), launchTimeAt(2026, 11, 8, 1, 0), true, 60},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.daylight, isDaylightTime(c.zone, c.local)) << c.local.month << "-" << c.local.day << " "
                                                               << c.local.hour << ":" << c.local.minute;
        EXPECT_EQ(c.shiftInSecondPass, daylightShiftAt(c.zone, c.local, true)) << c.local.hour << ":" << c.local.minute;
    }
}

ClockReading reading(LaunchTime local, int localMinusUtc) {
    return {local, test::addSeconds(local, -60 * localMinusUtc)};
}

TEST(PassDaylight, TellsTheZonesChangesFromAClockSetByHandAndASleep) {
    const ZoneRule europe = europeanZone();
    ZoneRule none = europe;
    none.shift = 0;
    auto local = [](int month, int day, int hour, int minute) { return launchTimeAt(2026, month, day, hour, minute, 1); };
    struct Case {
        const char* what;
        ZoneRule zone;
        ClockReading before, now;
        const char* skipped;
        bool wentBack, secondPass;
    } const cases[] = {
        {"spring change", europe, reading(local(3, 29, 1, 59), 60), reading(local(3, 29, 3, 0), 120), "02:00-02:59",
         false, false},
        {"spring change, the pass a minute late", europe, reading(local(3, 29, 1, 59), 60),
         reading(local(3, 29, 3, 1), 120), "02:00-02:59", false, false},
        {"autumn change", europe, reading(local(10, 25, 2, 59), 120), reading(local(10, 25, 2, 0), 60), "", true,
         true},
        {"the next pass of the repeated hour", europe, reading(local(10, 25, 2, 0), 60),
         reading(local(10, 25, 2, 1), 60), "", false, true},
        {"the repeated hour's first pass", europe, reading(local(10, 25, 2, 0), 120),
         reading(local(10, 25, 2, 1), 120), "", false, false},
        {"clock set forward an hour by hand in winter", europe, reading(local(1, 15, 1, 58), 60),
         reading(local(1, 15, 3, 0), 60), "", false, false},
        {"clock set back an hour by hand in summer", europe, reading(local(7, 15, 2, 59), 120),
         reading(local(7, 15, 2, 0), 120), "", false, false},
        {"a sleep across the spring change", europe, reading(local(3, 29, 1, 30), 60),
         reading(local(3, 29, 4, 0), 120), "", false, false},
        {"a sleep across the autumn change", europe, reading(local(10, 25, 1, 0), 120),
         reading(local(10, 25, 2, 30), 60), "", false, true},
        {"a zone without daylight time", none, reading(local(3, 29, 1, 59), 60), reading(local(3, 29, 3, 0), 120),
         "", false, false},
    };
    for (const Case& c : cases) {
        PassDaylight pass = passDaylight(c.zone, &c.before, c.now);
        EXPECT_EQ(c.skipped, range(pass.skipped)) << c.what;
        EXPECT_EQ(c.wentBack, pass.wentBack) << c.what;
        EXPECT_EQ(c.secondPass, pass.secondPass) << c.what;
    }
    EXPECT_TRUE(passDaylight(europe, nullptr, reading(local(3, 29, 3, 0), 120)).skipped.empty())
        << "the first pass saw no change";
}

// --- The loop around the changes --------------------------------------------------

// A change of the local clock: the local date, the local minute it leaves
// (02:00 going forward, 03:00 going back in Europe) and local minus UTC before
// and after.
struct Scenario {
    const char* name;
    ZoneRule zone;
    int year, month, day;
    int changeMinute;
    int before, after;
};

const Scenario kScenarios[] = {
    {"Europe, spring", europeanZone(), 2026, 3, 29, 2 * 60, 60, 120},
    {"Europe, autumn", europeanZone(), 2026, 10, 25, 3 * 60, 120, 60},
    {"North America, spring", northAmericanZone(), 2026, 3, 8, 2 * 60, -300, -240},
    {"North America, autumn", northAmericanZone(), 2026, 11, 1, 2 * 60, -240, -300},
};

// The passes from 00:30 to 04:00 local time, one per real minute.
struct Pass {
    LaunchTime local, utc;
    bool secondPass;  // a minute the clock's going back repeats, its second time
};

std::vector<Pass> passesOf(const Scenario& s) {
    std::vector<Pass> passes;
    const LaunchTime start = launchTimeAt(s.year, s.month, s.day, 0, 30, 1);
    const LaunchTime startUtc = test::addSeconds(start, -60 * s.before);
    const int changeAt = s.changeMinute - 30;  // real minutes from the start
    for (int k = 0;; ++k) {
        Pass p;
        p.utc = test::addSeconds(startUtc, 60 * k);
        p.local = test::addSeconds(p.utc, 60 * (k < changeAt ? s.before : s.after));
        const int minute = p.local.hour * 60 + p.local.minute;
        if (minute > 4 * 60) break;
        p.secondPass = k >= changeAt && s.after < s.before && minute < s.changeMinute;
        passes.push_back(p);
    }
    return passes;
}

std::string shown(const Pass& p) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(p.local.hour), static_cast<int>(p.local.minute));
    return std::string(text) + (p.secondPass ? "'" : "");
}

// A task of the table: a time of day, an every-hour minute or a cycle.
struct Kind {
    const char* name;
    enum { Daily, Hourly, Cycle } kind;
    int time;  // minute of the day, minute of the hour, or period
    bool runLater;
};

// What the walk launches: plain rules in real minutes. A time of day runs once
// a day, at its minute or (run later) at a later one, or at the first pass
// after the minutes the clock skipped when it was among them; an every-hour
// minute once per hour of the clock, the skipped hours' at the first pass after
// them; a cycle whenever a whole number of periods of real time has passed
// since its last run.
std::string walk(const Kind& task, const std::vector<Pass>& passes) {
    std::string launches;
    bool ranToday = false;
    std::set<int> hoursRun;
    int lastRun = -90;  // 23:00 the day before, in real minutes from 00:30
    int previous = -1;
    for (int k = 0; k < static_cast<int>(passes.size()); ++k) {
        const int n = passes[k].local.hour * 60 + passes[k].local.minute;
        const bool jumped = previous >= 0 && n > previous + 1;
        auto skipped = [&](int minute) { return jumped && minute > previous && minute < n; };
        bool launch = false;
        switch (task.kind) {
        case Kind::Daily:
            launch = !ranToday && (n == task.time || (task.runLater && n > task.time) || skipped(task.time));
            ranToday = ranToday || launch;
            break;
        case Kind::Hourly:
            for (int hour = 0; hour < n / 60; ++hour) {
                if (skipped(hour * 60 + task.time) && !hoursRun.count(hour)) {
                    hoursRun.insert(hour);
                    launch = true;
                }
            }
            if (!hoursRun.count(n / 60) && (n % 60 == task.time || (task.runLater && n % 60 > task.time))) {
                hoursRun.insert(n / 60);
                launch = true;
            }
            break;
        case Kind::Cycle:
            launch = (k - lastRun) % task.time == 0;
            if (launch) lastRun = k;
            break;
        }
        if (launch) launches += (launches.empty() ? "" : " ") + shown(passes[k]);
        previous = n;
    }
    return launches;
}

class DaylightLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.setString("DAT", schedule_);
        settings_.setDword("RefreshTime", 10);
        settings_.setDword("Active", 1);
    }

    LoopConfig config() {
        LoopConfig c;
        c.settingsKey = settings_.path();
        c.updateEventName = test::uniqueName("KZO_TEST_UPDATE_");
        return c;
    }

    TaskRecord record(const Kind& k, const Scenario& s) {
        TaskRecord r = test::record(k.name);
        r.weekdays = 127;
        r.edited = 0;
        r.runLater = k.runLater;
        r.time = k.kind == Kind::Daily ? k.time : k.kind == Kind::Hourly ? kTimeEveryHour + k.time : k.time;
        r.cycle = k.kind == Kind::Cycle;
        LaunchTime dayBefore = test::addSeconds(launchTimeAt(s.year, s.month, s.day, 23, 0), -86400);
        r.lastYear = dayBefore.year - 1900;
        r.lastMonth = static_cast<int8_t>(dayBefore.month);
        r.lastDay = static_cast<int8_t>(dayBefore.day);
        r.lastHour = 23;
        return r;
    }

    // The launches of each task over the passes, as "HH:MM" in the order made.
    std::map<std::string, std::string> run(const Scenario& s, const std::vector<Kind>& kinds,
                                           const std::vector<Pass>& passes) {
        std::vector<TaskRecord> records;
        for (const Kind& k : kinds) records.push_back(record(k, s));
        test::writeSchedule(schedule_, records);
        test::RecordingActions actions;
        test::FakeClock clock(passes.front().local);
        clock.setZone(s.zone);
        TimeControlLoop loop(config(), clock, actions);
        loop.prepare();
        std::map<std::string, std::string> launches;
        for (const Pass& p : passes) {
            std::size_t before = actions.launches().size();
            loop.passAt(p.local, p.utc);
            std::vector<LaunchRequest> made = actions.launches();
            for (std::size_t i = before; i < made.size(); ++i) {
                std::string& list = launches[made[i].task.name];
                list += (list.empty() ? "" : " ") + shown(p);
            }
        }
        return launches;
    }

    test::TempDir dir_;
    test::ScratchKey settings_;
    std::string schedule_ = dir_.file("user.jsf");
};

// Each task's launches from 00:30 to 04:00 on the days of both changes in both
// zones; "'" marks the second pass of a repeated minute.
TEST_F(DaylightLoopTest, TasksAroundBothChangesInBothZones) {
    struct Row {
        Kind task;
        const char* launches[4];  // in the order of kScenarios
    } const rows[] = {
        {{"daily 01:30", Kind::Daily, 90, false}, {"01:30", "01:30", "01:30", "01:30"}},
        {{"daily 02:00", Kind::Daily, 120, false}, {"03:00", "02:00", "03:00", "02:00"}},
        {{"daily 02:30", Kind::Daily, 150, false}, {"03:00", "02:30", "03:00", "02:30"}},
        {{"daily 02:59", Kind::Daily, 179, false}, {"03:00", "02:59", "03:00", "02:59"}},
        {{"daily 03:00", Kind::Daily, 180, false}, {"03:00", "03:00", "03:00", "03:00"}},
        {{"daily 02:30, run later", Kind::Daily, 150, true}, {"03:00", "02:30", "03:00", "02:30"}},
        {{"daily 03:30", Kind::Daily, 210, false}, {"03:30", "03:30", "03:30", "03:30"}},
        {{"hourly :00", Kind::Hourly, 0, false},
         {"01:00 03:00 04:00", "01:00 02:00 03:00 04:00", "01:00 03:00 04:00", "01:00 02:00 03:00 04:00"}},
        {{"hourly :30", Kind::Hourly, 30, false},
         {"00:30 01:30 03:00 03:30", "00:30 01:30 02:30 03:30", "00:30 01:30 03:00 03:30", "00:30 01:30 02:30 03:30"}},
        {{"hourly :30, run later", Kind::Hourly, 30, true},
         {"00:30 01:30 03:00 03:30", "00:30 01:30 02:30 03:30", "00:30 01:30 03:00 03:30", "00:30 01:30 02:30 03:30"}},
        {{"cycle 45", Kind::Cycle, 45, false},
         {"00:30 01:15 03:00 03:45", "00:30 01:15 02:00 02:45 02:30' 03:15 04:00", "00:30 01:15 03:00 03:45",
          "00:30 01:15 01:00' 01:45' 02:30 03:15 04:00"}},
        {{"cycle 60", Kind::Cycle, 60, false},
         {"01:00 03:00 04:00", "01:00 02:00 02:00' 03:00 04:00", "01:00 03:00 04:00",
          "01:00 01:00' 02:00 03:00 04:00"}},
        {{"cycle 90", Kind::Cycle, 90, false},
         {"00:30 03:00", "00:30 02:00 02:30' 04:00", "00:30 03:00", "00:30 01:00' 02:30 04:00"}},
    };
    std::vector<Kind> kinds;
    for (const Row& row : rows) kinds.push_back(row.task);
    for (int s = 0; s < 4; ++s) {
        const Scenario& scenario = kScenarios[s];
        const std::vector<Pass> passes = passesOf(scenario);
        std::map<std::string, std::string> launched = run(scenario, kinds, passes);
        for (const Row& row : rows) {
            EXPECT_EQ(row.launches[s], walk(row.task, passes)) << scenario.name << ", " << row.task.name << ": the walk";
            EXPECT_EQ(row.launches[s], launched[row.task.name]) << scenario.name << ", " << row.task.name;
        }
    }
}

// Without a change of the zone the local clock's jumps keep the usual rules: a
// missed time runs later only with run later, an hour's minute in its hour.
TEST_F(DaylightLoopTest, AClockSetForwardByHandOrASleepIsNoChange) {
    const std::vector<Kind> kinds = {
        {"daily 02:30", Kind::Daily, 150, false},
        {"daily 02:30, run later", Kind::Daily, 150, true},
        {"hourly :30", Kind::Hourly, 30, false},
        {"hourly :30, run later", Kind::Hourly, 30, true},
    };
    auto pass = [](LaunchTime local, int localMinusUtc) {
        return Pass{local, test::addSeconds(local, -60 * localMinusUtc), false};
    };
    auto at = [](int month, int day, int hour, int minute) { return launchTimeAt(2026, month, day, hour, minute, 1); };
    // In January the user sets the clock from 01:58 to 03:00; on the spring day
    // the computer sleeps from 01:30 to 04:00 across the change.
    Scenario winter = kScenarios[0];
    winter.month = 1;
    winter.day = 15;
    const std::vector<Pass> setByHand = {pass(at(1, 15, 1, 58), 60), pass(at(1, 15, 3, 0), 60),
                                         pass(at(1, 15, 3, 30), 60)};
    const std::vector<Pass> sleep = {pass(at(3, 29, 1, 30), 60), pass(at(3, 29, 4, 0), 120),
                                     pass(at(3, 29, 4, 30), 120)};
    std::map<std::string, std::string> byHand = run(winter, kinds, setByHand);
    std::map<std::string, std::string> slept = run(kScenarios[0], kinds, sleep);
    const std::map<std::string, std::string> expectByHand = {
        {"daily 02:30, run later", "03:00"}, {"hourly :30", "03:30"}, {"hourly :30, run later", "01:58 03:30"}};
    const std::map<std::string, std::string> expectSlept = {
        {"daily 02:30, run later", "04:00"}, {"hourly :30", "01:30 04:30"}, {"hourly :30, run later", "01:30 04:30"}};
    EXPECT_EQ(expectByHand, byHand);
    EXPECT_EQ(expectSlept, slept);
}

}  // namespace
}  // namespace kzo
