#include "daylight_saving.h"

#include <algorithm>

namespace kzo {

namespace {

constexpr int kMinutesPerDay = 1440;
// A pass follows the one before about a minute later; a late one a little more.
constexpr std::int64_t kOnePassSeconds = 150;

int dayOfYear(int year, int month, int day) {
    int days = day - 1;
    for (int m = 1; m < month; ++m) days += daysInMonth(year, m);
    return days;
}

// Days since 1 March of year 0 (a proleptic Gregorian count).
std::int64_t dayNumber(int year, int month, int day) {
    std::int64_t y = month <= 2 ? year - 1 : year;
    std::int64_t m = month <= 2 ? month + 9 : month - 3;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yearOfEra = y - era * 400;
    std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + (153 * m + 2) / 5 + day - 1;
    return era * 146097 + dayOfEra;
}

std::int64_t secondsOf(const LaunchTime& t) {
    return dayNumber(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

// Local minus UTC, to the nearest minute (the two were read a moment apart).
int offsetMinutes(const ClockReading& r) {
    std::int64_t seconds = secondsOf(r.local) - secondsOf(r.utc);
    std::int64_t minutes = seconds >= 0 ? (seconds + 30) / 60 : -((-seconds + 30) / 60);
    return static_cast<int>(minutes);
}

int minuteOfDay(const LaunchTime& t) { return t.hour * 60 + t.minute; }

// The change's local minute counted from the start of the year, or -1 when it
// does not happen that year.
int changeKey(const ZoneChange& c, int year) {
    if (c.month < 1 || c.month > 12 || c.minute < 0 || c.minute > kMinutesPerDay) return -1;
    const int days = daysInMonth(year, c.month);
    int day;
    if (c.year != 0) {
        if (c.year != year || c.week < 1 || c.week > days) return -1;
        day = c.week;
    } else {
        if (c.week < 1 || c.week > 5 || c.weekday < 0 || c.weekday > 6) return -1;
        const int firstWeekday = weekdayOf(year, c.month, 1) % 7;  // 0 = Sunday
        day = 1 + (c.weekday - firstWeekday + 7) % 7 + (c.week - 1) * 7;
        while (day > days) day -= 7;  // week 5: the last of the month
    }
    return dayOfYear(year, c.month, day) * kMinutesPerDay + c.minute;
}

// A shift of more than a day is no zone's (a damaged zone): no daylight time.
bool hasDaylightTime(const ZoneRule& rule) { return rule.shift > 0 && rule.shift <= kMinutesPerDay; }

// The local minutes from..to - 1 (counted from the start of the year) that
// fall on the day starting at dayStart.
MinuteRange onDay(int from, int to, int dayStart) {
    MinuteRange r;
    r.first = std::max(from - dayStart, 0);
    r.last = std::min(to - 1 - dayStart, kMinutesPerDay - 1);
    return r;
}

}  // namespace

DayChange clockChangeOn(const ZoneRule& rule, int year, int month, int day) {
    DayChange change;
    if (!hasDaylightTime(rule) || month < 1 || month > 12) return change;
    const int dayStart = dayOfYear(year, month, day) * kMinutesPerDay;
    const int forward = changeKey(rule.toDaylight, year);
    const int back = changeKey(rule.toStandard, year);
    if (forward < 0 || back < 0) return change;
    change.skipped = onDay(forward, forward + rule.shift, dayStart);
    change.repeated = onDay(back - rule.shift, back, dayStart);
    return change;
}

bool isDaylightTime(const ZoneRule& rule, const LaunchTime& local) {
    if (!hasDaylightTime(rule) || local.month < 1 || local.month > 12) return false;
    const int forward = changeKey(rule.toDaylight, local.year);
    const int back = changeKey(rule.toStandard, local.year);
    if (forward < 0 || back < 0 || forward == back) return false;
    const int x = dayOfYear(local.year, local.month, local.day) * kMinutesPerDay + minuteOfDay(local);
    const int begins = forward + rule.shift;  // the first minute the clock shows in daylight time
    if (forward < back) return x >= begins && x < back;  // northern: summer inside the year
    return x >= begins || x < back;                      // southern: summer across the new year
}

int daylightShiftAt(const ZoneRule& rule, const LaunchTime& local, bool secondPass) {
    if (!isDaylightTime(rule, local)) return 0;
    if (secondPass && clockChangeOn(rule, local.year, local.month, local.day).repeated.holds(minuteOfDay(local)))
        return 0;
    return rule.shift;
}

PassDaylight passDaylight(const ZoneRule& rule, const ClockReading* previous, const ClockReading& now) {
    PassDaylight pass;
    if (!hasDaylightTime(rule)) return pass;
    const int standard = -rule.bias;
    const int daylight = -rule.bias + rule.shift;
    const int offset = offsetMinutes(now);
    const DayChange today = clockChangeOn(rule, now.local.year, now.local.month, now.local.day);
    pass.secondPass = offset == standard && today.repeated.holds(minuteOfDay(now.local));
    if (!previous) return pass;

    // Only the zone's own change moves the local time against UTC; a clock set
    // by hand moves both, and a sleep lets far more than a pass go by.
    const std::int64_t elapsed = secondsOf(now.utc) - secondsOf(previous->utc);
    if (elapsed <= 0 || elapsed > kOnePassSeconds) return pass;
    const int before = offsetMinutes(*previous);
    if (before == standard && offset == daylight) {
        pass.skipped = today.skipped;
        pass.skipped.last = std::min(pass.skipped.last, minuteOfDay(now.local) - 1);
    } else if (before == daylight && offset == standard) {
        pass.wentBack = true;
    }
    return pass;
}

}  // namespace kzo
