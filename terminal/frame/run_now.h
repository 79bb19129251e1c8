// Run now: a task started at once by the Terminal, on a thread of its own that
// works on a private copy of the record. The run is not logged, the task's
// last-run stamp is not touched, and it does not matter whether the task is
// active or due.
#pragma once

#include "task_record.h"

namespace kzo {

// Starts the run-now thread (it owns its copy; the caller never waits). An
// Application or Document task that cannot start is reported in a top-most
// "Unable to launch" box. False when the thread could not be created.
bool startRunNow(const TaskRecord& task);

}  // namespace kzo
