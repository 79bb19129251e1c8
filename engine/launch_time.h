// The launch time: the local time of a pass (or of a run-now) as nine 32-bit
// values. The due test, the launch, the macros and the log all use this one
// reading, so a pass is a function of its launch time.
#pragma once

#include <cstdint>

namespace kzo {

struct LaunchTime {
    int32_t second;
    int32_t minute;
    int32_t hour;     // 0..23
    int32_t day;      // 1..31
    int32_t month;    // 1..12
    int32_t year;     // full year
    int32_t weekday;  // 1 = Monday .. 7 = Sunday
    int32_t reserved1;
    int32_t reserved2;
};
static_assert(sizeof(LaunchTime) == 36, "nine 32-bit values");

// Day of the week of a date in the Gregorian calendar, 1 = Monday .. 7 = Sunday.
int weekdayOf(int year, int month, int day);

// The Gregorian calendar: leap years, and the days of a month (1..12; 0 for
// any other month).
bool isLeapYear(int year);
int daysInMonth(int year, int month);

// A launch time for the given local date and time, with its weekday.
LaunchTime launchTimeAt(int year, int month, int day, int hour, int minute, int second = 0);

// Converts a clock weekday (0 = Sunday .. 6 = Saturday) to 1 = Monday .. 7 = Sunday.
inline int32_t mondayFirstWeekday(int sundayZero) { return sundayZero == 0 ? 7 : sundayZero; }

}  // namespace kzo
