// kzotask's command lines run in-process on schedule files in a scratch folder,
// with the settings in a scratch key: exit codes and messages, the file as it
// was after every refusal, export and import, and what list, show and next say.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "kzotask_run.h"
#include "random_tasks.h"
#include "run_event.h"
#include "system_error.h"
#include "task_options.h"
#include "test_registry.h"
#include "test_support.h"

namespace kzo {
namespace {

class CollectedOutput final : public ToolOutput {
public:
    void out(const std::string& text) override { outText += text; }
    void err(const std::string& text) override { errText += text; }
    std::string outText, errText;
};

struct Ran {
    int exitCode;
    std::string out;
    std::string err;
    std::string firstErrLine() const { return err.substr(0, err.find('\n')); }
};

// A task not run for a while, not edited since.
TaskRecord ranTask(const char* name, const char* command) {
    TaskRecord r = test::record(name);
    r.weekdays = 31;
    r.time = 8 * 60;
    r.months = 4095;
    setField(r.command, command);
    r.edited = 0;
    r.lastDay = 5, r.lastMonth = 3, r.lastYear = 126, r.lastHour = 8, r.lastMinute = 0, r.lastSecond = 1;
    return r;
}

class KzoTaskRun : public ::testing::Test {
protected:
    void SetUp() override {
        environment.keys.userRoot = HKEY_CURRENT_USER;
        environment.keys.systemRoot = HKEY_CURRENT_USER;
        environment.keys.terminalKey = terminalKey.c_str();
        environment.keys.schedulerKey = schedulerKey.c_str();
        environment.programFolder = dir.path() + "\\";
        test::writeSchedule(schedule, {ranTask("Backup", "backup.exe"), ranTask("Clock", "clock.exe")});
    }

    // The arguments after "/file" and the schedule.
    Ran run(const std::vector<std::string>& arguments, const std::string& file = "") {
        std::vector<std::string> all = {"/file", file.empty() ? schedule : file};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return runPlain(all);
    }
    Ran runPlain(const std::vector<std::string>& arguments) {
        CollectedOutput output;
        int exitCode = runKzoTask(arguments, output, environment);
        return {exitCode, output.outText, output.errText};
    }

    test::ScratchKey scratch;
    std::string terminalKey = scratch.path() + "\\Terminal";
    std::string schedulerKey = scratch.path() + "\\Scheduler";
    KzoTaskEnvironment environment;
    test::TempDir dir;
    std::string schedule = dir.file("tasks.jsf");
};

TEST_F(KzoTaskRun, RefusalsSayWhyWithTheirExitCodeAndLeaveTheFileAsItWas) {
    const std::string longName(65, 'L');
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    } const cases[] = {
        {{"add", "New", "/command", "a.exe", "/days", "Mo", "/at", "24:00"}, kTaskInvalid,
         "/at \"24:00\": Invalid time specified."},
        {{"add", "New", "/command", "a.exe", "/dom", "32"}, kTaskInvalid, "/dom \"32\": Invalid day specified."},
        {{"add", longName, "/command", "a.exe", "/days", "Mo"}, kTaskInvalid,
         "Task name \"" + longName + "\": A task name holds at most 64 characters."},
        {{"add", "Backup", "/command", "a.exe", "/days", "Mo"}, kTaskInvalid,
         "Task name \"Backup\": Task with this name already exists. You must use an other name."},
        {{"rename", "Clock", "Backup"}, kTaskInvalid,
         "New name \"Backup\": Task with this name already exists. You must use an other name."},
        {{"set", "Backup", "/quit", "-1"}, kTaskInvalid,
         "/quit \"-1\": Invalid time specified. Enter a value between [0...99 999]."},
        {{"next", "Backup", "0"}, kTaskInvalid, "N \"0\": the number of run times is 1 to 1000."},
        {{"add", "New", "/command", "a.exe", "/colour", "red"}, kTaskUsage, "Unknown option /colour."},
        {{"add", "New", "/command"}, kTaskUsage, "The option /command needs a value."},
        {{"add", "New", "/days", "Mo"}, kTaskUsage, "add needs /command."},
        {{"add", "New", "/command", "a", "/at", "10:00", "/startup"}, kTaskUsage,
         "The options /at and /startup exclude each other."},
        {{"set", "Backup", "/days", "Mo", "/DAYS", "Tu"}, kTaskUsage, "The option /days is given twice."},
        {{"set", "Backup"}, kTaskUsage, "set needs an option to change."},
        {{"list", "/replace"}, kTaskUsage, "The option /replace is not one of list."},
        {{"rename", "Clock"}, kTaskUsage, "rename takes OLD NEW."},
        {{"start", "Clock"}, kTaskUsage, "Unknown command start."},
        {{"set", "Nothing", "/inactive"}, kTaskNotFound, "There is no task \"Nothing\" in the schedule."},
        {{"remove", "backup"}, kTaskNotFound, "There is no task \"backup\" in the schedule."},
        {{"show", "Nothing"}, kTaskNotFound, "There is no task \"Nothing\" in the schedule."},
        {{"import", "C:\\no such folder\\tasks.txt"}, kTaskWindows,
         "Error reading \"C:\\no such folder\\tasks.txt\": " + systemErrorText(ERROR_PATH_NOT_FOUND)},
    };
    const std::string before = test::readFile(schedule);
    for (const Case& c : cases) {
        Ran ran = run(c.arguments);
        EXPECT_EQ(c.exitCode, ran.exitCode) << c.message;
        EXPECT_EQ(c.message, ran.firstErrLine());
        EXPECT_EQ("", ran.out) << c.message;
        if (c.exitCode == kTaskUsage) {
            EXPECT_NE(std::string::npos, ran.err.find("kzotask add NAME /command TEXT")) << "with the usage text";
        }
        EXPECT_EQ(before, test::readFile(schedule)) << c.message;
    }
    Ran none = runPlain({});
    EXPECT_EQ(kTaskUsage, none.exitCode);
    Ran help = runPlain({"/?"});
    EXPECT_EQ(kTaskDone, help.exitCode);
    EXPECT_EQ(kzoTaskUsageText(), help.out);
    EXPECT_EQ(kzoTaskUsageText(), runPlain({"list", "/?"}).out) << "help in the place of an option";
    Ran asked = run({"add", "Question", "/type", "msg", "/command", "/?", "/days", "daily"});
    EXPECT_EQ(kTaskDone, asked.exitCode) << "an option's value is taken as it stands: " << asked.err;
}

TEST_F(KzoTaskRun, AMissingScheduleIsMadeOnlyByAnAcceptedAddOrImport) {
    const std::string fresh = dir.file("fresh.jsf");
    EXPECT_EQ(kTaskNotFound, run({"list"}, fresh).exitCode);
    EXPECT_EQ(kTaskNotFound, run({"set", "Backup", "/inactive"}, fresh).exitCode);
    EXPECT_EQ(kTaskInvalid, run({"add", "New", "/command", "a.exe", "/at", "7:00"}, fresh).exitCode) << "no day";
    EXPECT_FALSE(test::fileExists(fresh));

    Ran added = run({"add", "New", "/command", "a.exe", "/at", "7:00", "/days", "daily"}, fresh);
    EXPECT_EQ(kTaskDone, added.exitCode) << added.err;
    EXPECT_EQ("Task \"New\" added.\n", added.out);
    std::vector<TaskRecord> tasks = test::readSchedule(fresh);
    ASSERT_EQ(1u, tasks.size());
    EXPECT_EQ(420, tasks[0].time);

    Ran system = runPlain({"list", "/system"});
    EXPECT_EQ(kTaskNotFound, system.exitCode);
    EXPECT_EQ("There is no registered System Schedule.\n", system.err);
}

// The Terminal's save would overwrite such a file with its own tasks; the tool
// leaves it for the Terminal's Convert to recover.
TEST_F(KzoTaskRun, AFileOfAnOlderFormatIsLeftAlone) {
    test::writeFile(schedule, test::readFile(schedule) + "x");
    const std::string before = test::readFile(schedule);
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"list"}, {"add", "New", "/command", "a.exe", "/days", "Mo"}}) {
        Ran ran = run(arguments);
        EXPECT_EQ(kTaskWindows, ran.exitCode);
        EXPECT_EQ("Schedule file \"" + schedule +
                      "\" has incorrect size. Old files can be converted: choose Convert in the Terminal's Services "
                      "menu.\n",
                  ran.err);
    }
    EXPECT_EQ(before, test::readFile(schedule));
}

TEST_F(KzoTaskRun, AScheduleHeldOpenByAnotherProgramIsBusyAfterTheRetries) {
    const std::string before = test::readFile(schedule);
    HANDLE held = CreateFileA(schedule.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Ran set = run({"disable", "Backup"});
    Ran list = run({"list"});
    CloseHandle(held);
    EXPECT_EQ(kTaskBusy, set.exitCode);
    EXPECT_EQ("Error opening Schedule file \"" + schedule + "\": " + systemErrorText(ERROR_SHARING_VIOLATION) + "\n",
              set.err);
    EXPECT_EQ(kTaskBusy, list.exitCode);
    EXPECT_EQ(before, test::readFile(schedule));
}

TEST_F(KzoTaskRun, ChangesKeepTheStampsAndMarkTheTaskEdited) {
    TaskRecord backup = test::readSchedule(schedule)[0];
    EXPECT_EQ(kTaskDone, run({"disable", "Backup"}).exitCode);
    std::vector<TaskRecord> tasks = test::readSchedule(schedule);
    ASSERT_EQ(2u, tasks.size());
    backup.active = 0;
    backup.edited = 1;
    EXPECT_EQ(0, std::memcmp(&backup, &tasks[0], kRecordSize));
    EXPECT_EQ(0, tasks[1].edited) << "the other task as it was";

    EXPECT_EQ(kTaskDone, run({"enable", "Backup"}).exitCode);
    EXPECT_EQ(1, test::readSchedule(schedule)[0].active);
    Ran renamed = run({"rename", "Backup", "Nightly backup"});
    EXPECT_EQ("Task \"Backup\" renamed to \"Nightly backup\".\n", renamed.out);
    Ran removed = run({"remove", "Clock"});
    EXPECT_EQ("Task \"Clock\" removed.\n", removed.out);
    tasks = test::readSchedule(schedule);
    ASSERT_EQ(1u, tasks.size());
    EXPECT_STREQ("Nightly backup", tasks[0].name);
    EXPECT_EQ(126, tasks[0].lastYear);
}

TEST_F(KzoTaskRun, ExportThenImportIntoAnEmptyScheduleGivesTheSameRecords) {
    std::mt19937 random(1709);
    test::writeSchedule(schedule, test::randomTasks(random, 80));
    const std::string text = dir.file("tasks.txt");
    const std::string copy = dir.file("copy.jsf");

    Ran exported = run({"export", text});
    EXPECT_EQ(kTaskDone, exported.exitCode) << exported.err;
    EXPECT_EQ("Exported 80 tasks to " + text + ".\n", exported.out);
    EXPECT_NE(std::string::npos, test::readFile(text).find("\r\n[Task]\r\nName = ")) << "lines end in CR LF";
    Ran imported = run({"import", text}, copy);
    EXPECT_EQ(kTaskDone, imported.exitCode) << imported.err;
    EXPECT_EQ("Imported 80 tasks from " + text + ".\n", imported.out);
    EXPECT_EQ(test::readFile(schedule), test::readFile(copy));

    // Again: every name is taken; with /replace each task is replaced in place.
    EXPECT_EQ(kTaskInvalid, run({"import", text}, copy).exitCode);
    Ran replaced = run({"import", text, "/replace"}, copy);
    EXPECT_EQ("Imported 80 tasks (80 replaced) from " + text + ".\n", replaced.out);
    EXPECT_EQ(test::readFile(schedule), test::readFile(copy));
}

TEST_F(KzoTaskRun, ListShowAndNextInTheWordsOfTheTerminal) {
    TaskRecord logon = ranTask("Logon", "mail.exe");
    logon.time = kTimeStartup;
    TaskRecord off = ranTask("Off", "Time to go\thome");
    off.type = kTypeMessage;
    off.active = 0;
    TaskRecord tick = test::everyMinuteTask("Tick", "tick.exe");
    test::writeSchedule(schedule, {logon, off, tick});

    Ran list = run({"list"});
    EXPECT_EQ(kTaskDone, list.exitCode);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = list.out.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(list.out.substr(at, end - at));
    ASSERT_EQ(4u, lines.size()) << list.out;
    EXPECT_EQ("Task   Type         Time        Date              Month  Interval     Next run                    "
              "Last run          Result  Command",
              lines[0]);
    EXPECT_EQ("Logon  Application  UserLogon+  MoTuWeThFr,       EVERY  00:00-23:59  at user logon               "
              "05.03.2026 08:00          mail.exe",
              lines[1]);
    EXPECT_EQ("Off    Message      08:00+      MoTuWeThFr,       EVERY  00:00-23:59  none, the task is inactive  "
              "05.03.2026 08:00          Time to go home",
              lines[2])
        << "a tab shown as a blank";
    EXPECT_EQ(0u, lines[3].find("Tick   Application  00:01!      MoTuWeThFrSaSu,   EVERY  00:00-23:59  ")) << lines[3];

    Ran csv = run({"list", "/csv"});
    EXPECT_EQ(0u, csv.out.find("\"Task\",\"Type\",\"Time\",\"Date\",\"Month\",\"Interval\",\"Next run\",\"Last run\","
                               "\"Result\",\"Command\"\n\"Logon\",\"Application\",\"UserLogon+\",\"MoTuWeThFr, \","))
        << csv.out;
    EXPECT_NE(std::string::npos, csv.out.find(",\"\",\"Time to go\thome\"\n")) << "texts as they are";

    // The last results from the run history beside the schedule.
    RunEvent ended;
    ended.time = ended.started = launchTimeAt(2026, 3, 5, 8, 0, 5);
    ended.pass = launchTimeAt(2026, 3, 5, 8, 0);
    ended.task = "Logon";
    ended.outcome = RunOutcome::Exited;
    ended.hasCode = true;
    ended.code = 3;
    test::writeFile(historyFileOf(schedule), formatHistoryLine(ended));
    EXPECT_NE(std::string::npos, run({"list"}).out.find("05.03.2026 08:00  exit 3  mail.exe\n"));

    Ran show = run({"show", "Off"});
    EXPECT_NE(std::string::npos, show.out.find("[Task]\nName = 'Off'\nType = Message\n")) << show.out;
    EXPECT_NE(std::string::npos, show.out.find("\nLastRun = 05.03.2026 08:00:01\n; Next run: none, the task is inactive\n"));
    EXPECT_NE(std::string::npos, run({"show", "Logon"}).out.find("; Next run: at user logon\n; Last result: exit 3\n"));

    Ran next = run({"next", "Tick", "3"});
    EXPECT_EQ(kTaskDone, next.exitCode);
    EXPECT_TRUE(std::regex_match(next.out, std::regex("(\\w{3} \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d\n){3}")))
        << next.out;
    EXPECT_EQ("at user logon\n", run({"next", "Logon"}).out) << "a logon has no time";
}

}  // namespace
}  // namespace kzo
