// kzotask.exe beside a running User Scheduler (tickr.exe), on the production
// settings key (saved and restored): a task it adds is launched at its minute,
// and a change it makes afterwards keeps the stamp the scheduler wrote.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "program_driver.h"
#include "run_event.h"
#include "run_history.h"
#include "scheduler_settings.h"
#include "suite_names.h"
#include "test_support.h"
#include "time_control_loop.h"

namespace kzo {
namespace {

using test::ChildProcess;

// One argument on a command line as the C runtime splits it: in quotes, a
// quote as \", backslashes doubled only before a quote.
std::string argument(const std::string& text) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

// kzotask.exe's exit code for the arguments, 999 when it does not end.
DWORD kzotask(const std::vector<std::string>& arguments) {
    std::string command = test::quoted(test::buildTreeProgram("..\\kzotask\\kzotask.exe"));
    for (const std::string& a : arguments) command += " " + argument(a);
    ChildProcess tool(command);
    return tool.waitForExit(30000).value_or(999);
}

bool eventExists(const char* name) {
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name);
    if (!event) return false;
    CloseHandle(event);
    return true;
}

TEST(KzoTaskProgram, AnAddedTaskRunsAtItsMinuteAndASetKeepsTheStampTheSchedulerWrote) {
    ASSERT_FALSE(test::mutexExists(kUserMutex)) << "a User Scheduler runs already";
    test::SavedKey user(HKEY_CURRENT_USER, kSchedulerKey);
    test::TempDir dir;
    const std::string schedule = dir.file("user.jsf");
    const std::string marker = dir.file("now.marker");
    test::writeSchedule(schedule, {});
    user.setString("DAT", schedule);

    test::waitForMidMinute();
    ChildProcess executor(test::quoted(test::buildTreeProgram("..\\tray\\tickr.exe")));
    ASSERT_TRUE(test::waitUntil([] { return eventExists(kUserUpdateEvent); })) << "no User Scheduler";
    HWND window = test::waitForWindow(executor.pid(), kExecutorClass, kExecutorTitle, false);
    ASSERT_NE(nullptr, window);

    // The minute after this one: the scheduler has passed this one already.
    SYSTEMTIME now;
    GetLocalTime(&now);
    ASSERT_LE(now.wSecond, 55) << "too late in the minute";
    const int target = (now.wHour * 60 + now.wMinute + 1) % 1440;
    char at[8];
    std::snprintf(at, sizeof at, "%02d:%02d", target / 60, target % 60);
    ASSERT_EQ(0u, kzotask({"add", "Now", "/command", test::fixtureCommand(marker), "/at", at, "/days", "daily"}));

    std::map<std::string, std::string> run = test::waitForMarker(marker, 75000);
    ASSERT_FALSE(run.empty()) << "the added task did not run";
    std::vector<TaskRecord> tasks;
    ASSERT_TRUE(test::waitUntil(
        [&] {
            tasks = test::readSchedule(schedule);
            return tasks.size() == 1 && tasks[0].lastYear != 0;
        },
        15000))
        << "no stamp written back";
    const TaskRecord stamped = tasks[0];
    EXPECT_EQ(target / 60, stamped.lastHour);
    EXPECT_EQ(target % 60, stamped.lastMinute) << "launched at its minute";
    EXPECT_EQ(0, stamped.edited) << "taken up by the scheduler";

    ASSERT_EQ(0u, kzotask({"set", "Now", "/folder", dir.path()}));
    tasks = test::readSchedule(schedule);
    ASSERT_EQ(1u, tasks.size());
    EXPECT_EQ(0, std::memcmp(&stamped.lastDay, &tasks[0].lastDay, kStampSize)) << "the scheduler's stamp stays";
    EXPECT_EQ(dir.path(), tasks[0].folder);
    EXPECT_EQ(1, tasks[0].edited);

    test::endFixture(run);
    SendNotifyMessageA(window, kStopMessage, 0, 0);
    EXPECT_EQ(0u, executor.waitForExit(20000).value_or(999));
}

// Run starts the task at once as the Terminal's Run does: no stamp, what
// became of it in the run history as "run now", and a command that cannot
// start is reported with exit code 5.
TEST(KzoTaskProgram, RunStartsTheTaskNowAndWritesTheRunHistory) {
    test::SavedKey user(HKEY_CURRENT_USER, kSchedulerKey);  // keeps a history: the default
    test::TempDir dir;
    const std::string schedule = dir.file("tasks.jsf");
    const std::string marker = dir.file("run.marker");
    TaskRecord fixture = test::record("Fixture");
    fixture.weekdays = 1;
    setField(fixture.command, test::fixtureCommand(marker));
    TaskRecord missing = test::record("Missing");
    missing.weekdays = 1;
    setField(missing.command, dir.file("no such program.exe"));
    test::writeSchedule(schedule, {fixture, missing});
    const std::string before = test::readFile(schedule);

    // The run follows the program to its end (the fixture ends by itself).
    EXPECT_EQ(0u, kzotask({"/file", schedule, "run", "Fixture"}));
    EXPECT_FALSE(test::waitForMarker(marker).empty()) << "the task did not start";
    EXPECT_EQ(5u, kzotask({"/file", schedule, "run", "Missing"}));
    EXPECT_EQ(before, test::readFile(schedule)) << "a run is not stamped";

    std::vector<RunEvent> events;
    readRunHistory(schedule, events);
    const RunEvent* fixtureEnd = lastEventOf(events, "Fixture");
    ASSERT_NE(nullptr, fixtureEnd);
    EXPECT_TRUE(fixtureEnd->runNow);
    EXPECT_EQ("exit 7", resultText(*fixtureEnd));
    const RunEvent* missingRun = lastEventOf(events, "Missing");
    ASSERT_NE(nullptr, missingRun);
    EXPECT_EQ(RunOutcome::NotStarted, missingRun->outcome);
}

}  // namespace
}  // namespace kzo
