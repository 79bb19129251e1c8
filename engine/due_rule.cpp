#include "due_rule.h"

#include <cstring>

#include "cycle_clock.h"
#include "days_of_month.h"

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

// An every-hour task's run of this hour. On the day the clock goes forward, a
// launch in the hour it resumes at but before the task's minute was the
// skipped hour's run, made up at the first pass after the change.
bool ranThisHour(const TaskRecord& r, const DueContext& c) {
    const LaunchTime& t = c.now;
    if (!ranToday(r, t) || r.lastHour != t.hour) return false;
    if (c.zone && r.lastMinute < r.time % 60) {
        const MinuteRange skipped = clockChangeOn(*c.zone, t.year, t.month, t.day).skipped;
        if (!skipped.empty() && t.hour == (skipped.last + 1) / 60) return false;
    }
    return true;
}

// Weekdays and days of month are alternatives: either makes the date match.
bool dateMatches(const TaskRecord& r, const LaunchTime& t) {
    if (r.weekdays & (1u << (t.weekday - 1))) return true;
    return daysOfMonthMatch(std::string_view(r.daysOfMonth, fieldLength(r.daysOfMonth)), t.day,
                            daysInMonth(t.year, t.month));
}

// The activity interval: both limits inside it; inverted, both outside it.
bool insideInterval(const TaskRecord& r, int32_t n) {
    if (r.invert) return !(r.intervalStart < n && n < r.intervalEnd);
    return n >= r.intervalStart && n <= r.intervalEnd;
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
bool cycleTest(const TaskRecord& r, const DueContext& c) {
    if (!isThisYear(r, c.now)) return true;
    const int64_t period = r.time;
    const CycleMinutes m = cycleMinutes(r, c);
    if ((m.now - m.last) % period == 0) return true;
    return m.now > m.last + period && r.runLater;
}

bool startsNow(const TaskRecord& r, const DueContext& c) {
    return !r.cycle && hourCode(r) == kHourStartup && c.firstPass;
}

// The first pass after the clock went forward: a time of day or an every-hour
// minute among the skipped minutes is due as it would have been at that minute.
// A startup task needs nothing: its first pass is the startup, whenever it is.
bool dueInSkippedMinutes(const TaskRecord& r, const DueContext& c) {
    const MinuteRange& skipped = c.skipped;
    if (skipped.empty() || r.cycle) return false;
    if (hourCode(r) == kHourEveryHour) {
        const int32_t m = r.time % 60;
        for (int hour = skipped.first / 60; hour <= skipped.last / 60; ++hour) {
            const int32_t minute = hour * 60 + m;
            if (skipped.holds(minute) && insideInterval(r, minute) &&
                !(ranToday(r, c.now) && r.lastHour == hour))
                return true;
        }
        return false;
    }
    if (hourCode(r) > 23) return false;
    return skipped.holds(r.time) && insideInterval(r, r.time) && (!ranToday(r, c.now) || r.edited);
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

    if (dueInSkippedMinutes(r, c)) return true;
    const int32_t n = t.hour * 60 + t.minute;
    if (!insideInterval(r, n)) return false;

    if (startsNow(r, c)) return startupTest(r, c);
    if (r.cycle) return cycleTest(r, c);
    if (hourCode(r) == kHourEveryHour) {
        const int32_t m = r.time % 60;
        if (ranThisHour(r, c)) return false;
        return t.minute == m || (t.minute > m && r.runLater);
    }
    if (!ranToday(r, t) || r.edited) {
        if (r.time > n) return false;
        return r.time == n || r.runLater;
    }
    return false;
}

}  // namespace kzo
