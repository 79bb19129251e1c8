// The executor's write-back: after a pass launched tasks, their last-run stamps
// go into the schedule file, and launched run-once tasks leave it. Everything
// else in the file, the Terminal's edits since the last reload included, stays.
#pragma once

#include <cstddef>
#include <string_view>

#include "launch_stamp.h"
#include "launch_time.h"
#include "name_index.h"
#include "schedule_store.h"

namespace kzo {

// Opens the schedule file exclusively (with the store's retries), reads it
// whole, merges into each of its records the stamp, a cleared edited mark and
// the run-once state of the pass store's record of the same name when that
// record was stamped in the launch time's minute, and rewrites the file
// without the records whose run-once byte is 2. Names match as every search by
// name matches them (nameKey: without the blanks at either end, on both sides;
// a name of blanks only matches nothing); the first pass-store record of a name
// is the one a search finds. An empty file is opened again and stays empty. A
// failed open, a damaged file, a failed read or no memory leave the file
// untouched (the stamps then live in the pass store until the next reload).
// Returns 0 or the failing result code.
//
// file is the second store the file is read into; a caller that writes back
// often passes the same one each time, so that its memory is reused.
int writeBackLaunches(const char* scheduleFile, const ScheduleStore& passStore,
                      const LaunchTime& now, ScheduleStore& file);

// The same steps over any store with the schedule store's operations
// (setFileName, open, read, close, write, count, item): the schedule store in
// the executors, an in-memory stand-in where the steps are checked alone.
template <typename FileStore, typename PassStore>
int writeBackThrough(const char* scheduleFile, const PassStore& passStore, const LaunchTime& now,
                     FileStore& file) {
    file.setFileName(scheduleFile);
    int result = file.open(true);
    if (result != kStoreOk) return result;
    result = file.read(UnchangedFilter());
    if (result != kStoreOk && result != kStoreEmpty) {
        file.close();
        return result;
    }

    NameIndex byName;
    byName.build(passStore.count(), [&passStore](std::size_t i) -> const TaskRecord& { return passStore.item(i); });
    for (std::size_t i = 0; i < file.count(); ++i) {
        TaskRecord& onDisk = file.item(i);
        std::size_t found = byName.find(nameKey(onDisk));
        if (found == NameIndex::npos) continue;
        const TaskRecord& launched = passStore.item(found);
        if (!stampedAt(launched, now)) continue;
        copyStamp(onDisk, launched);
        onDisk.edited = 0;
        onDisk.runOnce = launched.runOnce;
    }
    result = file.write(true);
    if (result == kStoreOk) file.close();
    return result;
}

}  // namespace kzo
