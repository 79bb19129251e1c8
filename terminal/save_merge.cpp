#include "save_merge.h"

#include <cstring>
#include <unordered_map>

namespace kzo {

std::string_view trimmedNameView(const TaskRecord& record) {
    std::size_t end = fieldLength(record.name);
    std::size_t begin = 0;
    while (begin < end && record.name[begin] == ' ') ++begin;
    while (end > begin && record.name[end - 1] == ' ') --end;
    return std::string_view(record.name + begin, end - begin);
}

void trimNameInPlace(TaskRecord& record) {
    std::string_view trimmed = trimmedNameView(record);
    if (trimmed.size() == fieldLength(record.name)) return;
    std::memmove(record.name, trimmed.data(), trimmed.size());
    record.name[trimmed.size()] = '\0';
}

void mergeSavedFile(TaskRecord* memory, std::size_t memoryCount, const TaskRecord* file,
                    std::size_t fileCount, const TaskRecord* keepStamp) {
    // The first file record of each trimmed name; the views point into file.
    std::unordered_map<std::string_view, const TaskRecord*> byName;
    byName.reserve(fileCount);
    for (std::size_t i = 0; i < fileCount; ++i) byName.emplace(trimmedNameView(file[i]), &file[i]);

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
