#include "execution_log.h"

#include <windows.h>

#include <cstdint>

#include "expand_env.h"
#include "file_attributes.h"
#include "launch_stamp.h"
#include "win_handles.h"

namespace kzo {

void appendExecutionLog(const char* logPath, const ScheduleStore& store, const LaunchTime& time,
                        bool ampm) {
    char path[kExpandedSize];
    expandEnvironment(logPath, path);
    makeAttributesNormal(path);
    // Shared read, so that the Terminal can show the log meanwhile.
    UniqueHandle file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    SetFilePointer(file.get(), 0, nullptr, FILE_END);
    for (std::size_t i = 0; i < store.count(); ++i) {
        const TaskRecord& r = store.item(i);
        if (!stampedAt(r, time)) continue;
        std::string line = formatLogLine(r, ampm);
        DWORD written = 0;
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

}  // namespace kzo
