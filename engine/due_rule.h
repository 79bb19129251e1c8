// Due-time evaluation: whether a task is due in the minute of a launch time.
//
// Two entry points, both pure functions of (record, launch time, first pass,
// uptime, role): the day filter, applied at every reload, keeps the records that
// can still become due today; the due test, applied once a minute to every kept
// record, says whether to launch it now. Neither changes the record; the stamp
// that follows a launch is the loop's.
//
// A record from a hand-edited file may hold anything. A record whose schedule
// cannot be evaluated (cycle period below 1, an hour code other than 0..23, 25
// or 26, an interval outside 0..1439 or inverted limits, a last-run month
// outside 1..12 where the cycle needs it) is never due and never kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "daylight_saving.h"
#include "launch_time.h"
#include "schedule_store.h"
#include "task_record.h"

namespace kzo {

enum class SchedulerRole {
    User,    // the Executor in the user's session: its first pass is the logon
    System,  // the service, or the Executor with /s: startup tasks only just after boot
};

// A startup task of the System Scheduler runs only while the system has been up
// for at most this long.
constexpr std::uint64_t kStartupWindowMs = 180000;

struct DueContext {
    LaunchTime now;
    bool firstPass = false;
    std::uint64_t uptimeMs = 0;
    SchedulerRole role = SchedulerRole::User;

    // Daylight saving time (daylight_saving.h). Without the zone's rule the
    // local clock is taken as it reads.
    const ZoneRule* zone = nullptr;
    // The first pass after the clock went forward: the minutes of today it
    // skipped. A time of day or an every-hour minute among them is due now, as
    // if they had been there, with run later or without.
    MinuteRange skipped;
    // The launch time is the second pass of a minute the autumn change repeats.
    bool secondPass = false;
    // The names of the tasks last launched in such a second pass: their cycle
    // counts from that pass, not from the first. May be null.
    const std::vector<std::string>* secondPassRuns = nullptr;
};

// Keep the record at a reload: it can still become due today.
bool passesDayFilter(const TaskRecord& record, const DueContext& context);

// Launch the task in this minute.
bool isDue(const TaskRecord& record, const DueContext& context);

// Calls onDue(record) for every due record of the store (a schedule store, or
// anything with its count() and item()), in store order: a pass's walk. The
// records are 1709 bytes apart, so the fields the test reads are fetched a few
// records ahead.
template <typename Store, typename OnDue>
void forEachDue(Store& store, const DueContext& context, OnDue onDue) {
    constexpr std::size_t kAhead = 8;
    const std::size_t count = store.count();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kAhead < count) {
            const TaskRecord& ahead = store.item(i + kAhead);
            __builtin_prefetch(&ahead.active);
            __builtin_prefetch(&ahead.months);
            __builtin_prefetch(&ahead.lastDay);
        }
        TaskRecord& record = store.item(i);
        if (isDue(record, context)) onDue(record);
    }
}

// The executor's reload filter.
class DayFilter final : public RecordFilter {
public:
    explicit DayFilter(const DueContext& context) : context_(context) {}
    bool accept(TaskRecord& record) const override { return passesDayFilter(record, context_); }

private:
    DueContext context_;
};

}  // namespace kzo
