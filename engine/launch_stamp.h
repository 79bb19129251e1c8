// The last-run stamp a pass gives each task it launches, and the test for "was
// launched in this pass" that the write-back and the log share.
#pragma once

#include "launch_time.h"
#include "task_record.h"

namespace kzo {

// Stamps the launch: last-run date and time from the launch time, edited mark
// cleared, run once (when set) marked as launched in this pass.
void stampLaunch(TaskRecord& record, const LaunchTime& now);

// Whether the record's stamp is of the launch time's minute (day, month, year,
// hour and minute equal).
bool stampedAt(const TaskRecord& record, const LaunchTime& now);

}  // namespace kzo
