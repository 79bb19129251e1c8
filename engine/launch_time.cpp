#include "launch_time.h"

namespace kzo {

int weekdayOf(int year, int month, int day) {
    if (month < 1 || month > 12) return 0;
    // Sakamoto's method: 0 = Sunday.
    static const int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    int sundayZero = (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
    return mondayFirstWeekday(sundayZero);
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

LaunchTime launchTimeAt(int year, int month, int day, int hour, int minute, int second) {
    LaunchTime t{};
    t.second = second;
    t.minute = minute;
    t.hour = hour;
    t.day = day;
    t.month = month;
    t.year = year;
    t.weekday = weekdayOf(year, month, day);
    return t;
}

}  // namespace kzo
