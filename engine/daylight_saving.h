// Daylight saving time: the zone's rule, the clock's yearly changes it makes,
// and what they mean for a pass. Pure: the Win32 side fills the rule from the
// system's time zone (SystemClock::zoneRule).
//
// The engine counts in local wall-clock minutes. On the spring change the
// clock skips `shift` minutes (01:59 is followed by 03:00); on the autumn
// change it repeats them (02:00-02:59 once in daylight time, then again in
// standard time). A pass tells such a change from a clock set by hand or a
// wake from sleep by comparing the system time in UTC of two passes.
#pragma once

#include <cstdint>

#include "launch_time.h"

namespace kzo {

// One of the two yearly changes, in the system's own terms.
struct ZoneChange {
    int month = 0;    // 1..12; 0: the zone has no such change
    int week = 0;     // every year: the week-th `weekday` of the month, 5 = the last; dated: the day
    int weekday = 0;  // 0 = Sunday .. 6 = Saturday
    int year = 0;     // 0: every year; otherwise this year only, on day `week` (a dated change)
    int minute = 0;   // the local time of the change, minutes after midnight (1440: the midnight
                      // that ends the day)
};

struct ZoneRule {
    int bias = 0;   // minutes: UTC = local standard time + bias
    int shift = 0;  // minutes the clock runs ahead in daylight time; 0 or less, or more
                    // than a day: no daylight time
    ZoneChange toDaylight;  // at this local standard time the clock goes forward by shift
    ZoneChange toStandard;  // at this local daylight time it goes back by shift
};

// Local minutes of one day, first..last; empty when first > last.
struct MinuteRange {
    int first = 0;
    int last = -1;
    bool empty() const { return first > last; }
    bool holds(int minute) const { return minute >= first && minute <= last; }
};

// What the clock does on a date: the local minutes it skips going forward, or
// those it repeats going back (each empty on other days).
struct DayChange {
    MinuteRange skipped;
    MinuteRange repeated;
};
DayChange clockChangeOn(const ZoneRule& rule, int year, int month, int day);

// Whether a local minute is daylight time: a repeated minute reads as its
// first pass (daylight time), a skipped one as standard time.
bool isDaylightTime(const ZoneRule& rule, const LaunchTime& local);

// The minutes the local clock runs ahead of standard time at a local minute,
// read as isDaylightTime reads it or, for a repeated minute, as its second pass.
int daylightShiftAt(const ZoneRule& rule, const LaunchTime& local, bool secondPass = false);

// What daylight saving time means for one pass, from the local time and the
// system time in UTC of this pass and of the one before.
struct PassDaylight {
    // The first pass after the clock went forward for daylight saving time: the
    // minutes of the day it skipped. A clock set forward by hand, or a pass
    // after a sleep, is no such pass: the system time moved with the local time,
    // or more than about one pass went by.
    MinuteRange skipped;
    // The local time is standard time in a minute the autumn change repeats.
    bool secondPass = false;
    // This pass is the first after the clock went back for daylight saving time.
    bool wentBack = false;
};

// `previous` null: no pass before this one (or its system time is unknown).
struct ClockReading {
    LaunchTime local;
    LaunchTime utc;
};
PassDaylight passDaylight(const ZoneRule& rule, const ClockReading* previous, const ClockReading& now);

}  // namespace kzo
