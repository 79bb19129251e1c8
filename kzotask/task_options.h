// kzotask's command line: the verb, its operands, the schedule it works on and
// the task options, read without looking at their values (the values are
// checked by the rules that store them, task_changes.h). Pure: no windows.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kzo {

// Exit codes of kzotask.exe.
enum KzoTaskExit : int {
    kTaskDone = 0,
    kTaskUsage = 1,     // wrong arguments (the usage text was shown)
    kTaskNotFound = 2,  // no such task or schedule
    kTaskInvalid = 3,   // a value the rules refuse (the message names the option and why)
    kTaskBusy = 4,      // the schedule file stayed busy through the open's retries
    kTaskWindows = 5,   // any other failure, with the system's text
};

enum class TaskVerb { Help, List, Show, Next, Add, Set, Enable, Disable, Remove, Rename, Run, Export, Import };

// When a task runs: at most one of /at, /hourly, /every and /startup.
enum class TaskWhen { Unchanged, At, Hourly, Every, Startup };

// The options of add and set, each as typed; absent = unchanged (set) or the
// new task's default (add).
struct TaskOptions {
    std::optional<std::string> command;
    std::optional<std::string> type;
    TaskWhen when = TaskWhen::Unchanged;
    std::string whenValue;  // the value of /at, /hourly or /every
    std::optional<std::string> days;
    std::optional<std::string> daysOfMonth;
    std::optional<std::string> months;
    std::optional<std::string> between;
    std::optional<bool> invert;
    std::optional<bool> runLater;
    std::optional<bool> runOnce;
    std::optional<bool> minimized;
    std::optional<bool> active;
    std::optional<std::string> folder;
    std::optional<std::string> quitAfter;
    std::optional<std::string> killAfter;
    std::optional<std::string> onError;

    // Any option of the Day and time page (the activity interval included).
    bool touchesSchedule() const;
    bool empty() const;
};

struct KzoTaskCommand {
    TaskVerb verb = TaskVerb::Help;
    bool usage = false;  // the arguments are wrong: error says why
    std::string error;
    std::vector<std::string> operands;  // NAME [N], OLD NEW, or FILE
    bool system = false;                // /system: the System Schedule
    std::string file;                   // /file PATH: that schedule file
    bool csv = false;                   // list /csv
    bool replace = false;               // import /replace
    TaskOptions task;
};

// The arguments after the program name. Options start with "/" and are read
// in any case, anywhere after the program name; an option's value is the next
// argument, whatever it starts with. "/?", "-?", "/h", "-h", "--help" and the
// verb "help" ask for the usage text; no arguments at all are a usage error.
KzoTaskCommand parseKzoTaskCommand(const std::vector<std::string>& arguments);

std::string kzoTaskUsageText();

}  // namespace kzo
