#include "day_time_rules.h"

#include <cstdio>

#include "blanks.h"
#include "day_list.h"
#include "hour_format.h"

namespace kzo {

namespace {

constexpr int kMaxCycleHours = 99;
constexpr int kFullDayEnd = kLastMinuteOfDay;

// A number box: trimmed, then decimal digits only; larger values than any box
// holds stay large (capped) rather than wrapping.
std::optional<int> boxNumber(std::string_view text) {
    const std::string trimmed = trimBlanks(text);
    if (trimmed.empty()) return std::nullopt;
    int value = 0;
    for (char c : trimmed) {
        if (c < '0' || c > '9') return std::nullopt;
        if (value < 1000000) value = value * 10 + (c - '0');
    }
    return value;
}

std::string twoDigits(long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%02ld", value);
    return text;
}

bool isEveryHourText(std::string_view text) {
    const std::string trimmed = trimBlanks(text);
    return trimmed == "*" || trimmed == "**";
}

bool validInterval(const TaskRecord& r) {
    return r.intervalStart >= 0 && r.intervalEnd <= kLastMinuteOfDay &&
           r.intervalStart <= r.intervalEnd;
}

// The activity interval keeps the task from running at this minute of the day.
bool intervalBlocks(const TaskRecord& r, int32_t minuteOfDay) {
    if (r.invert) return r.intervalStart < minuteOfDay && minuteOfDay < r.intervalEnd;
    return minuteOfDay < r.intervalStart || minuteOfDay > r.intervalEnd;
}

struct TimeEntry {
    int messageId = 0;
    int32_t time = 0;
    bool timeOfDay = false;  // neither a cycle, nor every hour, nor startup
};

TimeEntry readTime(const DayTimeControls& c, bool ampm, bool cycle) {
    TimeEntry entry;
    if (c.startup) {
        entry.time = kTimeStartup;
        return entry;
    }
    int hour;
    if (!cycle && isEveryHourText(c.hour)) {
        hour = kHourEveryHour;
    } else {
        std::optional<int> typed = boxNumber(c.hour);
        if (!typed) return {kMsgInvalidTime};
        hour = *typed;
        // The codes of every hour and of startup cannot be typed.
        if (!cycle && (hour == kHourEveryHour || hour == kHourStartup)) hour = 27;
        if (!cycle && ampm) hour = fromTwelveHour(hour, c.pm);
        entry.timeOfDay = !cycle;
    }
    bool hourValid = cycle ? hour <= kMaxCycleHours : hour <= 23 || hour == kHourEveryHour;
    if (!hourValid) return {kMsgInvalidTime};
    std::optional<int> minute = boxNumber(c.minute);
    if (!minute || *minute > 59) return {kMsgInvalidTime};
    entry.time = hour * 60 + *minute;
    return entry;
}

// Apply; a null question is the preview, which keeps the interval unasked.
DayTimeOutcome applySteps(const DayTimeControls& c, bool ampm, TaskRecord& record,
                          const FullDayQuestion* askFullDay) {
    const bool cycle = c.cycle && !c.startup;
    record.weekdays = static_cast<int8_t>(c.weekdays & 0x7F);
    record.runLater = c.runLater ? 1 : 0;
    record.cycle = cycle ? 1 : 0;

    TimeEntry time = readTime(c, ampm, cycle);
    if (time.messageId) return {ApplyResult::Refused, time.messageId};

    DaysOfMonthCheck days = checkDaysOfMonth(c.days, record.weekdays);
    if (days.messageId) return {ApplyResult::Refused, days.messageId};

    bool blocked = !validInterval(record) || (time.timeOfDay && intervalBlocks(record, time.time));
    if (blocked && askFullDay) {
        if (!*askFullDay || !(*askFullDay)()) return {ApplyResult::Declined, 0};
        record.intervalStart = 0;
        record.intervalEnd = kFullDayEnd;
        record.invert = 0;
    }

    if (cycle && time.time == 0) return {ApplyResult::Refused, kMsgZeroCycle};

    record.time = time.time;
    setField(record.daysOfMonth, days.stored);
    record.lastYear = 0;
    record.months = c.months & 0xFFF;
    return {ApplyResult::Accepted, 0};
}

}  // namespace

DayTimeControls dayTimeControlsFrom(const TaskRecord& record, bool ampm) {
    DayTimeControls c;
    c.weekdays = record.weekdays & 0x7F;
    c.months = record.months & 0xFFF;
    c.days = fieldText(record.daysOfMonth);
    c.cycle = record.cycle != 0;
    c.runLater = record.runLater != 0;
    const int32_t hour = record.time / 60;
    const int32_t minute = record.time % 60;
    c.minute = twoDigits(minute);
    if (!c.cycle && hour == kHourEveryHour) {
        c.hour = "*";
    } else if (!c.cycle && hour == kHourStartup) {
        c.startup = true;
        applyStartupChoice(c);
    } else if (!c.cycle && ampm) {
        TwelveHour shown = toTwelveHour(hour);
        c.hour = twoDigits(shown.hour);
        c.pm = shown.pm;
    } else {
        c.hour = twoDigits(hour);
    }
    return c;
}

DayTimeControls wizardDayTimeDefaults() {
    DayTimeControls c;
    c.months = 0xFFF;
    c.hour = "00";
    c.minute = "00";
    c.runLater = true;
    return c;
}

void applyStartupChoice(DayTimeControls& controls) {
    if (!controls.startup) return;
    controls.hour = "00";
    controls.minute = "00";
    controls.cycle = false;
}

DayTimeEnables dayTimeEnables(const DayTimeControls& controls, bool ampm) {
    DayTimeEnables e;
    e.timeControls = !controls.startup;
    e.ampmVisible = ampm;
    e.ampmEnabled = ampm && !controls.startup && !controls.cycle;
    e.runLaterLabel = controls.startup ? kLabelEveryStartup : kLabelRunLater;
    return e;
}

int startupButtonLabel(bool wizard, bool userSchedule) {
    if (!userSchedule) return 0;
    return wizard ? kLabelWizardUserLogon : kLabelSheetUserLogon;
}

SpinRange hourSpinRange(bool cycle, bool ampm) {
    if (cycle) return {0, kMaxCycleHours};
    if (ampm) return {1, 12};
    return {0, 23};
}

SpinRange minuteSpinRange() { return {0, 59}; }

std::string spinnedBox(std::string_view box, int delta, SpinRange range) {
    std::optional<int> typed = boxNumber(box);
    long value = typed ? static_cast<long>(*typed) + delta : (delta >= 0 ? range.low : range.high);
    if (value < range.low) value = range.low;
    if (value > range.high) value = range.high;
    return twoDigits(value);
}

DayTimeOutcome applyDayTime(const DayTimeControls& controls, bool ampm, TaskRecord& record,
                            const FullDayQuestion& askFullDay) {
    return applySteps(controls, ampm, record, &askFullDay);
}

std::optional<TaskRecord> dayTimePreview(const DayTimeControls& controls, bool ampm,
                                         const TaskRecord& record) {
    TaskRecord copy = record;
    if (applySteps(controls, ampm, copy, nullptr).result != ApplyResult::Accepted)
        return std::nullopt;
    copy.edited = 1;
    return copy;
}

IntervalControls intervalControlsFrom(const TaskRecord& record, bool ampm) {
    auto boxes = [ampm](int32_t minutes) {
        ClockBoxes b;
        int32_t hour = minutes / 60;
        if (ampm) {
            TwelveHour shown = toTwelveHour(hour);
            hour = shown.hour;
            b.pm = shown.pm;
        }
        b.hour = twoDigits(hour);
        b.minute = twoDigits(minutes % 60);
        return b;
    };
    IntervalControls c;
    c.from = boxes(record.intervalStart);
    c.to = boxes(record.intervalEnd);
    c.invert = record.invert != 0;
    return c;
}

void setFullDay(IntervalControls& controls, bool ampm) {
    controls.from = {ampm ? "12" : "00", "00", false};
    controls.to = {ampm ? "11" : "23", "59", ampm};
}

IntervalOutcome checkInterval(const IntervalControls& controls, bool ampm) {
    auto minutes = [ampm](const ClockBoxes& b) -> std::optional<int32_t> {
        std::optional<int> hour = boxNumber(b.hour);
        std::optional<int> minute = boxNumber(b.minute);
        if (!hour || !minute) return std::nullopt;
        int hour24 = ampm ? fromTwelveHour(*hour, b.pm) : *hour;
        int64_t value = static_cast<int64_t>(hour24) * 60 + *minute;
        if (value < 0 || value > kLastMinuteOfDay) return std::nullopt;
        return static_cast<int32_t>(value);
    };
    IntervalOutcome out;
    std::optional<int32_t> start = minutes(controls.from);
    std::optional<int32_t> end = minutes(controls.to);
    if (!start || !end) {
        out.messageId = kMsgInvalidTime;
        return out;
    }
    out.start = *start;
    out.end = *end;
    out.invert = controls.invert;
    if (out.start == 0 && out.end == kFullDayEnd && out.invert)
        out.messageId = kMsgInvertFullDay;
    else if (out.end < out.start)
        out.messageId = kMsgIntervalOrder;
    return out;
}

}  // namespace kzo
