// The plain reading the next-run search is held against: the clock walked
// minute by minute, each minute put to the due test as the executor would meet
// it. With a zone's rule the walk knows where the clock jumps: a skipped
// minute is not there, the minute after them makes them up, and the repeated
// minutes come round twice (the second time as standard time). Pure, for the
// tests and the fuzz harness alike.
#pragma once

#include <algorithm>

#include "daylight_saving.h"
#include "due_rule.h"
#include "next_run.h"

namespace kzo::test {

inline NextRun walkToNextRun(const TaskRecord& r, DueContext c, int minutes) {
    const LaunchTime start = c.now;
    for (int i = 0; i < minutes; ++i, c.now = followingMinute(c.now)) {
        DueContext pass = c;
        if (!c.zone) {
            if (isDue(r, pass)) return {NextRunKind::At, c.now};
            continue;
        }
        const DayChange change = clockChangeOn(*c.zone, c.now.year, c.now.month, c.now.day);
        const int n = c.now.hour * 60 + c.now.minute;
        if (change.skipped.holds(n)) continue;
        if (!change.skipped.empty() && n == change.skipped.last + 1 && i > 0) {
            const bool startDay = start.day == c.now.day && start.month == c.now.month;
            pass.skipped = {startDay ? std::max(change.skipped.first, start.hour * 60 + start.minute)
                                     : change.skipped.first,
                            change.skipped.last};
        }
        if (isDue(r, pass)) return {NextRunKind::At, c.now};
        if (!change.repeated.empty() && n == change.repeated.last) {
            for (int m = change.repeated.first; m <= change.repeated.last; ++m) {
                pass.now = launchTimeAt(c.now.year, c.now.month, c.now.day, m / 60, m % 60);
                pass.secondPass = true;
                if (isDue(r, pass)) return {NextRunKind::At, pass.now};
            }
        }
    }
    return {};
}

}  // namespace kzo::test
