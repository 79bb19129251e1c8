// The next-run search on the schedules that make it work hardest: tasks due
// never, or once, in the year searched. Each against a plain walk of the due
// test through every minute of the same year, measured in the same run.
//
//   bench_next_run.exe [runs]
//
// Prints medians in milliseconds; the target is well under 10 ms a search.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_timing.h"
#include "next_run.h"

namespace {

using namespace kzo;
using namespace kzo::bench;

TaskRecord daily(int32_t time) {
    TaskRecord r = newTaskRecord(1);
    r.time = time;
    r.weekdays = 127;
    r.runLater = 0;
    r.edited = 0;
    return r;
}

struct Case {
    const char* what;
    TaskRecord record;
};

std::vector<Case> cases() {
    std::vector<Case> list;
    TaskRecord r = daily(1439);
    r.intervalEnd = 1438;
    list.push_back({"never: daily 23:59, interval to 23:58", r});
    r = daily(600);
    r.weekdays = 0;
    setField(r.daysOfMonth, "30");
    r.months = 1 << 1;
    list.push_back({"never: 30 February", r});
    r = daily(1530);
    r.intervalStart = 600;
    r.intervalEnd = 615;
    r.runLater = 1;
    list.push_back({"never: every hour at :30, interval 10:00-10:15", r});
    r = daily(1440);
    r.cycle = 1;
    r.intervalStart = 660;
    r.intervalEnd = 1439;
    r.lastYear = 126;
    r.lastMonth = 1;
    r.lastDay = 1;
    r.lastHour = 10;
    list.push_back({"new year: cycle 24 h from 10:00, interval 11:00-23:59", r});
    r = daily(1439);
    r.weekdays = 0;
    setField(r.daysOfMonth, "31");
    r.months = 1 << 11;
    list.push_back({"once: 31 December 23:59", r});
    r = daily(425);
    r.weekdays = 31;
    list.push_back({"soon: Monday to Friday at 07:05", r});
    r = daily(kTimeStartup);
    r.weekdays = 0;
    setField(r.daysOfMonth, "30");
    r.months = 1 << 1;
    list.push_back({"never: startup on 30 February", r});
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    DueContext from;
    from.now = launchTimeAt(2026, 1, 1, 0, 0, 30);

    std::printf("From 2026-01-01 00:00; search: findNextRun; walk: the due test at every minute of the\n"
                "same %d days. Medians of %d runs.\n\n", kNextRunDays + 1, runs);
    std::printf("%-52s %12s %12s %10s  %s\n", "task", "search ms", "walk ms", "walk/search", "next run");
    for (const Case& c : cases()) {
        std::vector<double> search, walk;
        NextRun next{};
        for (int run = 0; run < runs; ++run) {
            double start = nowMs();
            next = findNextRun(c.record, from);
            search.push_back(nowMs() - start);
        }
        for (int run = 0; run < std::min(runs, 5); ++run) {
            double start = nowMs();
            DueContext at = from;
            LaunchTime t = from.now;
            for (int i = 0; i < (kNextRunDays + 1) * 1440; ++i) {
                at.now = t;
                volatile bool due = isDue(c.record, at);
                (void)due;
                t = followingMinute(t);
            }
            walk.push_back(nowMs() - start);
        }
        double s = median(search), w = median(walk);
        char found[32] = "none";
        if (next.kind == NextRunKind::At)
            std::snprintf(found, sizeof found, "%04d-%02d-%02d %02d:%02d", static_cast<int>(next.when.year),
                          static_cast<int>(next.when.month), static_cast<int>(next.when.day),
                          static_cast<int>(next.when.hour), static_cast<int>(next.when.minute));
        std::printf("%-52s %12.4f %12.3f %10.0f  %s\n", c.what, s, w, w / s, found);
    }
    return 0;
}
