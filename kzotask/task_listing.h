// What kzotask prints of tasks: the list (a table for people, CSV for
// scripts) in the words of the Terminal's task list, the next run times by the
// engine's own search, and a task shown field by field. Pure: no windows.h.
#pragma once

#include <string>
#include <vector>

#include "due_rule.h"
#include "launch_time.h"
#include "task_cells.h"
#include "task_record.h"

namespace kzo {

// One task of the list with what the list adds to its record.
struct ListedTask {
    const TaskRecord* task;
    std::string nextRun;     // nextRunWords
    std::string lastResult;  // the last run's result, empty while unknown
};

// The columns Task, Type, Time, Date, Month, Interval, Next run, Last run,
// Result and Command under a heading line, aligned with two blanks between
// them; control characters are shown as blanks. "There are no tasks in this
// Schedule." for none.
std::string taskTable(const std::vector<ListedTask>& tasks, const CellOptions& options);

// The same columns as comma-separated values: a heading line, then one line per
// task, every field in double quotes (a quote doubled), texts as they are.
std::string taskCsv(const std::vector<ListedTask>& tasks, const CellOptions& options);

// The next count run times of the task from the minute after now, as a running
// scheduler of that role would launch it: each run is stamped as the
// scheduler stamps it before the next is looked for. Fewer when the task runs
// at startup or logon, is inactive, runs once, or runs no more within a year
// (the last line then says so).
std::vector<std::string> nextRunTimes(const TaskRecord& record, const LaunchTime& now, SchedulerRole role,
                                      bool ampm, int count);

// show: the task's block (task_text.h), then its next run and, when known,
// its last result as comments.
std::string shownTask(const TaskRecord& record, const std::string& nextRun, const std::string& lastResult);

}  // namespace kzo
