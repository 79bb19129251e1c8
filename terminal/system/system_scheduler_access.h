// Whether the System Scheduler's settings may be changed from this session:
// its registry key and its schedule file probed for writing.
#pragma once

#include <string>

namespace kzo {

// Not without a system schedule file, nor when the scheduler's key (or, when
// it is missing, the nearest key above it) cannot be written, nor when the
// file (expanded; made normal and opened for reading and writing, created when
// missing) refuses access. Any other failure of the open still counts as
// editable.
bool systemSchedulerEditable(const std::string& systemScheduleFile);

}  // namespace kzo
