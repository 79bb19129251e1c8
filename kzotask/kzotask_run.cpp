#include "kzotask_run.h"

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <map>

#include "clock.h"
#include "critical_section.h"
#include "detached_thread.h"
#include "expand_env.h"
#include "file_calls.h"
#include "launch_thread.h"
#include "next_run.h"
#include "next_run_text.h"
#include "product_names.h"
#include "run_event.h"
#include "run_history.h"
#include "program_search.h"
#include "schedule_store.h"
#include "scheduler_settings.h"
#include "string_table.h"
#include "system_error.h"
#include "task_changes.h"
#include "task_listing.h"
#include "task_options.h"
#include "task_text.h"
#include "time_control_loop.h"
#include "win32_actions.h"
#include "win_handles.h"
#include "windows_platform.h"

namespace kzo {

namespace {

constexpr int kDefaultNextCount = 5;
constexpr int kMostNextCount = 1000;

// The schedule a command works on.
struct Schedule {
    std::string setting;   // the file as given or stored, environment variables unexpanded
    std::string fileName;  // expanded
    SchedulerRole role = SchedulerRole::User;
    std::string wav;                   // the sound of its scheduler, for Run
    bool keepsHistory = true;          // its scheduler's "History": Run writes the run history
    std::vector<const char*> events;  // the update events of the schedulers that run this file
};

std::string expanded(const std::string& text) {
    char out[kExpandedSize];
    expandEnvironment(text.c_str(), out);
    return out;
}

std::string fullPath(const std::string& path) {
    char full[MAX_PATH * 2];
    char* filePart = nullptr;
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &filePart);
    return length && length < sizeof full ? std::string(full, length) : path;
}

bool sameFile(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && lstrcmpiA(fullPath(a).c_str(), fullPath(b).c_str()) == 0;
}

std::string currentUserName(bool& known) {
    char name[257] = {};
    DWORD size = sizeof name;
    known = GetUserNameA(name, &size) != FALSE;
    return known ? std::string(name) : std::string();
}

// Which file: /file PATH, /system the System Schedule, or the User Schedule
// (its "DAT", or the Terminal's default file beside the programs). Its
// schedulers are those whose schedule is the same file. False (with the
// message written) when the System Schedule is asked for and none is
// registered.
bool locateSchedule(const KzoTaskCommand& command, const TerminalSettings& settings,
                    const KzoTaskEnvironment& environment, Schedule& schedule, ToolOutput& output) {
    std::string userDat = settings.userDat;
    if (userDat.empty()) {
        bool known = false;
        std::string name = currentUserName(known);
        userDat = defaultUserScheduleFile(environment.programFolder, name, known);
    }
    if (command.system && settings.sysDat.empty()) {
        output.err("There is no registered System Schedule.\n");
        return false;
    }
    schedule.setting = !command.file.empty() ? command.file : command.system ? settings.sysDat : userDat;
    schedule.fileName = expanded(schedule.setting);
    const bool user = !command.system && sameFile(schedule.fileName, expanded(userDat));
    const bool system = command.system || sameFile(schedule.fileName, expanded(settings.sysDat));
    if (user) schedule.events.push_back(kUserUpdateEvent);
    if (system) schedule.events.push_back(kSystemUpdateEvent);
    schedule.role = system && !user ? SchedulerRole::System : SchedulerRole::User;
    schedule.wav = schedule.role == SchedulerRole::System ? settings.sysWav : settings.userWav;
    const bool systemRole = schedule.role == SchedulerRole::System;
    schedule.keepsHistory =
        readExecutorSettings(systemRole ? environment.keys.systemRoot : environment.keys.userRoot,
                             environment.keys.schedulerKey)
            .history;
    return true;
}

bool scheduleExists(const Schedule& schedule) {
    if (GetFileAttributesA(schedule.fileName.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

int noScheduleFile(const Schedule& schedule, ToolOutput& output) {
    output.err("There is no schedule file \"" + schedule.fileName + "\".\n");
    return kTaskNotFound;
}

// A failed open: busy when another program holds the file through every retry.
int openFailure(const Schedule& schedule, int error, ToolOutput& output) {
    output.err("Error opening Schedule file \"" + schedule.fileName + "\": " + systemErrorText(error) + "\n");
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? kTaskBusy : kTaskWindows;
}

// The result of a read that gave no records to work on, as an exit code.
int readFailure(const Schedule& schedule, int result, ToolOutput& output) {
    if (result == kStoreBadSize) {
        // A write would drop the tasks that the Terminal's Convert can still
        // recover from an older file: the tool leaves it alone.
        output.err("Schedule file \"" + schedule.fileName +
                   "\" has incorrect size. Old files can be converted: choose Convert in the Terminal's Services "
                   "menu.\n");
    } else if (result == kStoreNoMemory) {
        output.err("Error reading Schedule file \"" + schedule.fileName + "\": " +
                   systemErrorText(ERROR_NOT_ENOUGH_MEMORY) + "\n");
    } else {
        output.err("Error reading Schedule file \"" + schedule.fileName + "\": " + systemErrorText(result) + "\n");
    }
    return kTaskWindows;
}

std::vector<TaskRecord> recordsOf(const ScheduleStore& store) {
    std::vector<TaskRecord> tasks;
    tasks.reserve(store.count());
    for (std::size_t i = 0; i < store.count(); ++i) tasks.push_back(store.item(i));
    return tasks;
}

// Every record of the schedule, read with shared reading.
int loadTasks(const Schedule& schedule, std::vector<TaskRecord>& tasks, ToolOutput& output) {
    if (!scheduleExists(schedule)) return noScheduleFile(schedule, output);
    ScheduleStore store;
    store.setFileName(schedule.setting.c_str());
    int opened = store.open(false);
    if (opened != kStoreOk) return openFailure(schedule, opened, output);
    int read = store.read(UnchangedFilter());
    if (read == kStoreEmpty) {
        store.close();
        return kTaskDone;
    }
    if (read != kStoreOk) {
        store.close();
        return readFailure(schedule, read, output);
    }
    store.close();
    tasks = recordsOf(store);
    return kTaskDone;
}

using Change = std::function<ChangeOutcome(std::vector<TaskRecord>&)>;

int reportOutcome(const ChangeOutcome& outcome, ToolOutput& output) {
    if (!outcome.warning.empty()) output.err(outcome.warning + "\n");
    if (outcome.exitCode != kTaskDone) {
        output.err(outcome.message + "\n");
        return outcome.exitCode;
    }
    output.out(outcome.message + "\n");
    return kTaskDone;
}

void signalSchedulers(const Schedule& schedule) {
    for (const char* name : schedule.events) {
        UniqueHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, name));
        if (event) SetEvent(event.get());
    }
}

// The change on the file's records under its exclusive open, as described in
// kzotask_run.h. A schedule file that is missing is made only by a change
// that creates tasks (createsFile), and only once the change is accepted.
int changeSchedule(const Schedule& schedule, bool createsFile, const Change& change, ToolOutput& output) {
    if (!scheduleExists(schedule)) {
        if (!createsFile) return noScheduleFile(schedule, output);
        std::vector<TaskRecord> none;
        ChangeOutcome dryRun = change(none);
        if (dryRun.exitCode != kTaskDone) return reportOutcome(dryRun, output);
    }
    ScheduleStore store;
    store.setFileName(schedule.setting.c_str());
    int opened = store.open(true);
    if (opened != kStoreOk) return openFailure(schedule, opened, output);
    int read = store.read(UnchangedFilter());
    if (read != kStoreOk && read != kStoreEmpty) {
        store.close();
        return readFailure(schedule, read, output);
    }

    std::vector<TaskRecord> tasks = recordsOf(store);
    ChangeOutcome outcome = change(tasks);
    if (outcome.exitCode != kTaskDone) {
        store.close();
        return reportOutcome(outcome, output);
    }
    store.clear();
    if (!store.reserve(static_cast<std::uint64_t>(tasks.size()) * kRecordSize)) {
        store.close();
        output.err("Error writing Schedule to file \"" + schedule.fileName + "\": " +
                   systemErrorText(ERROR_NOT_ENOUGH_MEMORY) + "\n");
        return kTaskWindows;
    }
    for (const TaskRecord& task : tasks) store.append(task);
    int written = store.write(false);
    signalSchedulers(schedule);
    if (written != kStoreOk) {
        output.err("Error writing Schedule to file \"" + schedule.fileName + "\": " + systemErrorText(written) +
                   "\n");
        return kTaskWindows;
    }
    store.close();
    return reportOutcome(outcome, output);
}

// The newest line of every task in the run history beside the schedule file
// (its older copy included): the tasks' last results, by name.
using LastResults = std::map<std::string, RunEvent>;

LastResults lastResults(const Schedule& schedule) {
    std::vector<RunEvent> events;
    readRunHistory(schedule.fileName, events);
    return lastResultByTask(events);
}

// "" for a task that has no line in the history.
std::string lastResultOf(const LastResults& results, const TaskRecord& task) {
    auto found = results.find(std::string(nameKey(task)));
    return found == results.end() ? std::string() : resultText(found->second);
}

// --- Run ------------------------------------------------------------------------

// How a run from the console presents what the launch shows: no question
// before it, a failure to start kept for the exit code, a local message in a
// top-most box as the Terminal shows it (local displays of a target list run
// on threads of their own, which the tool waits for before it ends).
class ConsoleActions final : public Win32Actions {
public:
    ConsoleActions() : displaysClosed_(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

    bool confirmLaunch(const TaskRecord&, const char*) override { return true; }

    void showLaunchError(const TaskRecord& task, const char* command, std::uint32_t error) override {
        failure_ = "Unable to launch \"" + fieldText(task.name) + "\" task : " + command + ": " +
                   systemErrorText(error);
    }

    void showMessage(const char* text) override {
        MessageBoxA(nullptr, text, kProductName, MB_OK | MB_ICONINFORMATION | MB_TOPMOST | MB_SETFOREGROUND);
    }

    // Counted before its thread starts, so that the wait after the launch
    // never misses a box that has yet to show.
    void showMessageAside(const char* text) override {
        displayOpened();
        std::string copy(text);
        auto show = [this, copy] {
            showMessage(copy.c_str());
            displayClosed();
        };
        if (!startDetachedThread(show)) show();
    }

    void reportScheduleError(ScheduleError, const char*, std::uint32_t) override {}

    void waitForDisplays() {
        if (displaysClosed_) WaitForSingleObject(displaysClosed_.get(), INFINITE);
    }
    const std::string& failure() const { return failure_; }

private:
    void displayOpened() {
        SectionLock lock(section_);
        if (openDisplays_++ == 0 && displaysClosed_) ResetEvent(displaysClosed_.get());
    }
    void displayClosed() {
        SectionLock lock(section_);
        if (--openDisplays_ == 0 && displaysClosed_) SetEvent(displaysClosed_.get());
    }

    CriticalSection section_;
    int openDisplays_ = 0;
    UniqueHandle displaysClosed_;
    std::string failure_;
};

// Ctrl+C, Ctrl+Break or the console's closing while a run waits for its
// program: the run's history tells that the program was still running, as a
// scheduler's stop does; the console then ends the tool.
BOOL WINAPI endingConsole(DWORD) {
    runHistory().recordStillRunning(SystemClock().now());
    return FALSE;
}

// The run goes into the schedule's run history as the Terminal's Run writes
// it, when the schedule's scheduler keeps one; the launch then follows the
// program to its end, and so does the tool, which says what became of this
// run. A run whose task could not be launched, sent or carried out ends with
// kTaskWindows; a program's own exit code is reported, not passed on.
int runTask(const Schedule& schedule, const TaskRecord& task, ToolOutput& output) {
    if (task.type == kTypeMessage && !schedule.wav.empty())
        PlaySoundA(expanded(schedule.wav).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    static ConsoleActions* actions = new ConsoleActions;  // outlives any display thread
    RunNowLaunch run = runNowLaunch(task, SystemClock().now(),
                                    schedule.keepsHistory ? historyFileOf(schedule.fileName) : std::string());
    RunEvent lastLine;  // stays without a task when no history is kept
    run.options.lastLine = &lastLine;
    SetConsoleCtrlHandler(endingConsole, TRUE);
    runLaunch(run.request, *actions, run.options);
    SetConsoleCtrlHandler(endingConsole, FALSE);
    actions->waitForDisplays();
    if (!actions->failure().empty()) {
        output.err(actions->failure() + "\n");
        return kTaskWindows;
    }
    const std::string name = fieldText(task.name);
    if (lastLine.task.empty()) {
        output.out("Task \"" + name + "\" started.\n");
        return kTaskDone;
    }
    output.out("Task \"" + name + "\" ran: " + resultText(lastLine) + ".\n");
    return isFailure(lastLine) && lastLine.outcome != RunOutcome::Exited ? kTaskWindows : kTaskDone;
}

// --- Export and import ------------------------------------------------------------

int writeTextFile(const std::string& path, const std::string& text, ToolOutput& output) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        output.err("Error writing \"" + path + "\": " + systemErrorText(lastErrorOr(ERROR_WRITE_FAULT)) + "\n");
        return kTaskWindows;
    }
    return kTaskDone;
}

int readTextFile(const std::string& path, std::string& text, ToolOutput& output) {
    UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::uint64_t size = 0;
    DWORD got = 0;
    bool ok = file && fileSize(file.get(), size) && size < 0x40000000;
    if (ok) {
        text.assign(static_cast<std::size_t>(size), '\0');
        ok = size == 0 || (ReadFile(file.get(), &text[0], static_cast<DWORD>(size), &got, nullptr) && got == size);
    }
    if (!ok) {
        output.err("Error reading \"" + path + "\": " + systemErrorText(lastErrorOr(ERROR_READ_FAULT)) + "\n");
        return kTaskWindows;
    }
    return kTaskDone;
}

// --- The verbs ----------------------------------------------------------------------

int findLoaded(const std::vector<TaskRecord>& tasks, const std::string& name, ToolOutput& output) {
    int index = findTask(tasks, name);
    if (index < 0) output.err("There is no task \"" + name + "\" in the schedule.\n");
    return index;
}

DueContext dueFromNow(const Schedule& schedule) {
    DueContext from;
    from.now = followingMinute(SystemClock().now());
    from.role = schedule.role;
    return from;
}

int listTasks(const KzoTaskCommand& command, const Schedule& schedule, const TerminalSettings& settings,
              ToolOutput& output) {
    std::vector<TaskRecord> tasks;
    int loaded = loadTasks(schedule, tasks, output);
    if (loaded != kTaskDone) return loaded;
    const DueContext from = dueFromNow(schedule);
    const LastResults results = lastResults(schedule);
    std::vector<ListedTask> listed;
    for (const TaskRecord& task : tasks)
        listed.push_back(
            {&task, nextRunWords(findNextRun(task, from), schedule.role, settings.ampm), lastResultOf(results, task)});
    CellOptions options;
    options.ampm = settings.ampm;
    options.userSchedule = schedule.role == SchedulerRole::User;
    output.out(command.csv ? taskCsv(listed, options) : taskTable(listed, options));
    return kTaskDone;
}

int showTask(const KzoTaskCommand& command, const Schedule& schedule, const TerminalSettings& settings,
             ToolOutput& output) {
    std::vector<TaskRecord> tasks;
    int loaded = loadTasks(schedule, tasks, output);
    if (loaded != kTaskDone) return loaded;
    int index = findLoaded(tasks, command.operands[0], output);
    if (index < 0) return kTaskNotFound;
    const TaskRecord& task = tasks[index];
    output.out(shownTask(task, nextRunWords(findNextRun(task, dueFromNow(schedule)), schedule.role, settings.ampm),
                         lastResultOf(lastResults(schedule), task)));
    return kTaskDone;
}

int nextTimes(const KzoTaskCommand& command, const Schedule& schedule, const TerminalSettings& settings,
              ToolOutput& output) {
    int count = kDefaultNextCount;
    if (command.operands.size() > 1) {
        const std::string& typed = command.operands[1];
        count = 0;
        if (typed.size() <= 4) {
            for (char c : typed) count = c >= '0' && c <= '9' && count >= 0 ? count * 10 + (c - '0') : -1;
        }
        if (count < 1 || count > kMostNextCount) {
            output.err("N \"" + typed + "\": the number of run times is 1 to 1000.\n");
            return kTaskInvalid;
        }
    }
    std::vector<TaskRecord> tasks;
    int loaded = loadTasks(schedule, tasks, output);
    if (loaded != kTaskDone) return loaded;
    int index = findLoaded(tasks, command.operands[0], output);
    if (index < 0) return kTaskNotFound;
    for (const std::string& line :
         nextRunTimes(tasks[index], SystemClock().now(), schedule.role, settings.ampm, count))
        output.out(line + "\n");
    return kTaskDone;
}

int exportTasks(const KzoTaskCommand& command, const Schedule& schedule, ToolOutput& output) {
    std::vector<TaskRecord> tasks;
    int loaded = loadTasks(schedule, tasks, output);
    if (loaded != kTaskDone) return loaded;
    const std::string& path = command.operands[0];
    int written = writeTextFile(path, taskFile(tasks), output);
    if (written != kTaskDone) return written;
    output.out("Exported " + std::to_string(tasks.size()) + (tasks.size() == 1 ? " task" : " tasks") + " to " +
               path + ".\n");
    return kTaskDone;
}

}  // namespace

int runKzoTask(const std::vector<std::string>& arguments, ToolOutput& output,
               const KzoTaskEnvironment& environment) {
    KzoTaskCommand command = parseKzoTaskCommand(arguments);
    if (command.usage) {
        output.err(command.error + "\n\n" + kzoTaskUsageText());
        return kTaskUsage;
    }
    if (command.verb == TaskVerb::Help) {
        output.out(kzoTaskUsageText());
        return kTaskDone;
    }

    const TerminalSettings settings = readTerminalSettings(environment.keys);
    Schedule schedule;
    if (!locateSchedule(command, settings, environment, schedule, output)) return kTaskNotFound;

    ChangeContext context;
    context.autoQuote = settings.autoQuote;
    context.isNt = isWindowsNt();
    context.messageText = [](int id) { return loadString(static_cast<unsigned>(id)); };
    const bool changes = command.verb == TaskVerb::Add || command.verb == TaskVerb::Set ||
                         command.verb == TaskVerb::Enable || command.verb == TaskVerb::Disable ||
                         command.verb == TaskVerb::Rename || command.verb == TaskVerb::Import;
    if (changes) context.programSearch = systemProgramSearch();

    const std::vector<std::string>& operands = command.operands;
    switch (command.verb) {
        case TaskVerb::Help:
            break;
        case TaskVerb::List:
            return listTasks(command, schedule, settings, output);
        case TaskVerb::Show:
            return showTask(command, schedule, settings, output);
        case TaskVerb::Next:
            return nextTimes(command, schedule, settings, output);
        case TaskVerb::Export:
            return exportTasks(command, schedule, output);
        case TaskVerb::Run: {
            std::vector<TaskRecord> tasks;
            int loaded = loadTasks(schedule, tasks, output);
            if (loaded != kTaskDone) return loaded;
            int index = findLoaded(tasks, operands[0], output);
            if (index < 0) return kTaskNotFound;
            return runTask(schedule, tasks[index], output);
        }
        case TaskVerb::Add:
            return changeSchedule(schedule, true, [&](std::vector<TaskRecord>& tasks) {
                return addTask(tasks, operands[0], command.task, context);
            }, output);
        case TaskVerb::Set:
        case TaskVerb::Enable:
        case TaskVerb::Disable: {
            TaskOptions options = command.task;
            const char* done = "changed";
            if (command.verb != TaskVerb::Set) {
                options.active = command.verb == TaskVerb::Enable;
                done = command.verb == TaskVerb::Enable ? "enabled" : "disabled";
            }
            return changeSchedule(schedule, false, [&](std::vector<TaskRecord>& tasks) {
                return setTask(tasks, operands[0], options, context, done);
            }, output);
        }
        case TaskVerb::Rename:
            return changeSchedule(schedule, false, [&](std::vector<TaskRecord>& tasks) {
                return renameTask(tasks, operands[0], operands[1], context);
            }, output);
        case TaskVerb::Remove:
            return changeSchedule(schedule, false, [&](std::vector<TaskRecord>& tasks) {
                return removeTask(tasks, operands[0]);
            }, output);
        case TaskVerb::Import: {
            std::string text;
            int read = readTextFile(operands[0], text, output);
            if (read != kTaskDone) return read;
            const TaskFileRead file = readTaskFile(text);
            return changeSchedule(schedule, true, [&](std::vector<TaskRecord>& tasks) {
                return importTasks(tasks, file, operands[0], command.replace, context);
            }, output);
        }
    }
    return kTaskUsage;
}

}  // namespace kzo
