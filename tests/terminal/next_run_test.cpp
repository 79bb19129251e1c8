// The next run, held against the due test itself: the minute it names is due,
// and no minute before it is. And the line the Terminal shows for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "minute_walk.h"
#include "next_run.h"
#include "next_run_text.h"
#include "zones.h"

namespace kzo {
namespace {

TaskRecord task(int32_t time, int weekdays = 127, const char* days = "", int months = 0) {
    TaskRecord r = newTaskRecord(1);
    r.time = time;
    r.weekdays = static_cast<int8_t>(weekdays);
    setField(r.daysOfMonth, days);
    r.months = months;
    r.runLater = 0;
    r.edited = 0;
    return r;
}

TaskRecord lastRun(TaskRecord r, int year, int month, int day, int hour, int minute) {
    r.lastYear = year - 1900;
    r.lastMonth = static_cast<int8_t>(month);
    r.lastDay = static_cast<int8_t>(day);
    r.lastHour = static_cast<int8_t>(hour);
    r.lastMinute = static_cast<int8_t>(minute);
    return r;
}

TaskRecord cycle(int32_t period) {
    TaskRecord r = task(period);
    r.cycle = 1;
    return r;
}

DueContext at(int year, int month, int day, int hour, int minute) {
    DueContext c;
    c.now = launchTimeAt(year, month, day, hour, minute, 30);
    return c;
}

std::string when(const NextRun& next) {
    static const char* const kKinds[] = {"", "startup", "inactive", "none"};
    if (next.kind != NextRunKind::At) return kKinds[static_cast<int>(next.kind)];
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", static_cast<int>(next.when.year),
                  static_cast<int>(next.when.month), static_cast<int>(next.when.day),
                  static_cast<int>(next.when.hour), static_cast<int>(next.when.minute));
    return text;
}

// 2026-12-05 is a Saturday.
TEST(NextRun, NamesTheFirstDueMinuteOrWhyThereIsNone) {
    TaskRecord editedRunLater = task(480);
    editedRunLater.runLater = editedRunLater.edited = 1;
    TaskRecord inactive = task(600);
    inactive.active = 0;
    TaskRecord outsideInterval = task(1439);
    outsideInterval.intervalEnd = 1438;
    const int december = 1 << 11, february = 1 << 1;
    struct Case {
        const char* what;
        TaskRecord record;
        DueContext from;
        const char* next;
    } const cases[] = {
        {"weekday task on a Saturday", task(425, 31), at(2026, 12, 5, 12, 0), "2026-12-07 07:05"},
        {"its own minute counts", task(425, 31), at(2026, 12, 7, 7, 5), "2026-12-07 07:05"},
        {"every hour, ran this hour", lastRun(task(1530), 2026, 12, 5, 10, 30), at(2026, 12, 5, 10, 40),
         "2026-12-05 11:30"},
        {"cycle of 90 minutes", lastRun(cycle(90), 2026, 12, 5, 10, 0), at(2026, 12, 5, 10, 1), "2026-12-05 11:30"},
        {"cycle into a new year", lastRun(cycle(20), 2026, 12, 31, 23, 50), at(2026, 12, 31, 23, 55),
         "2027-01-01 00:00"},
        {"edited, run later, time passed", editedRunLater, at(2026, 12, 5, 9, 0), "2026-12-05 09:00"},
        {"once a year", task(600, 0, "31", december), at(2026, 1, 1, 0, 0), "2026-12-31 10:00"},
        {"once a year, just missed", task(600, 0, "31", december), at(2026, 12, 31, 10, 1), "2027-12-31 10:00"},
        {"29 February, not within a year", task(600, 0, "29", february), at(2026, 3, 1, 0, 0), "none"},
        {"29 February of a leap year", task(600, 0, "29", february), at(2027, 3, 1, 0, 0), "2028-02-29 10:00"},
        {"no day", task(600, 0), at(2026, 12, 5, 0, 0), "none"},
        {"inactive", inactive, at(2026, 12, 5, 0, 0), "inactive"},
        {"startup", task(kTimeStartup), at(2026, 12, 5, 0, 0), "startup"},
        {"startup on no day", task(kTimeStartup, 0, "30", february), at(2026, 12, 5, 0, 0), "none"},
        {"time outside the interval", outsideInterval, at(2026, 12, 5, 0, 0), "none"},
        {"hand-edited hour code", task(1480), at(2026, 12, 5, 0, 0), "none"},
        {"no such date", task(425), at(2026, 2, 30, 0, 0), "none"},
        {"last day of February", task(600, 0, "L"), at(2026, 2, 10, 0, 0), "2026-02-28 10:00"},
        {"last day of February, a leap year", task(600, 0, "l"), at(2024, 2, 10, 0, 0), "2024-02-29 10:00"},
        {"15th or last day, after the 15th", task(600, 0, "15,L"), at(2026, 4, 16, 0, 0), "2026-04-30 10:00"},
        {"last day of February, from March", task(600, 0, "L", february), at(2026, 3, 1, 0, 0), "2027-02-28 10:00"},
        {"LL names no day", task(600, 0, "LL"), at(2026, 4, 1, 0, 0), "none"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.next, when(findNextRun(c.record, c.from))) << c.what;
}

// Across the clock's changes in Europe (29 March and 25 October 2026): the
// skipped hour's times at 03:00, the repeated hour's once, a cycle in real time.
TEST(NextRun, MeetsTheClockChangesOfTheZone) {
    const ZoneRule europe = test::europeanZone();
    TaskRecord hourly30 = task(kTimeEveryHour + 30);
    struct Case {
        const char* what;
        TaskRecord record;
        DueContext from;
        const char* next;
    } const cases[] = {
        {"02:30 on the spring day", task(150), at(2026, 3, 28, 12, 0), "2026-03-29 03:00"},
        {"02:30 once the spring day's 03:00 passed", task(150), at(2026, 3, 29, 3, 1), "2026-03-30 02:30"},
        {"every hour at :30, from 01:45", hourly30, at(2026, 3, 29, 1, 45), "2026-03-29 03:00"},
        {"every hour at :30, made up at 03:00", lastRun(hourly30, 2026, 3, 29, 3, 0), at(2026, 3, 29, 3, 1),
         "2026-03-29 03:30"},
        {"01:30 on the spring day", task(90), at(2026, 3, 29, 0, 0), "2026-03-29 01:30"},
        {"cycle of 90 minutes across the spring change", lastRun(cycle(90), 2026, 3, 29, 1, 0), at(2026, 3, 29, 1, 1),
         "2026-03-29 03:30"},
        {"02:30 on the autumn day", task(150), at(2026, 10, 25, 0, 0), "2026-10-25 02:30"},
        {"02:30 ran in the first pass", lastRun(task(150), 2026, 10, 25, 2, 30), at(2026, 10, 25, 2, 31),
         "2026-10-26 02:30"},
        {"cycle of 90 minutes into the second pass", lastRun(cycle(90), 2026, 10, 25, 1, 30), at(2026, 10, 25, 1, 31),
         "2026-10-25 02:00"},
        {"cycle of a day across the autumn change", lastRun(cycle(1440), 2026, 10, 24, 12, 0),
         at(2026, 10, 25, 0, 0), "2026-10-25 11:00"},
    };
    for (const Case& c : cases) {
        DueContext from = c.from;
        from.zone = &europe;
        EXPECT_EQ(c.next, when(findNextRun(c.record, from))) << c.what;
    }
    TaskRecord daily0230 = task(150);
    EXPECT_EQ("Next run: Sun 29.03.2026 03:00",
              nextRunText(daily0230, launchTimeAt(2026, 3, 29, 1, 59, 0), SchedulerRole::User, false, &europe));
    EXPECT_EQ("Next run: Sun 29.03.2026 02:30",
              nextRunText(daily0230, launchTimeAt(2026, 3, 29, 1, 59, 0), SchedulerRole::User, false));
}

// Random records, sensible most of the time and garbage some of the time, with
// last runs around the moment asked about.
struct RandomTasks {
    std::mt19937 random;
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    int8_t byte(int percentSensible, int low, int high) {
        return static_cast<int8_t>(chance(percentSensible) ? pick(low, high) : pick(-128, 127));
    }

    TaskRecord record(const LaunchTime& now) {
        static const char* const kDays[] = {"", "05", "01,15,31", "29", "31", "0", "1", "30,31", "x5"};
        TaskRecord r{};
        r.active = byte(95, 1, 1);
        r.weekdays = chance(30) ? 127 : byte(50, 0, 0);
        setField(r.daysOfMonth, kDays[pick(0, 8)]);
        r.months = chance(50) ? 0 : chance(90) ? pick(1, 4095) : pick(-100000, 100000);
        int kind = pick(0, 9);
        r.cycle = kind >= 5 && kind <= 7 ? 1 : kind == 8 ? byte(0, 0, 0) : 0;
        r.time = kind < 3 ? pick(0, 1439) : kind == 3 ? kTimeEveryHour + pick(0, 59)
                 : kind == 4 ? kTimeStartup : kind < 7 ? pick(1, 240) : chance(50) ? pick(1, 5999)
                 : pick(-100000, 2000000);
        r.runLater = byte(95, 0, 1);
        r.intervalStart = chance(40) ? 0 : chance(90) ? pick(0, 1439) : pick(-50, 1500);
        r.intervalEnd = chance(90) ? pick(std::max(0, r.intervalStart), 1439) : pick(-50, 1500);
        r.invert = static_cast<int8_t>(chance(25));
        r.edited = static_cast<int8_t>(chance(30));
        bool recent = chance(70);  // today, this hour, or earlier this year; else anything
        r.lastYear = recent ? now.year - 1900 : chance(50) ? 0 : pick(-5, 300);
        r.lastMonth = recent ? static_cast<int8_t>(chance(60) ? now.month : pick(1, now.month)) : byte(80, 1, 12);
        r.lastDay = recent && r.lastMonth == now.month ? static_cast<int8_t>(now.day) : byte(90, 1, 28);
        r.lastHour = recent && chance(50) ? static_cast<int8_t>(now.hour) : byte(90, 0, 23);
        r.lastMinute = byte(90, 0, 59);
        return r;
    }

    LaunchTime moment() {
        static const int kYears[] = {2024, 2025, 2026, 2027, 2028, 2099, 2100};
        static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int year = kYears[pick(0, 6)];
        int month = chance(20) ? (chance(50) ? 12 : 2) : pick(1, 12);
        int day = std::min(chance(20) ? pick(27, 31) : pick(1, 31), kDays[month - 1]);
        bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        if (month == 2 && !leap) day = std::min(day, 28);
        return launchTimeAt(year, month, day, chance(20) ? 23 : pick(0, 23), pick(0, 59), pick(0, 59));
    }
};

std::string describe(const TaskRecord& r, const LaunchTime& t) {
    char text[300];
    std::snprintf(text, sizeof text,
                  "from %d-%d-%d %d:%d: active %d weekdays %d days '%s' months %d time %d cycle %d "
                  "runLater %d interval %d..%d invert %d edited %d last %d-%d-%d %d:%d",
                  static_cast<int>(t.year), static_cast<int>(t.month), static_cast<int>(t.day),
                  static_cast<int>(t.hour), static_cast<int>(t.minute), r.active, r.weekdays,
                  fieldText(r.daysOfMonth).c_str(), r.months, r.time, r.cycle, r.runLater, r.intervalStart,
                  r.intervalEnd, r.invert, r.edited, r.lastYear + 1900, r.lastMonth, r.lastDay, r.lastHour,
                  r.lastMinute);
    return text;
}

// The walk from `from`, on the whole minute.
NextRun bruteForce(const TaskRecord& r, DueContext c, int minutes) {
    c.now.second = 0;
    return test::walkToNextRun(r, c, minutes);
}

struct RandomCase {
    TaskRecord record;
    DueContext from;
};

const ZoneRule kEurope = test::europeanZone();
const ZoneRule kNorthAmerica = test::northAmericanZone();

RandomCase randomCase(RandomTasks& tasks) {
    RandomCase c;
    c.from.now = tasks.moment();
    if (tasks.chance(40)) {
        // Around a change of a zone's clock, from two days before.
        static const int kChanges[][4] = {{0, 2026, 3, 27}, {0, 2026, 10, 23}, {1, 2024, 3, 8}, {1, 2024, 11, 1}};
        const int* change = kChanges[tasks.pick(0, 3)];
        c.from.zone = change[0] == 0 ? &kEurope : &kNorthAmerica;
        c.from.now = launchTimeAt(change[1], change[2], change[3] + tasks.pick(0, 2), tasks.pick(0, 23),
                                  tasks.pick(0, 59), 0);
    }
    c.from.role = tasks.chance(50) ? SchedulerRole::User : SchedulerRole::System;
    c.from.uptimeMs = static_cast<std::uint64_t>(tasks.pick(0, 400000));
    c.record = tasks.record(c.from.now);
    return c;
}

// The named minute is due, and the due test accepts no minute before it within
// the horizon (nor any within it when none is named there).
void expectAgreement(const RandomCase& c, int horizonMinutes) {
    NextRun next = findNextRun(c.record, c.from);
    NextRun truth = bruteForce(c.record, c.from, horizonMinutes);
    const std::string what = describe(c.record, c.from.now) +
                             (c.from.zone == &kEurope ? " Europe" : c.from.zone ? " North America" : "");
    if (truth.kind == NextRunKind::At) {
        ASSERT_EQ(when(truth), when(next)) << what;
    } else if (next.kind == NextRunKind::At) {
        const LaunchTime& t = next.when;
        const bool changeDay = c.from.zone && (!clockChangeOn(*c.from.zone, t.year, t.month, t.day).skipped.empty() ||
                                               !clockChangeOn(*c.from.zone, t.year, t.month, t.day).repeated.empty());
        DueContext check = c.from;
        check.now = next.when;
        if (!changeDay) {
            ASSERT_TRUE(isDue(c.record, check)) << what << ": next " << when(next);
        }
    }
    ASSERT_EQ(next.kind == NextRunKind::Inactive, c.record.active == 0) << what;
}

TEST(NextRun, AgreesWithTheDueTestMinuteByMinuteOverThreeDays) {
    RandomTasks tasks{std::mt19937(20261209)};
    for (int i = 0; i < 3000; ++i) expectAgreement(randomCase(tasks), 3 * 1440);
}

// The records not due within three days, over the whole year searched.
TEST(NextRun, AgreesWithTheDueTestOverAWholeYearWhereItIsLate) {
    RandomTasks tasks{std::mt19937(4242)};
    for (int late = 0; late < 40;) {
        RandomCase c = randomCase(tasks);
        if (!c.record.active || !passesDayFilter(c.record, c.from) ||
            bruteForce(c.record, c.from, 3 * 1440).kind == NextRunKind::At)
            continue;
        ++late;
        expectAgreement(c, (kNextRunDays + 1) * 1440);
    }
}

TEST(NextRunText, ShowsTheMinuteInTheClockOfTheAmpmSetting) {
    struct Case {
        int hour, minute;
        bool ampm;
        const char* text;
    } const cases[] = {
        {7, 5, false, "Next run: Wed 09.12.2026 07:05"},    {7, 5, true, "Next run: Wed 09.12.2026 07:05AM"},
        {0, 30, true, "Next run: Wed 09.12.2026 12:30AM"},  {12, 5, true, "Next run: Wed 09.12.2026 12:05PM"},
        {13, 30, true, "Next run: Wed 09.12.2026 01:30PM"}, {23, 59, false, "Next run: Wed 09.12.2026 23:59"},
    };
    for (const Case& c : cases) {
        NextRun next{NextRunKind::At, launchTimeAt(2026, 12, 9, c.hour, c.minute)};
        EXPECT_EQ(c.text, nextRunText(next, SchedulerRole::User, c.ampm));
    }
    EXPECT_EQ("Next run: at user logon", nextRunText({NextRunKind::AtStartup, {}}, SchedulerRole::User, false));
    EXPECT_EQ("Next run: at system startup", nextRunText({NextRunKind::AtStartup, {}}, SchedulerRole::System, false));
}

TEST(NextRunText, CountsFromTheMinuteAfterNow) {
    EXPECT_EQ("Next run: Thu 10.12.2026 07:05",
              nextRunText(task(425), launchTimeAt(2026, 12, 9, 7, 5, 0), SchedulerRole::User, false));
    EXPECT_EQ("Next run: Wed 09.12.2026 07:05",
              nextRunText(task(425), launchTimeAt(2026, 12, 9, 7, 4, 59), SchedulerRole::User, false));
    EXPECT_EQ("Next run: Fri 01.01.2027 12:00AM",
              nextRunText(task(0), launchTimeAt(2026, 12, 31, 23, 59, 0), SchedulerRole::User, true));
}

}  // namespace
}  // namespace kzo
