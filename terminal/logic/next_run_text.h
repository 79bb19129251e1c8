// The "Next run" line of the Day and time page and of the task list's info tip.
// Pure: no windows.h.
#pragma once

#include <string>

#include "due_rule.h"
#include "next_run.h"
#include "task_record.h"

namespace kzo {

// When a task runs next, in words: "Tue 09.12.2026 07:05", with the AMPM
// setting "Tue 09.12.2026 07:05AM" (12-hour clock, the half written after the
// minutes as the task list writes it); "at system startup" (System Scheduler)
// or "at user logon" (User Scheduler); "none, the task is inactive"; "none
// within a year".
std::string nextRunWords(const NextRun& next, SchedulerRole role, bool ampm);

// The line: "Next run: " followed by those words.
std::string nextRunText(const NextRun& next, SchedulerRole role, bool ampm);

// The line for a record as the scheduler of that role would run it, counted
// from the minute after now (the executor has already made its pass for the
// minute now is in), across the clock's daylight saving changes of the zone's
// rule when one is given.
std::string nextRunText(const TaskRecord& record, const LaunchTime& now, SchedulerRole role,
                        bool ampm, const ZoneRule* zone = nullptr);

}  // namespace kzo
