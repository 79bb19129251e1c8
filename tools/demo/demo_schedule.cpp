// Prepares the demonstration of `make run`: a User Schedule with two tasks due
// at once, and the current user's scheduler settings pointing at it.
//
//   demo_schedule.exe FOLDER
//
// FOLDER\demo.jsf holds "Clock", which appends the time to FOLDER\times.txt
// every minute, and "Greeting", a message shown in the current minute. The log
// goes to FOLDER\tickr.log.
#include <windows.h>

#include <cstdio>
#include <string>

#include "registry_values.h"
#include "schedule_store.h"
#include "scheduler_settings.h"
#include "task_record.h"
#include "win_handles.h"

namespace {

using namespace kzo;

constexpr int8_t kEveryWeekday = 0x7F;

TaskRecord clockTask(const std::string& folder) {
    TaskRecord task = newTaskRecord(1);
    setField(task.name, "Clock");
    setField(task.command,
             "cmd /c echo %KZO.HOUR%:%KZO.MINUTE% >> \"" + folder + "\\times.txt\"");
    task.weekdays = kEveryWeekday;
    task.cycle = 1;
    task.time = 1;       // every minute
    task.runMinimized = 1;
    task.edited = 0;     // never ran (last-run year 0): due at the first pass
    return task;
}

TaskRecord greetingTask(const SYSTEMTIME& now) {
    TaskRecord task = newTaskRecord(2);
    setField(task.name, "Greeting");
    task.type = kTypeMessage;
    setField(task.command,
             "Hello from KZO Scheduler. It is %KZO.HOUR%:%KZO.MINUTE%.");
    task.weekdays = kEveryWeekday;
    task.time = now.wHour * 60 + now.wMinute;
    task.runLater = 1;   // still due when the first pass comes in the next minute
    return task;
}

int writeSchedule(const std::string& path, const SYSTEMTIME& now, const std::string& folder) {
    ScheduleStore store;
    store.setFileName(path.c_str());
    int result = store.open(true);
    if (result != kStoreOk) return result;
    if (!store.reserve(2 * kRecordSize)) return kStoreNoMemory;
    store.append(clockTask(folder));
    store.append(greetingTask(now));
    result = store.write(false);
    if (result == kStoreOk) store.close();
    return result;
}

std::uint32_t pointSettingsAt(const std::string& schedule, const std::string& log) {
    UniqueKey key;
    LONG created = RegCreateKeyExA(HKEY_CURRENT_USER, kSchedulerKey, 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.put(), nullptr);
    if (created != ERROR_SUCCESS) return static_cast<std::uint32_t>(created);
    std::uint32_t result = writeString(key.get(), "DAT", schedule);
    if (!result) result = writeString(key.get(), "LOG", log);
    if (!result) result = writeDword(key.get(), "LogF", 1);
    if (!result) result = writeDword(key.get(), "Active", 1);
    if (!result) result = writeDword(key.get(), "Warn", 0);
    if (!result) result = writeDword(key.get(), "NoIcon", 0);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_schedule FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string schedule = folder + "\\demo.jsf";
    std::string log = folder + "\\tickr.log";

    SYSTEMTIME now;
    GetLocalTime(&now);
    if (int result = writeSchedule(schedule, now, folder)) {
        std::fprintf(stderr, "cannot write %s: %d\n", schedule.c_str(), result);
        return 1;
    }
    if (std::uint32_t result = pointSettingsAt(schedule, log)) {
        std::fprintf(stderr, "cannot write the scheduler settings: %u\n", result);
        return 1;
    }
    std::printf("schedule %s: \"Clock\" every minute, \"Greeting\" at %02d:%02d\n", schedule.c_str(),
                now.wHour, now.wMinute);
    return 0;
}
