#include "save_merge.h"

#include <cstring>

#include "name_index.h"

namespace kzo {

void trimNameInPlace(TaskRecord& record) {
    std::string_view trimmed = nameKey(record);
    if (trimmed.size() == fieldLength(record.name)) return;
    if (!trimmed.empty()) std::memmove(record.name, trimmed.data(), trimmed.size());
    record.name[trimmed.size()] = '\0';
}

void mergeSavedFile(TaskRecord* memory, std::size_t memoryCount, const TaskRecord* file,
                    std::size_t fileCount, const TaskRecord* keepStamp) {
    NameIndex byName;
    byName.build(fileCount, [file](std::size_t i) -> const TaskRecord& { return file[i]; });
    for (std::size_t i = 0; i < memoryCount; ++i) {
        TaskRecord& task = memory[i];
        trimNameInPlace(task);
        std::size_t found = byName.find(std::string_view(task.name, fieldLength(task.name)));
        if (found == NameIndex::npos) continue;
        const TaskRecord& onDisk = file[found];
        if (&task != keepStamp) copyStamp(task, onDisk);
        if (task.edited == 0) task.edited = onDisk.edited;
    }
}

void mergeSavedFile(ScheduleStore& memory, const ScheduleStore& file, const TaskRecord* keepStamp) {
    if (memory.count() == 0) return;
    const TaskRecord* fileRecords = file.count() > 0 ? &file.item(0) : nullptr;
    mergeSavedFile(&memory.item(0), memory.count(), fileRecords, file.count(), keepStamp);
}

}  // namespace kzo
