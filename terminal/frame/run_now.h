// Run now: a task started at once by the Terminal, on a thread of its own that
// works on a private copy of the record. The run is not logged, the task's
// last-run stamp is not touched, and it does not matter whether the task is
// active or due. What became of it goes into the run history of the schedule
// shown, as "run now".
#pragma once

#include <string>

#include "task_record.h"

namespace kzo {

// The run history a run-now of the schedule shown writes into: the one beside
// its file (expanded), or none when the scheduler of that schedule keeps no
// history (its "History" setting).
std::string runNowHistory(const char* scheduleFile, bool userSchedule);

// Starts the run-now thread (it owns its copy; the caller never waits). An
// Application or Document task that cannot start is reported in a top-most
// "Unable to launch" box. With a history the thread follows the program to
// its end. False when the thread could not be created.
bool startRunNow(const TaskRecord& task, const std::string& history);

// At the Terminal's exit: the programs run now that still run are written as
// such ("running at stop"); the Terminal follows them no further.
void recordRunNowsStillRunning();

}  // namespace kzo
