#include "write_back.h"

#include <string_view>
#include <unordered_map>

#include "launch_stamp.h"

namespace kzo {

int writeBackLaunches(const char* scheduleFile, const ScheduleStore& passStore,
                      const LaunchTime& now, ScheduleStore& file) {
    file.setFileName(scheduleFile);
    int result = file.open(true);
    if (result != kStoreOk) return result;
    result = file.read(UnchangedFilter());
    if (result == kStoreEmpty) {
        file.close();
        result = file.open(true);
        if (result != kStoreOk) return result;
    } else if (result != kStoreOk) {
        file.close();
        return result;
    }

    // The first pass-store record of each name, as a search by name finds it.
    std::unordered_map<std::string_view, std::size_t> byName;
    byName.reserve(passStore.count());
    for (std::size_t i = 0; i < passStore.count(); ++i) {
        const TaskRecord& r = passStore.item(i);
        byName.emplace(std::string_view(r.name, fieldLength(r.name)), i);
    }
    for (std::size_t i = 0; i < file.count(); ++i) {
        TaskRecord& onDisk = file.item(i);
        auto found = byName.find(trimmedName(onDisk));
        if (found == byName.end()) continue;
        const TaskRecord& launched = passStore.item(found->second);
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
