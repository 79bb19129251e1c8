#include "execution_log.h"

#include <windows.h>

#include <cstdint>

#include "expand_env.h"
#include "win_handles.h"

namespace kzo {

namespace {

bool launchedAt(const TaskRecord& r, const LaunchTime& time) {
    return r.lastDay == time.day && r.lastMonth == time.month &&
           std::int64_t{r.lastYear} + 1900 == time.year && r.lastHour == time.hour &&
           r.lastMinute == time.minute;
}

}  // namespace

void appendExecutionLog(const char* logPath, const ScheduleStore& store, const LaunchTime& time,
                        bool ampm) {
    char path[kExpandedSize];
    expandEnvironment(logPath, path);
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    // Shared read, so that the Terminal can show the log meanwhile.
    UniqueHandle file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    SetFilePointer(file.get(), 0, nullptr, FILE_END);
    for (std::size_t i = 0; i < store.count(); ++i) {
        const TaskRecord& r = store.item(i);
        if (!launchedAt(r, time)) continue;
        std::string line = formatLogLine(r, ampm);
        DWORD written = 0;
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

}  // namespace kzo
