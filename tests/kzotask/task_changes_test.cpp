// kzotask's changes to a schedule's tasks: each option stores what the
// Terminal's pages store, set changes only what it is given, and every
// refusal names the option with the pages' own message (from the string table
// the tool shares with the Terminal).
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "string_table.h"
#include "task_changes.h"
#include "test_support.h"

namespace kzo {
namespace {

ChangeContext context() {
    static const std::set<std::string> files = {"C:\\Program Files\\App\\app.exe"};
    ChangeContext c;
    c.programSearch.fileExists = [](const std::string& path) { return files.count(path) > 0; };
    c.messageText = [](int id) { return loadString(static_cast<unsigned>(id)); };
    return c;
}

TaskOptions options(std::initializer_list<std::pair<const char*, const char*>> given) {
    TaskOptions o;
    for (const auto& [name, value] : given) {
        std::string option = name;
        if (option == "command") o.command = value;
        else if (option == "type") o.type = value;
        else if (option == "at") o.when = TaskWhen::At, o.whenValue = value;
        else if (option == "hourly") o.when = TaskWhen::Hourly, o.whenValue = value;
        else if (option == "every") o.when = TaskWhen::Every, o.whenValue = value;
        else if (option == "startup") o.when = TaskWhen::Startup;
        else if (option == "days") o.days = value;
        else if (option == "dom") o.daysOfMonth = value;
        else if (option == "months") o.months = value;
        else if (option == "between") o.between = value;
        else if (option == "invert") o.invert = true;
        else if (option == "norunlater") o.runLater = false;
        else if (option == "runonce") o.runOnce = true;
        else if (option == "minimized") o.minimized = true;
        else if (option == "inactive") o.active = false;
        else if (option == "folder") o.folder = value;
        else if (option == "quit") o.quitAfter = value;
        else if (option == "kill") o.killAfter = value;
        else if (option == "onerror") o.onError = value;
        else ADD_FAILURE() << "no option " << option;
    }
    return o;
}

// A task run on 5 March 2026 at 09:07:30, not edited since.
TaskRecord ranTask(const char* name) {
    TaskRecord r = test::record(name);
    r.weekdays = 31;
    r.time = 8 * 60;
    r.months = 4095;
    setField(r.command, "backup.exe");
    r.edited = 0;
    r.lastDay = 5;
    r.lastMonth = 3;
    r.lastYear = 126;
    r.lastHour = 9;
    r.lastMinute = 7;
    r.lastSecond = 30;
    return r;
}

TEST(TaskChangesAdd, EachOptionStoresWhatThePagesStore) {
    struct Case {
        const char* what;
        TaskOptions given;
        void (*expect)(const TaskRecord&);
    } const cases[] = {
        {"the wizard's defaults", options({{"command", "a.exe"}, {"days", "Mo"}}),
         [](const TaskRecord& r) {
             EXPECT_EQ(1, r.active);
             EXPECT_EQ(kTypeApplication, r.type);
             EXPECT_EQ(0, r.time);
             EXPECT_EQ(1, r.runLater);
             EXPECT_EQ(4095, r.months);
             EXPECT_EQ(0, r.intervalStart);
             EXPECT_EQ(1439, r.intervalEnd);
             EXPECT_EQ(1, r.edited);
             EXPECT_EQ(0, r.lastYear);
         }},
        {"/at", options({{"command", "a.exe"}, {"days", "Mo"}, {"at", "7:05"}}),
         [](const TaskRecord& r) { EXPECT_EQ(7 * 60 + 5, r.time); EXPECT_EQ(0, r.cycle); }},
        {"/hourly", options({{"command", "a.exe"}, {"days", "Mo"}, {"hourly", "15"}}),
         [](const TaskRecord& r) { EXPECT_EQ(1515, r.time); }},
        {"/every", options({{"command", "a.exe"}, {"days", "Mo"}, {"every", "90"}}),
         [](const TaskRecord& r) { EXPECT_EQ(90, r.time); EXPECT_EQ(1, r.cycle); }},
        {"/startup", options({{"command", "a.exe"}, {"days", "Mo"}, {"startup", ""}}),
         [](const TaskRecord& r) { EXPECT_EQ(1560, r.time); EXPECT_EQ(0, r.cycle); }},
        {"/days by names", options({{"command", "a.exe"}, {"days", "mon, Su"}}),
         [](const TaskRecord& r) { EXPECT_EQ(1 | 64, r.weekdays); }},
        {"/days weekdays", options({{"command", "a.exe"}, {"days", "weekdays"}}),
         [](const TaskRecord& r) { EXPECT_EQ(31, r.weekdays); }},
        {"/dom in the day list's normal form", options({{"command", "a.exe"}, {"dom", "1; 15,7"}}),
         [](const TaskRecord& r) { EXPECT_STREQ("01,15,07", r.daysOfMonth); EXPECT_EQ(0, r.weekdays); }},
        {"/months", options({{"command", "a.exe"}, {"days", "Mo"}, {"months", "Jan,march"}}),
         [](const TaskRecord& r) { EXPECT_EQ(1 | 4, r.months); }},
        {"/between /invert", options({{"command", "a.exe"}, {"days", "Mo"}, {"at", "20:00"},
                                       {"between", "09:00-17:00"}, {"invert", ""}}),
         [](const TaskRecord& r) {
             EXPECT_EQ(540, r.intervalStart);
             EXPECT_EQ(1020, r.intervalEnd);
             EXPECT_EQ(1, r.invert);
         }},
        {"the flags", options({{"command", "a.exe"}, {"days", "Mo"}, {"norunlater", ""}, {"runonce", ""},
                               {"minimized", ""}, {"inactive", ""}}),
         [](const TaskRecord& r) {
             EXPECT_EQ(0, r.runLater);
             EXPECT_EQ(kRunOnceYes, r.runOnce);
             EXPECT_EQ(1, r.runMinimized);
             EXPECT_EQ(0, r.active);
         }},
        {"Advanced process settings", options({{"command", "a.exe"}, {"days", "Mo"}, {"quit", "30"},
                                               {"kill", "99 999"}, {"onerror", "notify.exe"}}),
         [](const TaskRecord& r) {
             EXPECT_EQ(30, r.quitAfter);
             EXPECT_EQ(99999, r.killAfter);
             EXPECT_STREQ("notify.exe", r.onError);
         }},
        {"a message to computers", options({{"command", "Hello"}, {"type", "msg"}, {"days", "Mo"},
                                            {"folder", "PC1;PC2"}}),
         [](const TaskRecord& r) { EXPECT_EQ(kTypeMessage, r.type); EXPECT_STREQ("PC1,PC2", r.folder); }},
        {"AutoQuote of the program part", options({{"command", "C:\\Program Files\\App\\app.exe -x"}, {"days", "Mo"}}),
         [](const TaskRecord& r) { EXPECT_STREQ("\"C:\\Program Files\\App\\app.exe\" -x", r.command); }},
        {"a shut down keyword as typed", options({{"command", "reboot"}, {"type", "shutdown"}, {"days", "Mo"}}),
         [](const TaskRecord& r) { EXPECT_STREQ("reboot", r.command); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TaskRecord> tasks = {ranTask("Backup")};
        ChangeOutcome outcome = addTask(tasks, "  New  ", c.given, context());
        ASSERT_EQ(kTaskDone, outcome.exitCode) << outcome.message;
        EXPECT_EQ("Task \"New\" added.", outcome.message);
        ASSERT_EQ(2u, tasks.size());
        EXPECT_STREQ("New", tasks[1].name);
        c.expect(tasks[1]);
    }
}

TEST(TaskChangesAdd, RefusalsNameTheOptionWithThePagesMessage) {
    const std::string longName(65, 'n');
    struct Case {
        TaskOptions given;
        std::string name;
        std::string message;
    } const cases[] = {
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"at", "24:00"}}), "New",
         "/at \"24:00\": Invalid time specified."},
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"at", "0700"}}), "New",
         "/at \"0700\": Invalid time specified."},
        {options({{"command", "a.exe"}, {"dom", "32"}}), "New", "/dom \"32\": Invalid day specified."},
        {options({{"command", "a.exe"}, {"dom", "1-5"}}), "New",
         "/dom \"1-5\": Invalid character in \"Day of month\" field."},
        {options({{"command", "a.exe"}}), "New", "/days, /dom: No day specified."},
        {options({{"command", "a.exe"}, {"days", "Mo"}}), longName,
         "Task name \"" + longName + "\": A task name holds at most 64 characters."},
        {options({{"command", "a.exe"}, {"days", "Mo"}}), "Backup",
         "Task name \"Backup\": Task with this name already exists. You must use an other name."},
        {options({{"command", "  "}, {"days", "Mo"}}), "New",
         "/command \"  \": Task name or Command was not specified."},
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"hourly", "60"}}), "New",
         "/hourly \"60\": Invalid time specified."},
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"every", "0"}}), "New",
         "/every \"0\": Zero cycle is invalid."},
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"every", "6000"}}), "New",
         "/every \"6000\": Invalid time specified."},
        {options({{"command", "a.exe"}, {"days", "Xy"}}), "New",
         "/days \"Xy\": The days are Mo, Tu, We, Th, Fr, Sa, Su, weekdays, daily or none."},
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"months", "Ma"}}), "New",
         "/months \"Ma\": The months are Jan, Feb, ... Dec, or every."},
        {options({{"command", "restart"}, {"type", "shutdown"}, {"days", "Mo"}}), "New",
         "/command \"restart\": The \"Command\" property must contain one of the following keywords : SHUTDOWN, "
         "TURNOFF, REBOOT or LOGOFF for this task."},
        {options({{"command", "a?.txt"}, {"type", "doc"}, {"days", "Mo"}}), "New",
         "/command \"a?.txt\": A Command can't contain any of the following characters : ?<>"},
        {options({{"command", "a.exe"}, {"folder", "C:\\a|b"}, {"days", "Mo"}}), "New",
         "/folder \"C:\\a|b\": Startup folder name can't contain any of the following characters : \"?<>|"},
        {options({{"command", "a.exe"}, {"kill", "100000"}, {"days", "Mo"}}), "New",
         "/kill \"100000\": Invalid time specified. Enter a value between [0...99 999]."},
        {options({{"command", "Hi"}, {"type", "msg"}, {"quit", "5"}, {"days", "Mo"}}), "New",
         "/quit \"5\": Only Application tasks are asked to close."},
        {options({{"command", "a.exe"}, {"type", "job"}, {"days", "Mo"}}), "New",
         "/type \"job\": The type is app, doc, msg or shutdown."},
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"between", "17:00-09:00"}}), "New",
         "/between \"17:00-09:00\": Second time value must be greater than first one."},
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"between", "00:00-23:59"}, {"invert", ""}}), "New",
         "/between \"00:00-23:59\": \"Invert\" option can not be used with full-day interval."},
        {options({{"command", "a.exe"}, {"days", "Mo"}, {"at", "08:00"}, {"between", "09:00-17:00"}}), "New",
         "/at \"08:00\": The specified time is not in the Activity interval."},
    };
    for (const Case& c : cases) {
        std::vector<TaskRecord> tasks = {ranTask("Backup")};
        ChangeOutcome outcome = addTask(tasks, c.name, c.given, context());
        EXPECT_EQ(kTaskInvalid, outcome.exitCode) << c.message;
        EXPECT_EQ(c.message, outcome.message);
        EXPECT_EQ(1u, tasks.size()) << c.message;
    }
}

TEST(TaskChangesSet, ChangesOnlyWhatIsGivenAndKeepsTheStampUnlessTheScheduleChanges) {
    std::vector<TaskRecord> tasks = {ranTask("Backup"), ranTask("Clock")};
    const TaskRecord before = tasks[0];

    ASSERT_EQ(kTaskDone, setTask(tasks, "Backup", options({{"folder", "C:\\Work"}}), context()).exitCode);
    TaskRecord expected = before;
    setField(expected.folder, "C:\\Work");
    expected.edited = 1;
    EXPECT_EQ(0, std::memcmp(&expected, &tasks[0], kRecordSize)) << "the folder and the edited mark only";

    // The Day and time page: the task counts as not run today, the rest of the
    // stamp stays.
    ASSERT_EQ(kTaskDone, setTask(tasks, "Backup", options({{"at", "03:00"}}), context()).exitCode);
    expected.time = 180;
    expected.lastYear = 0;
    EXPECT_EQ(0, std::memcmp(&expected, &tasks[0], kRecordSize));

    // A command given again goes through AutoQuote, one not given never.
    tasks[1].command[0] = '\0';
    setField(tasks[1].command, "C:\\Program Files\\App\\app.exe");
    ASSERT_EQ(kTaskDone, setTask(tasks, "Clock", options({{"inactive", ""}}), context()).exitCode);
    EXPECT_STREQ("C:\\Program Files\\App\\app.exe", tasks[1].command);
    ASSERT_EQ(kTaskDone,
              setTask(tasks, "Clock", options({{"command", "C:\\Program Files\\App\\app.exe"}}), context()).exitCode);
    EXPECT_STREQ("\"C:\\Program Files\\App\\app.exe\"", tasks[1].command);
    EXPECT_EQ(0, tasks[1].active);

    ChangeOutcome missing = setTask(tasks, "backup", options({{"inactive", ""}}), context());
    EXPECT_EQ(kTaskNotFound, missing.exitCode);
    EXPECT_EQ("There is no task \"backup\" in the schedule.", missing.message);
}

TEST(TaskChangesSet, RenameAndRemove) {
    std::vector<TaskRecord> tasks = {ranTask("Backup"), ranTask("Clock"), ranTask("Report")};
    ChangeOutcome taken = renameTask(tasks, "Clock", "Backup", context());
    EXPECT_EQ(kTaskInvalid, taken.exitCode);
    EXPECT_EQ("New name \"Backup\": Task with this name already exists. You must use an other name.", taken.message);
    EXPECT_EQ(kTaskDone, renameTask(tasks, " Clock ", "Clock", context()).exitCode) << "its own name";
    ChangeOutcome renamed = renameTask(tasks, "Clock", " Watch ", context());
    EXPECT_EQ("Task \"Clock\" renamed to \"Watch\".", renamed.message);
    EXPECT_STREQ("Watch", tasks[1].name);
    EXPECT_EQ(126, tasks[1].lastYear) << "a rename keeps the stamp";

    EXPECT_EQ(kTaskDone, removeTask(tasks, "Backup").exitCode);
    ASSERT_EQ(2u, tasks.size());
    EXPECT_STREQ("Report", tasks[0].name) << "the last task moves into the freed place";
    EXPECT_EQ(kTaskNotFound, removeTask(tasks, "Backup").exitCode);
}

TEST(TaskChangesImport, RefusesTheWholeFileNamingTheLine) {
    const std::string good = "[Task]\nName = 'A'\nWeekdays = Mo\nCommand = 'a.exe'\n";
    struct Case {
        std::string text;
        bool replace;
        const char* message;
    } const cases[] = {
        {good + "\n[Task]\nName = 'B'\nCommand = 'b.exe'\nWeekdays = Mo\nTime = 24:00\n", false,
         "in.txt, line 10: Time: Invalid time specified."},
        {good + "Time = 26:30\n", false, "in.txt, line 5: Time: Invalid time specified."},
        {good + "IntervalStart = 10:00\n", false,
         "in.txt, line 5: IntervalStart: The specified time is not in the Activity interval."},
        {good + "[Task]\nName = 'A'\nCommand = 'b.exe'\nWeekdays = Mo\n", true,
         "in.txt, line 6: Name: Task with this name already exists. You must use an other name."},
        {"[Task]\nName = 'Backup'\nCommand = 'b.exe'\nWeekdays = Mo\n", false,
         "in.txt, line 2: Name: Task with this name already exists. You must use an other name."},
        {good + "DaysOfMonth = '32'\n", false, "in.txt, line 5: DaysOfMonth: Invalid day specified."},
        {"[Task]\nName = 'B'\nCommand = 'b.exe'\n", false, "in.txt, line 1: DaysOfMonth: No day specified."},
        {good + "QuitAfter = 100000\n", false,
         "in.txt, line 5: QuitAfter: Invalid time specified. Enter a value between [0...99 999]."},
        {good + "Command = 'b.exe'\n", false, "in.txt, line 5: Command is given twice"},
        {"[Task]\nName = 'D'\nType = Document\nCommand = 'a?.txt'\nWeekdays = Mo\n", false,
         "in.txt, line 4: Command: A Command can't contain any of the following characters : ?<>"},
        {good + "Colour = red\n", false, "in.txt, line 5: unknown key Colour"},
        {good + "Active = yes\n", false, "in.txt, line 5: Active: 0 or 1 is expected"},
        {"Name = 'A'\n", false, "in.txt, line 1: a [Task] line must come first"},
    };
    for (const Case& c : cases) {
        std::vector<TaskRecord> tasks = {ranTask("Backup")};
        ChangeOutcome outcome = importTasks(tasks, readTaskFile(c.text), "in.txt", c.replace, context());
        EXPECT_EQ(kTaskInvalid, outcome.exitCode) << c.message;
        EXPECT_EQ(c.message, outcome.message);
        EXPECT_EQ(1u, tasks.size()) << c.message;
    }
}

TEST(TaskChangesImport, AddsOrReplacesInPlace) {
    std::vector<TaskRecord> tasks = {ranTask("Backup"), ranTask("Clock")};
    const std::string text =
        "; by hand\n[Task]\nName = 'Clock'\nCommand = 'clock.exe'\nWeekdays = daily\nDaysOfMonth = '1'\n"
        "\n[task]\nname = \"New\"\ncommand = \"new.exe\"\nweekdays = Tu\n";
    ChangeOutcome refused = importTasks(tasks, readTaskFile(text), "in.txt", false, context());
    EXPECT_EQ(kTaskInvalid, refused.exitCode);

    ChangeOutcome outcome = importTasks(tasks, readTaskFile(text), "in.txt", true, context());
    ASSERT_EQ(kTaskDone, outcome.exitCode) << outcome.message;
    EXPECT_EQ("Imported 2 tasks (1 replaced) from in.txt.", outcome.message);
    ASSERT_EQ(3u, tasks.size());
    EXPECT_STREQ("clock.exe", tasks[1].command);
    EXPECT_STREQ("01", tasks[1].daysOfMonth) << "stored in the form the due test reads";
    EXPECT_EQ(0, tasks[1].lastYear) << "the block's own stamp: never run";
    EXPECT_STREQ("New", tasks[2].name);
    EXPECT_EQ(2, tasks[2].weekdays);
}

}  // namespace
}  // namespace kzo
