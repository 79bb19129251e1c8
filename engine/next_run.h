// When a task runs next: the first minute at which the due test says yes.
//
// The search asks the engine's own day filter and due test, so its answer is
// what a running scheduler does with the record as it stands: an executor past
// its first pass evaluates every minute, and the first due minute is the next
// run (the launch that follows changes the stamp, and with it everything
// after). Whole days that the day filter drops are skipped, and inside a day
// only the minutes that the schedule's kind can make due are put to the due
// test (the activity interval, the time of day, the minute of the hour, the
// cycle's rhythm); each answer is the due test's own.
//
// With the zone's rule in the context the search meets the clock's changes as
// an executor does: on the spring day the skipped minutes are not there and
// what falls into them is due at the minute the clock resumes at (a task at
// 02:30 runs at 03:00); an autumn day's repeated minutes are met twice, the
// second time as standard time (where a cycle may fall; its local minute is
// named).
//
// Pure, and safe on any record bytes and any moment.
#pragma once

#include "due_rule.h"
#include "launch_time.h"
#include "task_record.h"

namespace kzo {

enum class NextRunKind {
    At,              // due at `when`
    AtStartup,       // a startup/logon task: runs at the next system startup or user logon
    Inactive,        // the task is inactive
    NoneWithinYear,  // no minute of the searched year is due (or the moment is no real date)
};

struct NextRun {
    NextRunKind kind = NextRunKind::NoneWithinYear;
    LaunchTime when{};  // for At: the minute, second 0, with its weekday
};

// Days searched after the day of the first minute: a year, a leap year's too.
constexpr int kNextRunDays = 366;

// The first due minute from `from.now` (its minute included, seconds ignored)
// through the end of the kNextRunDays-th day after it. The executor evaluated
// is one past its first pass (firstPass is taken as false), so a startup/logon
// task is AtStartup when a day of the year passes its date rules.
NextRun findNextRun(const TaskRecord& record, const DueContext& from);

// The minute after the moment's minute, second 0, the date rolled over as
// needed (a moment that is no real date is returned as it is).
LaunchTime followingMinute(const LaunchTime& moment);

}  // namespace kzo
