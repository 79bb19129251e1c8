// The cycle test's clock: a cycle task's last run and the launch time as minutes
// since the start of the launch time's year, counted through the days-before-
// month table of a common year with one day more after February in a year
// divisible by four. The due test's cycle rule and the next-run search read the
// same clock, so the search steps through exactly the minutes the test counts.
//
// With the zone's rule the clock is real time: each reading is moved back by
// the minutes daylight saving time runs ahead at it, so that a period spans the
// same real time across the clock's changes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "due_rule.h"
#include "launch_time.h"
#include "task_record.h"

namespace kzo {

struct CycleMinutes {
    int64_t last;  // the last run, anchored to the launch time's year
    int64_t now;   // the launch time
};

// The record's last-run month and the launch time's month must be 1..12 (the
// due test never asks for another).
inline CycleMinutes cycleMinutes(const TaskRecord& r, const DueContext& c) {
    const LaunchTime& t = c.now;
    constexpr int64_t kMinutesPerDay = 1440;
    // Days before each month in a common year; index 0 unused.
    constexpr int kDaysBefore[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    int64_t last = (r.lastDay - 1 + kDaysBefore[r.lastMonth]) * kMinutesPerDay +
                   r.lastHour * 60 + r.lastMinute;
    int64_t now = (t.day - 1 + kDaysBefore[t.month]) * kMinutesPerDay + t.hour * 60 + t.minute;
    if (t.year % 4 == 0) {
        if (r.lastMonth > 2) last += kMinutesPerDay;
        if (t.month > 2) now += kMinutesPerDay;
    }
    if (c.zone) {
        const LaunchTime lastRun = launchTimeAt(t.year, r.lastMonth, r.lastDay, r.lastHour, r.lastMinute);
        bool lastInSecondPass = false;
        if (c.secondPassRuns) {
            const std::vector<std::string>& names = *c.secondPassRuns;
            lastInSecondPass = std::any_of(names.begin(), names.end(), [&r](const std::string& name) {
                return std::strncmp(name.c_str(), r.name, sizeof r.name) == 0;
            });
        }
        last -= daylightShiftAt(*c.zone, lastRun, lastInSecondPass);
        now -= daylightShiftAt(*c.zone, t, c.secondPass);
    }
    return {last, now};
}

}  // namespace kzo
