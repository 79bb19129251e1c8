// The executor's write-back: after a pass launched tasks, their last-run stamps
// go into the schedule file, and launched run-once tasks leave it. Everything
// else in the file, the Terminal's edits since the last reload included, stays.
#pragma once

#include "launch_time.h"
#include "schedule_store.h"

namespace kzo {

// Opens the schedule file exclusively (with the store's retries), reads it
// whole, merges into each of its records the stamp, a cleared edited mark and
// the run-once state of the pass store's record of the same (trimmed) name when
// that record was stamped in the launch time's minute, and rewrites the file
// without the records whose run-once byte is 2. An empty file is opened again
// and stays empty. A failed open, a damaged file, a failed read or no memory
// leave the file untouched (the stamps then live in the pass store until the
// next reload). Returns 0 or the failing result code.
//
// file is the second store the file is read into; a caller that writes back
// often passes the same one each time, so that its memory is reused.
int writeBackLaunches(const char* scheduleFile, const ScheduleStore& passStore,
                      const LaunchTime& now, ScheduleStore& file);

}  // namespace kzo
