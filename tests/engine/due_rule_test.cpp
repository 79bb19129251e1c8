// The day filter and the due test, table by table. Each expectation follows the
// scheduling rules as a user reads them, not the code.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "due_rule.h"
#include "zones.h"

namespace kzo {
namespace {

// A task built field by field. The base is an active task on every day of
// every month at 00:00, full-day interval, no run later, not edited, never run.
struct Task {
    TaskRecord r;
    Task() {
        std::memset(&r, 0, sizeof r);
        std::strcpy(r.name, "task");
        r.active = 1;
        r.weekdays = 127;
        r.intervalEnd = kLastMinuteOfDay;
        r.lastDay = 1;
        r.lastMonth = 1;
    }
    Task& at(int hour, int minute) { r.time = hour * 60 + minute; return *this; }
    Task& everyHourAt(int minute) { r.time = kTimeEveryHour + minute; return *this; }
    Task& atStartup() { r.time = kTimeStartup; return *this; }
    Task& every(int minutes) { r.cycle = 1; r.time = minutes; return *this; }
    Task& runLater() { r.runLater = 1; return *this; }
    Task& edited() { r.edited = 1; return *this; }
    Task& inactive() { r.active = 0; return *this; }
    Task& weekdays(int mask) { r.weekdays = static_cast<int8_t>(mask); return *this; }
    Task& days(const char* list) { setField(r.daysOfMonth, list); return *this; }
    Task& months(int mask) { r.months = mask; return *this; }
    Task& time(int32_t value) { r.time = value; return *this; }
    Task& interval(int startH, int startM, int endH, int endM, bool invert = false) {
        r.intervalStart = startH * 60 + startM;
        r.intervalEnd = endH * 60 + endM;
        r.invert = invert;
        return *this;
    }
    Task& lastRun(int year, int month, int day, int hour, int minute) {
        r.lastYear = year - 1900;
        r.lastMonth = static_cast<int8_t>(month);
        r.lastDay = static_cast<int8_t>(day);
        r.lastHour = static_cast<int8_t>(hour);
        r.lastMinute = static_cast<int8_t>(minute);
        return *this;
    }
};

struct Moment {
    int year, month, day, hour, minute;
};

DueContext context(Moment m, bool firstPass = false, SchedulerRole role = SchedulerRole::User,
                   std::uint32_t uptimeMs = 3600000) {
    DueContext c;
    c.now = launchTimeAt(m.year, m.month, m.day, m.hour, m.minute, 1);
    c.firstPass = firstPass;
    c.role = role;
    c.uptimeMs = uptimeMs;
    return c;
}

struct DueCase {
    const char* what;
    Task task;
    Moment now;
    bool due;
};

void expectDue(const std::vector<DueCase>& cases) {
    for (const DueCase& c : cases)
        EXPECT_EQ(c.due, isDue(c.task.r, context(c.now))) << c.what;
}

// 2026-12-07 is a Monday.
constexpr Moment kMonday7th{2026, 12, 7, 8, 0};

TEST(LaunchTime, WeekdayRunsFromMondayOneToSundaySeven) {
    EXPECT_EQ(1, launchTimeAt(2026, 12, 7, 0, 0).weekday);
    EXPECT_EQ(2, launchTimeAt(2026, 12, 8, 0, 0).weekday);
    EXPECT_EQ(7, launchTimeAt(2026, 12, 13, 0, 0).weekday);
    EXPECT_EQ(3, launchTimeAt(2001, 3, 7, 0, 0).weekday);
    EXPECT_EQ(4, launchTimeAt(2029, 3, 1, 0, 0).weekday);
}

TEST(DueRule, DateGateTakesWeekdaysOrDaysOfMonth) {
    Task mondaysAnd15th = Task().at(8, 0).weekdays(1).days("15");
    expectDue({
        {"a Monday", mondaysAnd15th, kMonday7th, true},
        {"the 15th, a Tuesday", mondaysAnd15th, {2026, 12, 15, 8, 0}, true},
        {"a Tuesday, the 8th", mondaysAnd15th, {2026, 12, 8, 8, 0}, false},
        {"no weekday, days 01,15,31 on the 31st", Task().weekdays(0).days("01,15,31"), {2026, 12, 31, 0, 0}, true},
        {"no weekday, days 01,15,31 on the 30th", Task().weekdays(0).days("01,15,31"), {2026, 12, 30, 0, 0}, false},
        {"\"05\" matches the 5th", Task().weekdays(0).days("05"), {2026, 12, 5, 0, 0}, true},
        {"\"5\" matches nothing", Task().weekdays(0).days("5"), {2026, 12, 5, 0, 0}, false},
        {"no weekday and no day never runs", Task().weekdays(0), {2026, 12, 5, 0, 0}, false},
        {"Sunday is bit 6", Task().weekdays(64), {2026, 12, 13, 0, 0}, true},
        {"Saturday is bit 5", Task().weekdays(64), {2026, 12, 12, 0, 0}, false},
        {"months 0 is every month", Task().months(0), {2026, 12, 7, 0, 0}, true},
        {"months 4095 is every month", Task().months(4095), {2026, 12, 7, 0, 0}, true},
        {"December is bit 11", Task().months(1 << 11), {2026, 12, 7, 0, 0}, true},
        {"March only, in December", Task().months(1 << 2), {2026, 12, 7, 0, 0}, false},
        {"inactive", Task().inactive(), {2026, 12, 7, 0, 0}, false},
    });
}

// "L" names the last day of each month, beside day numbers or alone; both
// entry points read it alike. Other items with an "L" name no day.
TEST(DateGate, LastDayItemMatchesTheLastDayOfEachMonthOf2024And2026) {
    struct Year {
        int year;
        int lastDays[12];
    } const years[] = {
        {2024, {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}},
        {2026, {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}},
    };
    for (const Year& y : years) {
        for (int month = 1; month <= 12; ++month) {
            const int last = y.lastDays[month - 1];
            for (const char* list : {"L", "l", "15,L", " 01 ; l "}) {
                Task task = Task().at(10, 0).weekdays(0).days(list);
                for (int day : {last, last - 1}) {
                    DueContext c = context({y.year, month, day, 10, 0});
                    const bool due = day == last;
                    EXPECT_EQ(due, isDue(task.r, c)) << list << " on " << y.year << "-" << month << "-" << day;
                    EXPECT_EQ(due, passesDayFilter(task.r, c)) << list << " on " << y.year << "-" << month << "-" << day;
                }
            }
        }
    }
    expectDue({
        {"15,L on the 15th", Task().weekdays(0).days("15,L"), {2026, 4, 15, 0, 0}, true},
        {"31 is no last day of April", Task().weekdays(0).days("31"), {2026, 4, 30, 0, 0}, false},
        {"L beside Mondays, on a Monday", Task().weekdays(1).days("L"), {2026, 12, 7, 0, 0}, true},
        {"LL names no day", Task().weekdays(0).days("LL"), {2026, 12, 31, 0, 0}, false},
        {"L5 names no day", Task().weekdays(0).days("L5"), {2026, 12, 31, 0, 0}, false},
        {"L5 is not the 5th", Task().weekdays(0).days("L5"), {2026, 12, 5, 0, 0}, false},
        {"L in another month", Task().weekdays(0).days("L").months(1 << 1), {2026, 12, 31, 0, 0}, false},
        {"February of 2100 has 28 days", Task().weekdays(0).days("L"), {2100, 2, 28, 0, 0}, true},
    });
}

// The first pass after the clock went forward at 02:00 (Europe, 29 March
// 2026): what the skipped hour would have run is due at 03:00.
TEST(DueRule, SkippedMinutesAreMadeUpAtTheFirstPassAfterTheSpringChange) {
    const ZoneRule zone = test::europeanZone();
    auto at = [&zone](int hour, int minute, bool afterChange) {
        DueContext c = context({2026, 3, 29, hour, minute});
        c.zone = &zone;
        if (afterChange) c.skipped = {120, 179};
        return c;
    };
    Task hourly30 = Task().everyHourAt(30);
    Task madeUp30 = Task(hourly30).lastRun(2026, 3, 29, 3, 0);
    struct Case {
        const char* what;
        Task task;
        DueContext when;
        bool due;
    } const cases[] = {
        {"02:30", Task().at(2, 30), at(3, 0, true), true},
        {"02:30, a pass after a sleep", Task().at(2, 30), at(3, 0, false), false},
        {"02:30, outside its interval then", Task().at(2, 30).interval(3, 0, 23, 59), at(3, 0, true), false},
        {"01:30 was not skipped", Task().at(1, 30), at(3, 0, true), false},
        {"every hour at :30", hourly30, at(3, 0, true), true},
        {"every hour at :30, made up at 03:00, at 03:30", madeUp30, at(3, 30, false), true},
        {"... and ran at 03:30", Task(madeUp30).runLater().lastRun(2026, 3, 29, 3, 30), at(3, 31, false), false},
        {"every hour at :00, ran at 03:00", Task().everyHourAt(0).runLater().lastRun(2026, 3, 29, 3, 0),
         at(3, 30, false), false},
        {"startup after the first pass", Task().atStartup(), at(3, 0, true), false},
        {"a cycle keeps its own rhythm", Task().every(90).lastRun(2026, 3, 29, 1, 0), at(3, 0, true), false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.due, isDue(c.task.r, c.when)) << c.what;
}

TEST(DueRule, TimeOfDayRunsOnceADayAndRunLaterMakesItUpTheSameDay) {
    Task daily = Task().at(8, 0);
    Task dailyLater = Task().at(8, 0).runLater();
    expectDue({
        {"at its minute", daily, {2026, 12, 8, 8, 0}, true},
        {"a minute early", daily, {2026, 12, 8, 7, 59}, false},
        {"started at 08:05 without run later", daily, {2026, 12, 8, 8, 5}, false},
        {"started at 08:05 with run later", dailyLater, {2026, 12, 8, 8, 5}, true},
        {"run later never runs early", dailyLater, {2026, 12, 8, 7, 59}, false},
        {"ran at 08:05 today", Task(dailyLater).lastRun(2026, 12, 8, 8, 5), {2026, 12, 8, 8, 6}, false},
        {"ran yesterday, at its minute", Task(daily).lastRun(2026, 12, 7, 8, 0), {2026, 12, 8, 8, 0}, true},
        {"missed two days ago is not made up early the next day",
         Task(dailyLater).lastRun(2026, 12, 6, 8, 0), {2026, 12, 8, 0, 1}, false},
        {"... and runs at its normal time", Task(dailyLater).lastRun(2026, 12, 6, 8, 0), {2026, 12, 8, 8, 0}, true},
        {"same day and month of another year is not today",
         Task(daily).lastRun(2025, 12, 8, 8, 0), {2026, 12, 8, 8, 0}, true},
        {"midnight task at 00:00", Task().at(0, 0), {2026, 12, 8, 0, 0}, true},
        {"last minute of the day", Task().at(23, 59), {2026, 12, 8, 23, 59}, true},
    });
}

TEST(DueRule, EditedMarkLetsADailyTaskRunAgainToday) {
    // The Day and time page applied at 14:00 resets the year and sets the mark.
    Task appliedLater = Task().at(8, 0).runLater().edited();
    Task applied = Task().at(8, 0).edited();
    Task ranTodayEdited = Task().at(8, 0).runLater().edited().lastRun(2026, 12, 8, 8, 0);
    expectDue({
        {"applied with run later: due at the next pass", appliedLater, {2026, 12, 8, 14, 1}, true},
        {"applied without run later: not today", applied, {2026, 12, 8, 14, 1}, false},
        {"applied without run later: 08:00 the next day", applied, {2026, 12, 9, 8, 0}, true},
        {"ran today, edited, run later", ranTodayEdited, {2026, 12, 8, 9, 0}, true},
        {"ran today, edited, no run later, after its time",
         Task().at(8, 0).edited().lastRun(2026, 12, 8, 8, 0), {2026, 12, 8, 9, 0}, false},
    });
}

TEST(DueRule, EveryHourRunsAtMinuteMOncePerHour) {
    Task at30Later = Task().everyHourAt(30).runLater().lastRun(2026, 12, 8, 9, 30);
    Task at30 = Task().everyHourAt(30).lastRun(2026, 12, 8, 9, 30);
    expectDue({
        {"started 10:45 after 09:30, run later", at30Later, {2026, 12, 8, 10, 45}, true},
        {"started 10:45 after 09:30, no run later", at30, {2026, 12, 8, 10, 45}, false},
        {"after the 10:45 run, 10:46", Task(at30Later).lastRun(2026, 12, 8, 10, 45), {2026, 12, 8, 10, 46}, false},
        {"after the 10:45 run, 11:00", Task(at30Later).lastRun(2026, 12, 8, 10, 45), {2026, 12, 8, 11, 0}, false},
        {"after the 10:45 run, 11:30", Task(at30Later).lastRun(2026, 12, 8, 10, 45), {2026, 12, 8, 11, 30}, true},
        {"at minute m", at30, {2026, 12, 8, 10, 30}, true},
        {"same hour of another day is not this hour", Task(at30).lastRun(2026, 12, 7, 10, 30), {2026, 12, 8, 10, 30}, true},
        {"minute 0 every hour", Task().everyHourAt(0), {2026, 12, 8, 0, 0}, true},
        {"minute 59", Task().everyHourAt(59), {2026, 12, 8, 13, 59}, true},
        {"edited mark does not repeat within the hour",
         Task().everyHourAt(30).edited().runLater().lastRun(2026, 12, 8, 10, 30), {2026, 12, 8, 10, 40}, false},
    });
}

TEST(DueRule, ActivityIntervalIncludesItsLimitsAndInvertedExcludesOnlyTheInside) {
    Task inverted9to5 = Task().interval(9, 0, 17, 0, true);
    expectDue({
        {"inverted 09:00..17:00, task at 09:00", Task(inverted9to5).at(9, 0), {2026, 12, 8, 9, 0}, true},
        {"inverted 09:00..17:00, task at 17:00", Task(inverted9to5).at(17, 0), {2026, 12, 8, 17, 0}, true},
        {"inverted 09:00..17:00, task at 12:00", Task(inverted9to5).at(12, 0), {2026, 12, 8, 12, 0}, false},
        {"inverted 09:00..17:00, task at 08:59", Task(inverted9to5).at(8, 59), {2026, 12, 8, 8, 59}, true},
        {"09:00..17:00, task at 09:00", Task().interval(9, 0, 17, 0).at(9, 0), {2026, 12, 8, 9, 0}, true},
        {"09:00..17:00, task at 17:00", Task().interval(9, 0, 17, 0).at(17, 0), {2026, 12, 8, 17, 0}, true},
        {"09:00..17:00, task at 17:01", Task().interval(9, 0, 17, 0).at(17, 1), {2026, 12, 8, 17, 1}, false},
        {"09:00..17:00, task at 08:59 made up at 09:00",
         Task().interval(9, 0, 17, 0).at(8, 59).runLater(), {2026, 12, 8, 9, 0}, true},
    });

    Task everyMinuteOutsideTheDay = Task().every(1).interval(0, 0, 23, 59, true);
    int dueMinutes = 0;
    for (int n = 0; n < 1440; ++n) {
        bool due = isDue(everyMinuteOutsideTheDay.r, context({2026, 12, 8, n / 60, n % 60}));
        if (due) {
            ++dueMinutes;
            EXPECT_TRUE(n == 0 || n == 1439) << "due at minute " << n;
        }
    }
    EXPECT_EQ(2, dueMinutes) << "the full-day interval inverted leaves 00:00 and 23:59";
}

TEST(DueRule, CycleIsAnchoredToTheLastLaunch) {
    Task every90 = Task().every(90).lastRun(2026, 12, 8, 10, 0);
    Task every90Later = Task(every90).runLater();
    Task every60Later = Task().every(60).runLater().lastRun(2026, 12, 8, 10, 0);
    expectDue({
        {"90 min after 10:00: 11:30", every90, {2026, 12, 8, 11, 30}, true},
        {"90 min after 10:00: 13:00", every90, {2026, 12, 8, 13, 0}, true},
        {"11:31 without run later", every90, {2026, 12, 8, 11, 31}, false},
        {"11:31 with run later (11:30 missed)", every90Later, {2026, 12, 8, 11, 31}, true},
        {"11:29 with run later", every90Later, {2026, 12, 8, 11, 29}, false},
        {"the day after, on the rhythm", every90, {2026, 12, 9, 10, 0}, true},
        {"made up at 12:17", every60Later, {2026, 12, 8, 12, 17}, true},
        {"next run an hour after the made-up one",
         Task(every60Later).lastRun(2026, 12, 8, 12, 17), {2026, 12, 8, 13, 17}, true},
        {"... not in the earlier rhythm",
         Task(every60Later).lastRun(2026, 12, 8, 12, 17), {2026, 12, 8, 13, 0}, false},
        {"never ran (year 1900)", Task().every(90), {2026, 12, 8, 11, 7}, true},
        {"new year, whatever the period",
         Task().every(20).lastRun(2026, 12, 31, 23, 50), {2027, 1, 1, 0, 0}, true},
        {"period of 25 hours (time 1500 with the cycle flag)",
         Task().every(1500).lastRun(2026, 12, 7, 10, 0), {2026, 12, 8, 11, 0}, true},
        {"cycle paused outside its interval",
         Task(every90).interval(12, 0, 23, 59), {2026, 12, 8, 11, 30}, false},
        {"cycle with run later resumes at the interval's first minute",
         Task(every90Later).interval(12, 0, 23, 59), {2026, 12, 8, 12, 0}, true},
    });
}

TEST(DueRule, YearsDivisibleByFourCountTheLeapDay) {
    Task hourly = Task().every(60).lastRun(2028, 2, 28, 23, 30);
    expectDue({
        {"29 Feb 00:30", hourly, {2028, 2, 29, 0, 30}, true},
        {"1 Mar 00:30 is 1500 minutes later", hourly, {2028, 3, 1, 0, 30}, true},
        {"1 Mar 00:31", hourly, {2028, 3, 1, 0, 31}, false},
        {"both after February", Task().every(1440).lastRun(2028, 3, 1, 8, 0), {2028, 3, 2, 8, 0}, true},
        {"common year: 28 Feb to 1 Mar is one day, not two",
         Task().every(2880).lastRun(2027, 2, 28, 8, 0), {2027, 3, 1, 8, 0}, false},
        {"leap year: 28 Feb to 1 Mar is two days",
         Task().every(2880).lastRun(2028, 2, 28, 8, 0), {2028, 3, 1, 8, 0}, true},
    });
}

TEST(DueRule, StartupTasksRunOnlyInTheFirstPass) {
    struct StartupCase {
        const char* what;
        Task task;
        bool firstPass;
        SchedulerRole role;
        std::uint32_t uptimeMs;
        bool due;
    };
    const SchedulerRole user = SchedulerRole::User, system = SchedulerRole::System;
    Task startup = Task().atStartup();
    Task ranToday = Task().atStartup().lastRun(2026, 12, 8, 7, 0);
    std::vector<StartupCase> cases = {
        {"system, up 2 minutes", startup, true, system, 120000, true},
        {"system, up exactly 3 minutes", startup, true, system, 180000, true},
        {"system, up 4 minutes", startup, true, system, 240000, false},
        {"user, up for hours", startup, true, user, 36000000, true},
        {"not the first pass", startup, false, user, 1000, false},
        {"ran today", ranToday, true, user, 1000, false},
        {"ran today, every logon (run later)", Task(ranToday).runLater(), true, user, 1000, true},
        {"ran today, edited", Task(ranToday).edited(), true, user, 1000, true},
        {"ran yesterday", Task().atStartup().lastRun(2026, 12, 7, 7, 0), true, user, 1000, true},
        {"outside its interval", Task().atStartup().interval(12, 0, 13, 0), true, user, 1000, false},
        {"cycle flag makes 1560 a period, not startup", Task().every(kTimeStartup), false, user, 1000, true},
    };
    for (const StartupCase& c : cases) {
        DueContext ctx = context({2026, 12, 8, 10, 0}, c.firstPass, c.role, c.uptimeMs);
        EXPECT_EQ(c.due, isDue(c.task.r, ctx)) << c.what;
    }
}

TEST(DayFilter, KeepsWhatCanStillBecomeDueToday) {
    struct KeepCase {
        const char* what;
        Task task;
        bool firstPass;
        std::uint32_t uptimeMs;
        bool keep;
    };
    Task ranToday = Task().at(8, 0).lastRun(2026, 12, 8, 8, 0);
    std::vector<KeepCase> cases = {
        {"not run today", Task().at(8, 0), false, 0, true},
        {"ran today", ranToday, false, 0, false},
        {"ran today, edited", Task(ranToday).edited(), false, 0, true},
        {"ran today, run later does not matter", Task(ranToday).runLater(), false, 0, false},
        {"every hour, ran today", Task().everyHourAt(5).lastRun(2026, 12, 8, 9, 5), false, 0, true},
        {"cycle, ran today", Task().every(30).lastRun(2026, 12, 8, 9, 5), false, 0, true},
        {"time already passed is still kept", Task().at(1, 0), false, 0, true},
        {"interval is not looked at", Task().at(8, 0).interval(12, 0, 13, 0), false, 0, true},
        {"inactive", Task().inactive(), false, 0, false},
        {"other month", Task().months(1), false, 0, false},
        {"other weekday", Task().weekdays(1), false, 0, false},
        {"startup, first pass, system up 2 min", Task().atStartup(), true, 120000, true},
        {"startup, first pass, system up 4 min", Task().atStartup(), true, 240000, false},
        {"startup, later reload, not run today", Task().atStartup(), false, 240000, true},
        {"startup, later reload, ran today", Task().atStartup().lastRun(2026, 12, 8, 7, 0), false, 0, false},
    };
    for (const KeepCase& c : cases) {
        DueContext ctx = context({2026, 12, 8, 10, 0}, c.firstPass, SchedulerRole::System, c.uptimeMs);
        EXPECT_EQ(c.keep, passesDayFilter(c.task.r, ctx)) << c.what;
        TaskRecord copy = c.task.r;
        EXPECT_EQ(c.keep, DayFilter(ctx).accept(copy)) << c.what;
        EXPECT_EQ(0, std::memcmp(&copy, &c.task.r, kRecordSize)) << "the filter changes nothing";
    }
}

TEST(DueRule, HandEditedRecordsAreNeverDueAndNeverCrash) {
    TaskRecord noNul = Task().weekdays(0).r;
    std::memset(noNul.daysOfMonth, '1', sizeof noNul.daysOfMonth);  // no terminating NUL
    std::memset(noNul.name, 'n', sizeof noNul.name);

    // Values the Terminal never stores.
    std::vector<DueCase> cases = {
        {"cycle period 0", Task().every(0), {2026, 12, 8, 10, 0}, false},
        {"negative cycle period", Task().every(-90), {2026, 12, 8, 10, 0}, false},
        {"hour code 24", Task().time(24 * 60 + 5), {2026, 12, 8, 0, 5}, false},
        {"hour code 27", Task().time(27 * 60), {2026, 12, 8, 10, 0}, false},
        {"negative time", Task().time(-1).runLater(), {2026, 12, 8, 10, 0}, false},
        {"huge time", Task().time(INT32_MAX).runLater(), {2026, 12, 8, 10, 0}, false},
        {"interval end beyond the day", Task().interval(0, 0, 25, 0), {2026, 12, 8, 10, 0}, false},
        {"negative interval start", Task().interval(-1, 0, 12, 0), {2026, 12, 8, 10, 0}, false},
        {"interval start after its end", Task().interval(12, 0, 9, 0, true), {2026, 12, 8, 10, 0}, false},
        {"cycle with last-run month 13 this year",
         Task().every(60).runLater().lastRun(2026, 13, 1, 0, 0), {2026, 12, 8, 10, 0}, false},
        {"cycle with last-run month -5 this year",
         Task().every(60).runLater().lastRun(2026, -5, 1, 0, 0), {2026, 12, 8, 10, 0}, false},
    };
    for (const DueCase& c : cases) {
        EXPECT_FALSE(isDue(c.task.r, context(c.now, true))) << c.what;
        EXPECT_FALSE(passesDayFilter(c.task.r, context(c.now, true))) << c.what;
    }

    EXPECT_TRUE(isDue(noNul, context({2026, 12, 11, 0, 0}))) << "\"11\" found within the field";
    EXPECT_FALSE(isDue(noNul, context({2026, 12, 12, 0, 0})));
    Task hugePeriod = Task().every(INT32_MAX).runLater().lastRun(2026, 1, 1, 0, 0);
    EXPECT_FALSE(isDue(hugePeriod.r, context({2026, 12, 8, 10, 0}))) << "no overflow of last + period";

    // Every byte pattern in the schedule fields: no crash, no division by zero.
    TaskRecord r = Task().r;
    for (int32_t time : {INT32_MIN, -1, 0, 1, 1439, 1440, 1500, 1559, 1560, 1619, 1620, INT32_MAX})
        for (int8_t cycle : {0, 1, -1})
            for (int8_t lastMonth : {-128, 0, 1, 12, 13, 127}) {
                r.time = time;
                r.cycle = cycle;
                r.lastMonth = lastMonth;
                r.lastYear = 126;
                r.runLater = 1;
                DueContext ctx = context({2026, 12, 8, 10, 0}, true);
                isDue(r, ctx);
                passesDayFilter(r, ctx);
            }
}

}  // namespace
}  // namespace kzo
