// The Day and time page and the activity interval dialog as functions of their
// controls: what a record shows, what Apply stores or refuses, and the question
// about the activity interval.
#include <gtest/gtest.h>

#include <string>

#include "day_list.h"
#include "day_time_rules.h"

namespace kzo {
namespace {

// A task the sheet opens: Monday to Friday at 08:00, full-day interval, last
// run on 3 March 2026 (the year Apply resets).
TaskRecord sheetTask() {
    TaskRecord r = newTaskRecord(1);
    r.weekdays = 31;
    r.time = 480;
    r.months = 4095;
    r.lastYear = 126;
    r.lastMonth = 3;
    r.edited = 0;
    return r;
}

DayTimeControls typed(const char* hour, const char* minute, const char* days = "", int weekdays = 127) {
    DayTimeControls c;
    c.weekdays = weekdays;
    c.months = 4095;
    c.hour = hour;
    c.minute = minute;
    c.days = days;
    return c;
}

TEST(DayTimeApply, StoresTheTimeOrRefusesTheBoxes) {
    struct Case {
        const char *hour, *minute;
        bool cycle, ampm, pm;
        int message;
        int32_t time;
    } const cases[] = {
        {"7", "05", 0, 0, 0, 0, 425},     {" 7 ", " 5", 0, 0, 0, 0, 425},   {"007", "5", 0, 0, 0, 0, 425},
        {"23", "59", 0, 0, 0, 0, 1439},   {"*", "15", 0, 0, 0, 0, 1515},    {"**", "0", 0, 0, 0, 0, 1500},
        {"*", "15", 1, 0, 0, kMsgInvalidTime, 0},  // no every-hour cycle
        {"* *", "0", 0, 0, 0, kMsgInvalidTime, 0}, {"9*", "0", 0, 0, 0, kMsgInvalidTime, 0},
        {"-1", "0", 0, 0, 0, kMsgInvalidTime, 0},  {"", "0", 0, 0, 0, kMsgInvalidTime, 0},
        {"24", "0", 0, 0, 0, kMsgInvalidTime, 0},  {"25", "0", 0, 0, 0, kMsgInvalidTime, 0},
        {"26", "0", 0, 0, 0, kMsgInvalidTime, 0},  {"99999999999", "0", 0, 0, 0, kMsgInvalidTime, 0},
        {"7", "60", 0, 0, 0, kMsgInvalidTime, 0},  {"7", "1e3", 0, 0, 0, kMsgInvalidTime, 0},
        {"7", "", 0, 0, 0, kMsgInvalidTime, 0},
        // The 12-hour clock.
        {"12", "00", 0, 1, 0, 0, 0},      {"12", "30", 0, 1, 1, 0, 750},    {"1", "00", 0, 1, 1, 0, 780},
        {"11", "59", 0, 1, 1, 0, 1439},   {"*", "10", 0, 1, 1, 0, 1510},
        {"0", "00", 0, 1, 0, kMsgInvalidTime, 0},  {"13", "00", 0, 1, 1, kMsgInvalidTime, 0},
        // Cycles: hours and minutes of a period, whatever the clock.
        {"1", "30", 1, 0, 0, 0, 90},      {"13", "00", 1, 1, 0, 0, 780},    {"99", "59", 1, 0, 0, 0, 5999},
        {"100", "0", 1, 0, 0, kMsgInvalidTime, 0}, {"0", "00", 1, 0, 0, kMsgZeroCycle, 0},
    };
    for (const Case& c : cases) {
        TaskRecord r = sheetTask();
        DayTimeControls controls = typed(c.hour, c.minute);
        controls.cycle = c.cycle;
        controls.pm = c.pm;
        DayTimeOutcome out = applyDayTime(controls, c.ampm, r, [] { return false; });
        std::string what = std::string("'") + c.hour + "':'" + c.minute + "' cycle " +
                           std::to_string(c.cycle) + " ampm " + std::to_string(c.ampm);
        EXPECT_EQ(c.message, out.messageId) << what;
        EXPECT_EQ(c.message ? ApplyResult::Refused : ApplyResult::Accepted, out.result) << what;
        EXPECT_EQ(c.message ? 480 : c.time, r.time) << what;
    }
}

TEST(DayTimeApply, ChecksTheTimeBeforeTheDaysAndStartupIgnoresTheBoxes) {
    TaskRecord r = sheetTask();
    EXPECT_EQ(kMsgInvalidTime, applyDayTime(typed("25", "00", "x", 0), false, r, nullptr).messageId);
    DayTimeControls startup = typed("9*", "junk", "1", 0);
    startup.startup = startup.cycle = true;
    EXPECT_EQ(ApplyResult::Accepted, applyDayTime(startup, true, r, nullptr).result);
    EXPECT_EQ(kTimeStartup, r.time);
    EXPECT_EQ(0, r.cycle);  // a startup task is never a 26-hour cycle
}

TEST(DayTimeApply, RefusalKeepsTheFirstStepsAndAcceptanceWritesTheRest) {
    TaskRecord r = sheetTask();
    setField(r.daysOfMonth, "15");
    DayTimeControls c = typed("7", "00", "1-5", 0);
    c.cycle = true;
    c.months = 0x801;
    EXPECT_EQ(kMsgInvalidDayCharacter, applyDayTime(c, false, r, nullptr).messageId);
    EXPECT_EQ(0, r.weekdays);  // written: weekdays, run later and cycle
    EXPECT_EQ(1, r.cycle);
    EXPECT_EQ(0, r.runLater);
    EXPECT_EQ(480, r.time);    // kept: nothing the due test would misread
    EXPECT_STREQ("15", r.daysOfMonth);
    EXPECT_EQ(4095, r.months);
    EXPECT_EQ(126, r.lastYear);

    c.days = " 1; 15,7 ";
    EXPECT_EQ(ApplyResult::Accepted, applyDayTime(c, false, r, nullptr).result);
    EXPECT_EQ(420, r.time);
    EXPECT_STREQ("01,15,07", r.daysOfMonth);
    EXPECT_EQ(0x801, r.months);
    EXPECT_EQ(0, r.lastYear);
    EXPECT_EQ(3, r.lastMonth);  // the rest of the stamp stays
}

TEST(DayTimeApply, AsksWhenTheIntervalKeepsTheTaskFromItsTime) {
    struct Case {
        const char* what;
        const char* hour;
        bool cycle;
        int32_t start, end;
        bool invert, asked;
    } const cases[] = {
        {"after the interval", "20", false, 540, 1020, false, true},
        {"before the interval", "7", false, 540, 1020, false, true},
        {"at its limits", "17", false, 540, 1020, false, false},
        {"outside an inverted interval", "20", false, 540, 1020, true, false},
        {"at an inverted interval's limit", "9", false, 540, 1020, true, false},
        {"inside an inverted interval", "12", false, 540, 1020, true, true},
        {"every hour", "*", false, 540, 1020, false, false},
        {"a cycle", "20", true, 540, 1020, false, false},
        {"a stored interval no schedule can use", "20", true, 2000, 10, false, true},
    };
    for (const Case& c : cases) {
        for (bool yes : {true, false}) {
            TaskRecord r = sheetTask();
            r.intervalStart = c.start;
            r.intervalEnd = c.end;
            r.invert = c.invert;
            DayTimeControls controls = typed(c.hour, "00");
            controls.cycle = c.cycle;
            int asked = 0;
            DayTimeOutcome out = applyDayTime(controls, false, r, [&asked, yes] { return ++asked, yes; });
            EXPECT_EQ(c.asked, asked == 1) << c.what;
            bool declined = c.asked && !yes;
            EXPECT_EQ(declined ? ApplyResult::Declined : ApplyResult::Accepted, out.result) << c.what;
            EXPECT_EQ(0, out.messageId) << c.what;
            EXPECT_EQ(declined, r.time == 480) << c.what;
            bool fullDay = c.asked && yes;
            EXPECT_EQ(fullDay ? 0 : c.start, r.intervalStart) << c.what;
            EXPECT_EQ(fullDay ? 1439 : c.end, r.intervalEnd) << c.what;
            // Never the full day inverted: that task would run at 00:00 and 23:59 only.
            EXPECT_EQ(fullDay ? 0 : c.invert, r.invert) << c.what;
        }
    }
}

TEST(DayTimeControlsFromRecord, ShowsTheSpecialTimesAsTheBoxesHoldThem) {
    struct Case {
        int32_t time;
        bool cycle;
        const char *hour, *minute;
        bool startup;
    } const cases[] = {
        {1515, false, "*", "15", false},     {1560, false, "00", "00", true},   {1575, false, "00", "00", true},
        {90, true, "01", "30", false},       {1560, true, "26", "00", false},  // a 26-hour cycle
        {100000, true, "1666", "40", false},  // hand-edited: shown as it is
    };
    for (const Case& c : cases) {
        TaskRecord r = sheetTask();
        r.time = c.time;
        r.cycle = c.cycle;
        DayTimeControls shown = dayTimeControlsFrom(r, true);
        EXPECT_EQ(c.hour, shown.hour) << c.time;
        EXPECT_EQ(c.minute, shown.minute) << c.time;
        EXPECT_EQ(c.startup, shown.startup) << c.time;
    }
}

TEST(DayTimeControlsFromRecord, ApplyingWhatIsShownStoresTheSameTime) {
    for (bool ampm : {false, true}) {
        for (int32_t time = 0; time <= kTimeStartup; ++time) {
            TaskRecord r = sheetTask();
            r.time = time;
            r.cycle = time > 1439 && time < 1500;  // cycles take the values no time of day has
            TaskRecord stored = r;
            ASSERT_EQ(ApplyResult::Accepted, applyDayTime(dayTimeControlsFrom(r, ampm), ampm, stored, nullptr).result)
                << time;
            EXPECT_EQ(time, stored.time) << time << (ampm ? " AMPM" : "");
            EXPECT_EQ(r.cycle, stored.cycle) << time;
        }
    }
    // The wizard's 00 must be changed before Finish with the AMPM setting on.
    TaskRecord r = newTaskRecord(1);
    DayTimeControls wizard = wizardDayTimeDefaults();
    wizard.days = "1";
    EXPECT_EQ(kMsgInvalidTime, applyDayTime(wizard, true, r, nullptr).messageId);
    EXPECT_EQ(ApplyResult::Accepted, applyDayTime(wizard, false, r, nullptr).result);
    EXPECT_EQ(4095, r.months);
}

TEST(DayTimePreview, IsTheRecordOkWouldStoreWithoutAskingAnything) {
    TaskRecord r = sheetTask();
    r.intervalStart = 540;
    r.intervalEnd = 1020;
    std::optional<TaskRecord> preview = dayTimePreview(typed("20", "00"), false, r);
    ASSERT_TRUE(preview);
    EXPECT_EQ(1200, preview->time);
    EXPECT_EQ(540, preview->intervalStart);  // kept: nobody was asked
    EXPECT_EQ(1, preview->edited);
    EXPECT_EQ(0, preview->lastYear);
    EXPECT_EQ(480, r.time);
    EXPECT_FALSE(dayTimePreview(typed("9*", "00"), false, r));
}

TEST(IntervalDialog, OkChecksEachEndThenFullDayInvertThenTheOrder) {
    struct Case {
        const char *fromHour, *fromMinute;
        bool fromPm;
        const char *toHour, *toMinute;
        bool toPm, invert, ampm;
        int message;
        int32_t start, end;
    } const cases[] = {
        {"09", "00", 0, "17", "00", 0, 0, 0, 0, 540, 1020},
        {"10", "75", 0, "17", "00", 0, 1, 0, 0, 675, 1020},  // 10:75 is 11:15
        {"12", "00", 0, "12", "00", 0, 0, 0, 0, 720, 720},   // equal is accepted
        {"0", "0", 0, "23", "59", 0, 1, 0, kMsgInvertFullDay, 0, 1439},
        {"17", "00", 0, "09", "00", 0, 0, 0, kMsgIntervalOrder, 1020, 540},
        {"23", "60", 0, "23", "59", 0, 0, 0, kMsgInvalidTime, 0, 0},
        {"24", "00", 0, "23", "59", 0, 0, 0, kMsgInvalidTime, 0, 0},
        {"9*", "00", 0, "17", "00", 0, 0, 0, kMsgInvalidTime, 0, 0},
        {"9", "00", 0, "-1", "", 0, 0, 0, kMsgInvalidTime, 0, 0},
        {"9", "00", 0, "5", "00", 1, 0, 1, 0, 540, 1020},
        {"0", "00", 0, "5", "00", 1, 0, 1, kMsgInvalidTime, 0, 0},
        {"12", "00", 1, "12", "00", 0, 0, 1, kMsgIntervalOrder, 720, 0},
    };
    for (const Case& c : cases) {
        IntervalControls controls{{c.fromHour, c.fromMinute, c.fromPm}, {c.toHour, c.toMinute, c.toPm}, c.invert};
        IntervalOutcome out = checkInterval(controls, c.ampm);
        std::string what = std::string(c.fromHour) + ":" + c.fromMinute + "-" + c.toHour + ":" + c.toMinute;
        EXPECT_EQ(c.message, out.messageId) << what;
        if (c.message == kMsgInvalidTime) continue;
        EXPECT_EQ(c.start, out.start) << what;
        EXPECT_EQ(c.end, out.end) << what;
    }
}

TEST(IntervalDialog, FullDayAndTheRecordReadBackInBothClocks) {
    for (bool ampm : {false, true}) {
        IntervalControls c;
        setFullDay(c, ampm);
        IntervalOutcome out = checkInterval(c, ampm);
        EXPECT_EQ(0, out.messageId);
        EXPECT_EQ(0, out.start);
        EXPECT_EQ(1439, out.end);
        for (int32_t start : {0, 1, 59, 60, 719, 720, 721, 779, 780, 1439}) {
            TaskRecord r = sheetTask();
            r.intervalStart = start;
            IntervalOutcome back = checkInterval(intervalControlsFrom(r, ampm), ampm);
            EXPECT_EQ(start, back.start) << start << (ampm ? " AMPM" : "");
            EXPECT_EQ(1439, back.end);
        }
    }
}

TEST(DayTimeSpin, StepsTheServedBoxWithinItsRange) {
    struct Case {
        const char* box;
        int delta;
        SpinRange range;
        const char* shown;
    } const cases[] = {
        {"07", 1, {0, 23}, "08"},   {"7", -1, {0, 23}, "06"},  {" 9 ", 1, {0, 59}, "10"},
        {"23", 1, {0, 23}, "23"},   {"00", -1, {0, 23}, "00"}, {"12", 1, {1, 12}, "12"},
        {"1", -1, {1, 12}, "01"},   {"98", 5, {0, 99}, "99"},  {"75", 1, {0, 59}, "59"},
        // A box without a number starts at the end the click leaves.
        {"*", 1, {0, 23}, "00"},    {"*", -1, {0, 23}, "23"},  {"", 1, {1, 12}, "01"},
        {"9*", -1, {0, 59}, "59"},  {"99999999999", -1, {0, 99}, "99"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shown, spinnedBox(c.box, c.delta, c.range)) << "'" << c.box << "' " << c.delta;
}

}  // namespace
}  // namespace kzo
