#include "task_options.h"

#include <cstddef>
#include <string_view>

namespace kzo {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lower(c);
    return out;
}

struct VerbInfo {
    const char* word;
    TaskVerb verb;
    std::size_t minOperands;
    std::size_t maxOperands;
    const char* operands;  // for the message about their number
};

const VerbInfo kVerbs[] = {
    {"list", TaskVerb::List, 0, 0, "no task name"},
    {"show", TaskVerb::Show, 1, 1, "NAME"},
    {"next", TaskVerb::Next, 1, 2, "NAME [N]"},
    {"add", TaskVerb::Add, 1, 1, "NAME"},
    {"set", TaskVerb::Set, 1, 1, "NAME"},
    {"enable", TaskVerb::Enable, 1, 1, "NAME"},
    {"disable", TaskVerb::Disable, 1, 1, "NAME"},
    {"remove", TaskVerb::Remove, 1, 1, "NAME"},
    {"rename", TaskVerb::Rename, 2, 2, "OLD NEW"},
    {"run", TaskVerb::Run, 1, 1, "NAME"},
    {"export", TaskVerb::Export, 1, 1, "FILE"},
    {"import", TaskVerb::Import, 1, 1, "FILE"},
};

// Where an option belongs.
enum class Scope { Anywhere, Task, List, Import };

// What an option does to the command; value is empty for a flag.
using Apply = void (*)(KzoTaskCommand& command, const std::string& value);

struct OptionInfo {
    const char* name;  // lower case, without the "/"
    bool takesValue;
    Scope scope;
    Apply apply;
    const char* conflictGroup;  // options of one group exclude each other
};

void setWhen(KzoTaskCommand& c, TaskWhen when, const std::string& value) {
    c.task.when = when;
    c.task.whenValue = value;
}

const OptionInfo kOptions[] = {
    {"system", false, Scope::Anywhere, [](KzoTaskCommand& c, const std::string&) { c.system = true; }, "schedule"},
    {"file", true, Scope::Anywhere, [](KzoTaskCommand& c, const std::string& v) { c.file = v; }, "schedule"},
    {"csv", false, Scope::List, [](KzoTaskCommand& c, const std::string&) { c.csv = true; }, nullptr},
    {"replace", false, Scope::Import, [](KzoTaskCommand& c, const std::string&) { c.replace = true; }, nullptr},
    {"command", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.command = v; }, nullptr},
    {"type", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.type = v; }, nullptr},
    {"at", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { setWhen(c, TaskWhen::At, v); }, "when"},
    {"hourly", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { setWhen(c, TaskWhen::Hourly, v); },
     "when"},
    {"every", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { setWhen(c, TaskWhen::Every, v); },
     "when"},
    {"startup", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { setWhen(c, TaskWhen::Startup, ""); },
     "when"},
    {"days", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.days = v; }, nullptr},
    {"dom", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.daysOfMonth = v; }, nullptr},
    {"months", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.months = v; }, nullptr},
    {"between", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.between = v; }, nullptr},
    {"invert", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.invert = true; }, "invert"},
    {"noinvert", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.invert = false; }, "invert"},
    {"runlater", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.runLater = true; },
     "runlater"},
    {"norunlater", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.runLater = false; },
     "runlater"},
    {"runonce", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.runOnce = true; }, "runonce"},
    {"norunonce", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.runOnce = false; },
     "runonce"},
    {"minimized", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.minimized = true; },
     "minimized"},
    {"nominimized", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.minimized = false; },
     "minimized"},
    {"inactive", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.active = false; }, "active"},
    {"active", false, Scope::Task, [](KzoTaskCommand& c, const std::string&) { c.task.active = true; }, "active"},
    {"folder", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.folder = v; }, nullptr},
    {"quit", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.quitAfter = v; }, nullptr},
    {"kill", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.killAfter = v; }, nullptr},
    {"onerror", true, Scope::Task, [](KzoTaskCommand& c, const std::string& v) { c.task.onError = v; }, nullptr},
};

const OptionInfo* findOption(std::string_view name) {
    std::string wanted = lowered(name);
    for (const OptionInfo& option : kOptions)
        if (wanted == option.name) return &option;
    return nullptr;
}

bool isHelp(const std::string& argument) {
    std::string word = lowered(argument);
    return word == "/?" || word == "-?" || word == "/h" || word == "-h" || word == "--help";
}

bool allowedFor(Scope scope, TaskVerb verb) {
    switch (scope) {
        case Scope::Anywhere:
            return true;
        case Scope::Task:
            return verb == TaskVerb::Add || verb == TaskVerb::Set;
        case Scope::List:
            return verb == TaskVerb::List;
        case Scope::Import:
            return verb == TaskVerb::Import;
    }
    return false;
}

KzoTaskCommand usage(std::string error) {
    KzoTaskCommand command;
    command.usage = true;
    command.error = std::move(error);
    return command;
}

}  // namespace

bool TaskOptions::touchesSchedule() const {
    return when != TaskWhen::Unchanged || days || daysOfMonth || months || between || invert || runLater;
}

bool TaskOptions::empty() const {
    return !touchesSchedule() && !command && !type && !runOnce && !minimized && !active && !folder && !quitAfter &&
           !killAfter && !onError;
}

KzoTaskCommand parseKzoTaskCommand(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return usage("No command given.");

    KzoTaskCommand command;
    const VerbInfo* verb = nullptr;
    // The options seen, in order, to check them against the verb once known.
    std::vector<const OptionInfo*> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // Help is asked for in the place of a command or an option; an
        // option's value is taken as it stands ("/command /?" is a text).
        if (isHelp(argument)) return KzoTaskCommand{};
        if (argument.size() > 1 && argument[0] == '/') {
            const OptionInfo* option = findOption(std::string_view(argument).substr(1));
            if (!option) return usage("Unknown option " + argument + ".");
            for (const OptionInfo* earlier : seen) {
                if (earlier == option) return usage("The option /" + std::string(option->name) + " is given twice.");
                if (option->conflictGroup && earlier->conflictGroup &&
                    std::string_view(option->conflictGroup) == earlier->conflictGroup)
                    return usage("The options /" + std::string(earlier->name) + " and /" + option->name +
                                 " exclude each other.");
            }
            std::string value;
            if (option->takesValue) {
                if (i + 1 >= arguments.size()) return usage("The option /" + std::string(option->name) + " needs a value.");
                value = arguments[++i];
            }
            option->apply(command, value);
            seen.push_back(option);
            continue;
        }
        if (!verb) {
            std::string word = lowered(argument);
            if (word == "help") return KzoTaskCommand{};
            for (const VerbInfo& candidate : kVerbs)
                if (word == candidate.word) verb = &candidate;
            if (!verb) return usage("Unknown command " + argument + ".");
            continue;
        }
        command.operands.push_back(argument);
    }
    if (!verb) return usage("No command given.");
    command.verb = verb->verb;
    for (const OptionInfo* option : seen)
        if (!allowedFor(option->scope, command.verb))
            return usage("The option /" + std::string(option->name) + " is not one of " + verb->word + ".");
    if (command.operands.size() < verb->minOperands || command.operands.size() > verb->maxOperands)
        return usage(std::string(verb->word) + " takes " + verb->operands + ".");
    if (command.verb == TaskVerb::Add && !command.task.command) return usage("add needs /command.");
    if (command.verb == TaskVerb::Set && command.task.empty()) return usage("set needs an option to change.");
    return command;
}

std::string kzoTaskUsageText() {
    return "kzotask: the tasks of a KZO Scheduler schedule from the command line.\n"
           "\n"
           "  kzotask list [/csv]               every task: type, time, days, months, interval,\n"
           "                                    next run, last run, last result, command\n"
           "  kzotask show NAME                 every field of the task\n"
           "  kzotask next NAME [N]             the next N run times (5 when not given)\n"
           "  kzotask add NAME /command TEXT [options]\n"
           "  kzotask set NAME options          changes only the options given\n"
           "  kzotask enable NAME | disable NAME | remove NAME\n"
           "  kzotask rename OLD NEW\n"
           "  kzotask run NAME                  runs the task now, as the Terminal's Run does;\n"
           "                                    with a run history, waits for the program's end\n"
           "  kzotask export FILE               every task into a text file\n"
           "  kzotask import FILE [/replace]    adds the tasks of such a file; /replace\n"
           "                                    replaces tasks of the same name\n"
           "\n"
           "The schedule: the User Schedule of the current user; /system the System\n"
           "Schedule; /file PATH a schedule file.\n"
           "\n"
           "Options of add and set:\n"
           "  /command TEXT         the program, document, message text, or SHUTDOWN,\n"
           "                        TURNOFF, REBOOT or LOGOFF\n"
           "  /type T               app, doc, msg or shutdown (add: app)\n"
           "  /at HH:MM             at a time of the day (add: 00:00)\n"
           "  /hourly MM            every hour at minute MM\n"
           "  /every MINUTES        every so many minutes, at most 5999\n"
           "  /startup              at system startup (System Schedule) or user logon\n"
           "  /days D,...           Mo,Tu,We,Th,Fr,Sa,Su, weekdays, daily or none\n"
           "  /dom N,...            days of the month, 1 to 31, L for the last, or none\n"
           "  /months M,...         Jan,Feb,...,Dec, or every (add: every)\n"
           "  /between HH:MM-HH:MM  the activity interval (add: 00:00-23:59)\n"
           "  /invert, /noinvert    run only outside the activity interval, or inside\n"
           "  /runlater, /norunlater  make up a time that was missed (add: /runlater)\n"
           "  /runonce, /norunonce  remove the task after it ran\n"
           "  /minimized, /nominimized  start the program minimized\n"
           "  /inactive, /active    keep the task from running, or let it run\n"
           "  /folder PATH          the startup folder; for msg and shutdown the computers\n"
           "  /quit S, /kill S      ask the program to close, end it, S seconds after the\n"
           "                        start (0: never)\n"
           "  /onerror CMD          run CMD when the command cannot be started\n"
           "\n"
           "Exit codes: 0 done, 1 wrong arguments, 2 no such task or schedule, 3 a value\n"
           "refused, 4 the schedule file is busy, 5 another Windows error.\n";
}

}  // namespace kzo
