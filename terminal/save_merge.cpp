#include "save_merge.h"

#include <cstring>
#include <unordered_map>

namespace kzo {

void trimNameInPlace(TaskRecord& record) {
    std::string_view trimmed = nameKey(record);
    if (trimmed.size() == fieldLength(record.name)) return;
    if (!trimmed.empty()) std::memmove(record.name, trimmed.data(), trimmed.size());
    record.name[trimmed.size()] = '\0';
}

void mergeSavedFile(TaskRecord* memory, std::size_t memoryCount, const TaskRecord* file,
                    std::size_t fileCount, const TaskRecord* keepStamp) {
    // The first file record of each trimmed name; the views point into file.
    std::unordered_map<std::string_view, const TaskRecord*> byName;
    byName.reserve(fileCount);
    // A name of blanks only matches nothing, as in every search by name.
    for (std::size_t i = 0; i < fileCount; ++i) {
        std::string_view key = nameKey(file[i]);
        if (!key.empty()) byName.emplace(key, &file[i]);
    }

    for (std::size_t i = 0; i < memoryCount; ++i) {
        TaskRecord& task = memory[i];
        trimNameInPlace(task);
        auto found = byName.find(std::string_view(task.name, fieldLength(task.name)));
        if (found == byName.end()) continue;
        const TaskRecord& onDisk = *found->second;
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
