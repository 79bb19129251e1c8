#include "due_rule.h"

#include <cstring>

#include "cycle_clock.h"

namespace kzo {

namespace {

int32_t hourCode(const TaskRecord& r) { return r.time / 60; }

bool isThisYear(const TaskRecord& r, const LaunchTime& t) {
    return static_cast<int64_t>(r.lastYear) + 1900 == t.year;
}

// Whether the schedule can be evaluated at all (see the header).
bool isEvaluable(const TaskRecord& r, const LaunchTime& t) {
    if (r.intervalStart < 0 || r.intervalEnd > kLastMinuteOfDay || r.intervalStart > r.intervalEnd)
        return false;
    if (r.cycle) {
        // The cycle counts from a last run of this year through the month table.
        bool stampUsable = !isThisYear(r, t) || (r.lastMonth >= 1 && r.lastMonth <= 12);
        return r.time >= 1 && stampUsable;
    }
    if (r.time < 0) return false;
    int32_t h = hourCode(r);
    return h <= 23 || h == kHourEveryHour || h == kHourStartup;
}

bool ranToday(const TaskRecord& r, const LaunchTime& t) {
    return r.lastDay == t.day && r.lastMonth == t.month && isThisYear(r, t);
}

bool ranThisHour(const TaskRecord& r, const LaunchTime& t) {
    return ranToday(r, t) && r.lastHour == t.hour;
}

// Weekdays and days of month are alternatives: either makes the date match.
bool dateMatches(const TaskRecord& r, const LaunchTime& t) {
    if (r.weekdays & (1u << (t.weekday - 1))) return true;
    char dayText[3] = {static_cast<char>('0' + t.day / 10), static_cast<char>('0' + t.day % 10), 0};
    std::size_t length = fieldLength(r.daysOfMonth);
    for (std::size_t i = 0; i + 2 <= length; ++i)
        if (r.daysOfMonth[i] == dayText[0] && r.daysOfMonth[i + 1] == dayText[1]) return true;
    return false;
}

// The first steps of both entry points.
bool passesDateGate(const TaskRecord& r, const LaunchTime& t) {
    if (!r.active) return false;
    if (r.months != 0 && !(static_cast<uint32_t>(r.months) & (1u << (t.month - 1)))) return false;
    return dateMatches(r, t);
}

bool startupTest(const TaskRecord& r, const DueContext& c) {
    if (c.role == SchedulerRole::System && c.uptimeMs > kStartupWindowMs) return false;
    return r.runLater || r.edited || !ranToday(r, c.now);
}

// Minutes since the start of the year of the last run and of now (the cycle
// clock); a different year is due at once.
bool cycleTest(const TaskRecord& r, const LaunchTime& t) {
    if (!isThisYear(r, t)) return true;
    const int64_t period = r.time;
    const CycleMinutes m = cycleMinutes(r, t);
    if ((m.now - m.last) % period == 0) return true;
    return m.now > m.last + period && r.runLater;
}

bool startsNow(const TaskRecord& r, const DueContext& c) {
    return !r.cycle && hourCode(r) == kHourStartup && c.firstPass;
}

}  // namespace

bool passesDayFilter(const TaskRecord& r, const DueContext& c) {
    if (!isEvaluable(r, c.now) || !passesDateGate(r, c.now)) return false;
    if (startsNow(r, c)) return startupTest(r, c);
    if (r.cycle) return true;
    if (hourCode(r) == kHourEveryHour) return true;
    return !ranToday(r, c.now) || r.edited;
}

bool isDue(const TaskRecord& r, const DueContext& c) {
    const LaunchTime& t = c.now;
    if (!isEvaluable(r, t) || !passesDateGate(r, t)) return false;

    const int32_t n = t.hour * 60 + t.minute;
    if (r.invert) {
        if (r.intervalStart < n && n < r.intervalEnd) return false;
    } else if (n < r.intervalStart || n > r.intervalEnd) {
        return false;
    }

    if (startsNow(r, c)) return startupTest(r, c);
    if (r.cycle) return cycleTest(r, t);
    if (hourCode(r) == kHourEveryHour) {
        const int32_t m = r.time % 60;
        if (ranThisHour(r, t)) return false;
        return t.minute == m || (t.minute > m && r.runLater);
    }
    if (!ranToday(r, t) || r.edited) {
        if (r.time > n) return false;
        return r.time == n || r.runLater;
    }
    return false;
}

}  // namespace kzo
