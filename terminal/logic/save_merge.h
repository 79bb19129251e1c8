// The merge of a save: before the Terminal rewrites a schedule file it takes
// over what the executor wrote there since the Terminal's last load, so that a
// save never loses a launch. Pure: no windows.h.
#pragma once

#include <cstddef>
#include <string_view>

#include "schedule_store.h"
#include "task_record.h"

namespace kzo {

// Trims the name field in place. A name that has no blanks at its ends is left
// byte for byte as it is (also one that fills the field without a NUL);
// otherwise the trimmed name is moved to the start and terminated.
void trimNameInPlace(TaskRecord& record);

// For every task in memory: trims its name in place; when the file holds a task
// of that name (names compared trimmed on both sides; the first such record in
// the file, as a search from the start finds it), copies the file's nine-byte
// last-run stamp into it and, when its edited mark is 0, takes the file's
// edited mark too. Tasks that are only in the file are left out (the caller
// then writes the memory's tasks alone). file is only read.
//
// keepStamp, when given, is a task of memory whose stamp the Terminal has just
// reset on purpose (its schedule was changed, so it counts as not run today):
// it keeps its own stamp, which the file's would otherwise put back.
void mergeSavedFile(TaskRecord* memory, std::size_t memoryCount, const TaskRecord* file,
                    std::size_t fileCount, const TaskRecord* keepStamp = nullptr);

// The same over two stores: the document's and the one the file was read into.
void mergeSavedFile(ScheduleStore& memory, const ScheduleStore& file,
                    const TaskRecord* keepStamp = nullptr);

}  // namespace kzo
