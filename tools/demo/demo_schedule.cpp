// Prepares the demonstration of `make run`: a User Schedule with two tasks due
// at once, and the current user's scheduler settings pointing at it.
//
//   demo_schedule.exe FOLDER
//
// FOLDER\demo.jsf holds "Clock", which appends the time to FOLDER\times.txt
// every minute, and "Greeting", a message shown in the current minute, then a
// handful of tasks that show what a schedule can say (harmless, or inactive,
// so that the demonstration never shuts anything down). The log goes to
// FOLDER\tickr.log.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

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

// A task of the given type at hour:minute on the weekdays, not yet run.
TaskRecord showcase(const char* name, int8_t type, const char* command, int8_t weekdays, int hour, int minute) {
    TaskRecord task = newTaskRecord(1);
    setField(task.name, name);
    task.type = type;
    setField(task.command, command);
    task.weekdays = weekdays;
    task.time = hour * 60 + minute;
    task.runLater = 0;
    task.edited = 0;
    return task;
}

std::vector<TaskRecord> showcaseTasks() {
    constexpr int8_t kWorkdays = 0x1F;
    std::vector<TaskRecord> tasks;
    TaskRecord backup = showcase("Backup", kTypeApplication, "xcopy C:\\Data D:\\Backup /s /d /y", kWorkdays, 23, 30);
    backup.runMinimized = 1;
    tasks.push_back(backup);
    TaskRecord report = showcase("Weekly report", kTypeDocument, "print|C:\\Reports\\week.txt", 0x20, 3, 0);
    report.active = 0;
    tasks.push_back(report);
    TaskRecord sync = showcase("Hourly sync", kTypeApplication, "cmd /c rem sync", 0x7F, 0, 0);
    sync.time = kTimeEveryHour + 15;
    tasks.push_back(sync);
    TaskRecord quarter = showcase("Quarterly invoices", kTypeApplication, "C:\\Tools\\invoice.exe /quarter", 0, 9, 0);
    setField(quarter.daysOfMonth, "01");
    quarter.months = 1 | 8 | 64 | 512;
    quarter.active = 0;
    tasks.push_back(quarter);
    TaskRecord tidy = showcase("Tidy temp", kTypeApplication, "cmd /c dir %TEMP% > nul", 0x7F, 1, 30);
    tidy.cycle = 1;
    tidy.intervalStart = 8 * 60;
    tidy.intervalEnd = 18 * 60;
    tasks.push_back(tidy);
    TaskRecord welcome = showcase("Welcome", kTypeMessage, "Good morning!", 0x7F, 26, 0);
    welcome.active = 0;
    tasks.push_back(welcome);
    TaskRecord night = showcase("Night shutdown", kTypeShutdown, "TURNOFF", kWorkdays, 23, 55);
    setField(night.folder, ".");
    night.active = 0;
    tasks.push_back(night);
    TaskRecord office = showcase("Office restart", kTypeShutdown, "REBOOT", 0x40, 4, 0);
    setField(office.folder, "PC1,PC2");
    office.intervalStart = 7 * 60;  // outside working hours only
    office.intervalEnd = 21 * 60 + 59;
    office.invert = 1;
    office.active = 0;
    tasks.push_back(office);
    TaskRecord payday = showcase("Payday note", kTypeMessage, "Salaries are out.", 0, 10, 0);
    setField(payday.daysOfMonth, "15,28");
    payday.active = 0;
    tasks.push_back(payday);
    TaskRecord lunch = showcase("Lunch", kTypeMessage, "Time for lunch", kWorkdays, 12, 30);
    lunch.active = 0;
    lunch.lastYear = 125;
    lunch.lastMonth = 12;
    lunch.lastDay = 5;
    lunch.lastHour = 12;
    lunch.lastMinute = 30;
    tasks.push_back(lunch);
    return tasks;
}

int writeSchedule(const std::string& path, const SYSTEMTIME& now, const std::string& folder) {
    ScheduleStore store;
    store.setFileName(path.c_str());
    int result = store.open(true);
    if (result != kStoreOk) return result;
    std::vector<TaskRecord> more = showcaseTasks();
    if (!store.reserve((2 + more.size()) * kRecordSize)) return kStoreNoMemory;
    store.append(clockTask(folder));
    store.append(greetingTask(now));
    for (const TaskRecord& task : more) store.append(task);
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
