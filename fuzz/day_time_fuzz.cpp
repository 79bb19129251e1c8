// The Day and time page and its activity interval dialog over any control
// values: the days-of-month list stored is in its normal form and checks again
// as itself; Apply either refuses and leaves the time, days, months and stamp
// as they were, or writes a schedule the due test reads as meant (a time it
// can evaluate, inside a valid interval), which the page shows again as
// controls that Apply stores byte for byte the same without a question; the
// preview agrees with Apply; a spin click stays in its range; an accepted
// interval is ordered and shows again as itself.
//
// Input: the flags (1 byte), weekdays (1), months (2), the record's interval
// (5) and time (4), a spin click (1), then the texts of the hour, minute and
// days boxes and the interval dialog's four boxes, separated by '\n'.
#include <cstring>
#include <string>
#include <vector>

#include "day_list.h"
#include "day_time_rules.h"
#include "fuzz_input.h"

namespace {

using namespace kzo;

bool sameBytes(const TaskRecord& a, const TaskRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<std::string> lines(std::string_view text, std::size_t count) {
    std::vector<std::string> out(count);
    std::size_t at = 0;
    for (std::size_t i = 0; i < count && at <= text.size(); ++i) {
        std::size_t end = i + 1 < count ? text.find('\n', at) : std::string_view::npos;
        if (end == std::string_view::npos) end = text.size();
        out[i] = std::string(text.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

void checkDays(const std::string& typed, int weekdays) {
    DaysOfMonthCheck check = checkDaysOfMonth(typed, weekdays);
    if (check.messageId != 0) {
        FUZZ_CHECK(check.messageId == kMsgInvalidDayCharacter || check.messageId == kMsgNoDay ||
                   check.messageId == kMsgInvalidDay);
        return;
    }
    const std::string& stored = check.stored;
    FUZZ_CHECK(stored.size() <= kDaysOfMonthWidth);
    FUZZ_CHECK(stored.find_first_of(" ;") == std::string::npos);
    FUZZ_CHECK(stored.find(",,") == std::string::npos);
    FUZZ_CHECK(stored.empty() || (stored.front() != ',' && stored.back() != ','));
    FUZZ_CHECK(normaliseDayList(stored) == stored);
    DaysOfMonthCheck again = checkDaysOfMonth(stored, weekdays);
    FUZZ_CHECK(again.messageId == 0 && again.stored == stored);
}

void checkAcceptedSchedule(const TaskRecord& r, const DayTimeControls& c) {
    const int32_t hour = r.time / 60;
    const int32_t minute = r.time % 60;
    if (c.startup) {
        FUZZ_CHECK(r.time == kTimeStartup && r.cycle == 0);
    } else if (c.cycle) {
        FUZZ_CHECK(r.cycle == 1 && r.time >= 1 && hour <= 99 && minute <= 59);
    } else {
        FUZZ_CHECK(r.cycle == 0 && r.time >= 0 && (hour <= 23 || hour == kHourEveryHour) && minute <= 59);
    }
    FUZZ_CHECK(r.intervalStart >= 0 && r.intervalStart <= r.intervalEnd && r.intervalEnd <= kLastMinuteOfDay);
    if (!c.startup && !c.cycle && hour <= 23) {
        const bool inside = r.intervalStart <= r.time && r.time <= r.intervalEnd;
        const bool strictlyInside = r.intervalStart < r.time && r.time < r.intervalEnd;
        FUZZ_CHECK(r.invert ? !strictlyInside : inside);
    }
    FUZZ_CHECK(r.lastYear == 0);
    FUZZ_CHECK(r.months == (c.months & 0xFFF));
    FUZZ_CHECK(r.weekdays == (c.weekdays & 0x7F));
    FUZZ_CHECK(std::memchr(r.daysOfMonth, 0, sizeof r.daysOfMonth) != nullptr);
}

void checkApply(const DayTimeControls& controls, bool ampm, const TaskRecord& base, bool answer) {
    TaskRecord record = base;
    int questions = 0;
    DayTimeOutcome outcome = applyDayTime(controls, ampm, record, [&] {
        ++questions;
        return answer;
    });
    FUZZ_CHECK(questions <= 1);
    if (outcome.result != ApplyResult::Accepted) {
        if (outcome.result == ApplyResult::Declined) FUZZ_CHECK(questions == 1 && !answer);
        FUZZ_CHECK(record.time == base.time && record.months == base.months && record.lastYear == base.lastYear);
        FUZZ_CHECK(std::memcmp(record.daysOfMonth, base.daysOfMonth, sizeof record.daysOfMonth) == 0);
        return;
    }
    FUZZ_CHECK(outcome.messageId == 0);
    checkAcceptedSchedule(record, controls);

    // What the page shows for what it stored, applied again: no question, no change.
    DayTimeControls shown = dayTimeControlsFrom(record, ampm);
    TaskRecord again = record;
    DayTimeOutcome second = applyDayTime(shown, ampm, again, [] {
        FUZZ_CHECK(!"a second Apply asks about the interval");
        return false;
    });
    FUZZ_CHECK(second.result == ApplyResult::Accepted);
    FUZZ_CHECK(sameBytes(record, again));
}

void checkPreview(const DayTimeControls& controls, bool ampm, const TaskRecord& base) {
    TaskRecord applied = base;
    DayTimeOutcome outcome = applyDayTime(controls, ampm, applied, [] { return true; });
    std::optional<TaskRecord> preview = dayTimePreview(controls, ampm, base);
    FUZZ_CHECK(preview.has_value() == (outcome.result == ApplyResult::Accepted));
    if (!preview) return;
    FUZZ_CHECK(preview->edited == 1);
    // The preview leaves the interval as it is; everything else as Apply writes it.
    TaskRecord comparable = *preview;
    comparable.intervalStart = applied.intervalStart;
    comparable.intervalEnd = applied.intervalEnd;
    comparable.invert = applied.invert;
    comparable.edited = applied.edited;
    FUZZ_CHECK(sameBytes(comparable, applied));
}

void checkSpin(const std::string& box, int delta, SpinRange range) {
    std::string spun = spinnedBox(box, delta, range);
    FUZZ_CHECK(spun.size() >= 2 && spun.find_first_not_of("0123456789") == std::string::npos);
    const int value = std::stoi(spun);
    FUZZ_CHECK(value >= range.low && value <= range.high);
}

void checkIntervalDialog(const IntervalControls& controls, bool ampm) {
    IntervalOutcome out = checkInterval(controls, ampm);
    if (out.messageId == kMsgInvalidTime) return;
    FUZZ_CHECK(out.messageId == 0 || out.messageId == kMsgInvertFullDay || out.messageId == kMsgIntervalOrder);
    FUZZ_CHECK(out.start >= 0 && out.end <= kLastMinuteOfDay);
    if (out.messageId == kMsgInvertFullDay) FUZZ_CHECK(out.start == 0 && out.end == kLastMinuteOfDay && out.invert);
    if (out.messageId == kMsgIntervalOrder) FUZZ_CHECK(out.end < out.start);
    if (out.messageId != 0) return;
    FUZZ_CHECK(out.start <= out.end && !(out.start == 0 && out.end == kLastMinuteOfDay && out.invert));
    // Shown again for the record it writes, the dialog reads the same.
    TaskRecord r = newTaskRecord(1);
    r.intervalStart = out.start;
    r.intervalEnd = out.end;
    r.invert = out.invert ? 1 : 0;
    IntervalOutcome again = checkInterval(intervalControlsFrom(r, ampm), ampm);
    FUZZ_CHECK(again.messageId == 0 && again.start == out.start && again.end == out.end && again.invert == out.invert);

    IntervalControls full = controls;
    setFullDay(full, ampm);
    IntervalOutcome day = checkInterval(full, ampm);
    FUZZ_CHECK(day.start == 0 && day.end == kLastMinuteOfDay);
    FUZZ_CHECK(day.messageId == (full.invert ? kMsgInvertFullDay : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t flags = input.byte();
    const bool ampm = flags & 1;
    const bool answer = flags & 0x40;
    DayTimeControls controls;
    controls.startup = flags & 2;
    controls.cycle = flags & 4;
    controls.runLater = flags & 8;
    controls.pm = flags & 0x10;
    controls.weekdays = input.byte();
    controls.months = input.number<std::uint16_t>();

    // The record the page edits: its interval may be anything a file holds.
    TaskRecord base = newTaskRecord(1);
    base.intervalStart = input.number<std::int16_t>();
    base.intervalEnd = input.number<std::int16_t>();
    base.invert = static_cast<std::int8_t>(input.byte() & 1);
    base.time = input.number<std::int32_t>();
    base.lastYear = 126;
    setField(base.daysOfMonth, "07");
    const int delta = static_cast<std::int8_t>(input.byte());

    std::vector<std::string> boxes = lines(input.rest(), 7);
    controls.hour = boxes[0];
    controls.minute = boxes[1];
    controls.days = boxes[2];

    checkDays(controls.days, controls.weekdays);
    checkApply(controls, ampm, base, answer);
    checkPreview(controls, ampm, base);
    checkSpin(controls.hour, delta, hourSpinRange(controls.cycle, ampm));
    checkSpin(controls.minute, delta, minuteSpinRange());

    IntervalControls interval;
    interval.from = {boxes[3], boxes[4], bool(flags & 0x20)};
    interval.to = {boxes[5], boxes[6], bool(flags & 0x80)};
    interval.invert = flags & 2;
    checkIntervalDialog(interval, ampm);
    return 0;
}
