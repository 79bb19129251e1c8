// The execution log: one line per task launched in a pass, appended to the
// scheduler's plain-text log file.
#pragma once

#include <string>

#include "launch_time.h"
#include "schedule_store.h"
#include "task_record.h"

namespace kzo {

// The log line of a launched record (date and time from its last-run stamp),
// ending in "\r\n". Pure.
std::string formatLogLine(const TaskRecord& record, bool ampm);

// Appends a line for every record of the store stamped in the launch time's
// minute. The path is environment-expanded; a log that cannot be opened is
// skipped for this pass, a failed write ignored.
void appendExecutionLog(const char* logPath, const ScheduleStore& store, const LaunchTime& time,
                        bool ampm);

}  // namespace kzo
