// tickr.exe run for real under Wine and driven as the Terminal and the user
// drive it: through the production settings keys (saved and restored around
// each test), the schedule file, its named mutexes, window messages to
// "KZOClass"/"KZO Window", its tray menu and its message boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "program_driver.h"
#include "run_event.h"
#include "scheduler_settings.h"
#include "system_error.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::ChildProcess;
using test::mutexExists;
using test::SavedKey;
using test::waitUntil;

constexpr UINT kTrayCallback = 32868;
constexpr UINT kSetActive = 32875;
constexpr UINT kStop = 32876;
constexpr UINT kMenuActive = 32870;
constexpr UINT kMenuOpenTerminal = 32869;
constexpr UINT kMenuAbout = 32873;
constexpr UINT kMenuExit = 32871;
constexpr int kActiveIcon = 3;
constexpr int kInactiveIcon = 4;

// The picture the Executor shows in the tray (the window property it keeps
// for other programs), 0 for none.
int trayIconOf(HWND window) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(window, "KZOTrayIcon")));
}

class ExecutorProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mutexExists("KZOMutexUsr")) << "a User Scheduler runs already";
        ASSERT_FALSE(mutexExists("KZOMutexSys")) << "a System Scheduler runs already";
        test::writeSchedule(userSchedule, {});
        test::writeSchedule(systemSchedule, {});
    }

    std::unique_ptr<ChildProcess> start(const std::string& arguments) {
        std::string command = test::quoted(test::buildTreeProgram("..\\tray\\tickr.exe"));
        if (!arguments.empty()) command += " " + arguments;
        return std::make_unique<ChildProcess>(command);
    }

    // An Executor that has passed its single-instance check, with its window;
    // the process in executor unless given.
    HWND startRunning(const std::string& arguments, const char* mutex) {
        return startRunning(executor, arguments, mutex);
    }
    HWND startRunning(std::unique_ptr<ChildProcess>& process, const std::string& arguments,
                      const char* mutex) {
        process = start(arguments);
        if (!waitUntil([&] { return mutexExists(mutex); })) {
            ADD_FAILURE() << "no " << mutex << " for arguments '" << arguments << "'";
            return nullptr;
        }
        HWND window = test::waitForWindow(process->pid(), "KZOClass", "KZO Window", false);
        EXPECT_NE(nullptr, window);
        return window;
    }
    // Sends the Terminal's stop message for the mode (0 user, 1 system); the
    // exit code, 999 when the process runs on.
    static DWORD stop(ChildProcess& process, HWND window, WPARAM mode, std::uint32_t timeoutMs = 10000) {
        SendNotifyMessageA(window, kStop, mode, 0);
        return process.waitForExit(timeoutMs).value_or(999);
    }

    void useUserSchedule() { user.setString("DAT", userSchedule); }
    void useSystemSchedule() { system.setString("DAT", systemSchedule); }

    SavedKey user{HKEY_CURRENT_USER, kSchedulerKey};
    SavedKey system{HKEY_LOCAL_MACHINE, kSchedulerKey};
    test::TempDir dir;
    std::string userSchedule = dir.file("user.jsf");
    std::string systemSchedule = dir.file("system.jsf");
    // Ends first, before the settings are restored and the folder goes.
    std::unique_ptr<ChildProcess> executor;
};

TEST_F(ExecutorProgram, ASecondUserSchedulerIsRefusedWhileTheFirstRuns) {
    useUserSchedule();
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);

    std::unique_ptr<ChildProcess> second = start("");
    EXPECT_EQ("User Scheduler is already running.\t |",
              test::readAndAnswerBox(second->pid(), "KZO Scheduler"));
    EXPECT_EQ(1u, second->waitForExit().value_or(999));

    EXPECT_TRUE(executor->running());
    EXPECT_TRUE(mutexExists("KZOMutexUsr"));
    EXPECT_EQ(0u, stop(*executor, window, 0));
}

TEST_F(ExecutorProgram, UserAndSystemSchedulersRunSideBySide) {
    useUserSchedule();
    useSystemSchedule();
    std::unique_ptr<ChildProcess> userExecutor, systemExecutor;
    HWND userWindow = startRunning(userExecutor, "", "KZOMutexUsr");
    HWND systemWindow = startRunning(systemExecutor, "/s", "KZOMutexSys");
    ASSERT_NE(nullptr, userWindow);
    ASSERT_NE(nullptr, systemWindow);

    std::unique_ptr<ChildProcess> secondSystem = start("/S");
    EXPECT_EQ("System Scheduler is already running.\t |",
              test::readAndAnswerBox(secondSystem->pid(), "KZO Scheduler"));
    EXPECT_EQ(1u, secondSystem->waitForExit().value_or(999));

    // Each stops on the message for its own mode only.
    SendNotifyMessageA(systemWindow, kStop, 0, 0);
    SendNotifyMessageA(userWindow, kStop, 1, 0);
    ASSERT_TRUE(test::settle(systemWindow));
    ASSERT_TRUE(test::settle(userWindow));
    EXPECT_TRUE(userExecutor->running());
    EXPECT_TRUE(systemExecutor->running());

    EXPECT_EQ(0u, stop(*systemExecutor, systemWindow, 1));
    EXPECT_TRUE(userExecutor->running());
    EXPECT_EQ(0u, stop(*userExecutor, userWindow, 0));
}

TEST_F(ExecutorProgram, TheWholeTrimmedArgumentSelectsTheMode) {
    useUserSchedule();
    useSystemSchedule();
    // The argument itself is parsed in ExecutorCommandLine; here the program
    // hands over the whole argument, blanks and all.
    struct Case {
        const char* arguments;
        bool system;
    } cases[] = {{"", false}, {"/s", true}, {" /S ", true}, {"/S x", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("arguments '") + c.arguments + "'");
        HWND window = startRunning(c.arguments, c.system ? "KZOMutexSys" : "KZOMutexUsr");
        ASSERT_NE(nullptr, window);
        EXPECT_FALSE(mutexExists(c.system ? "KZOMutexUsr" : "KZOMutexSys"));
        // Only the User Scheduler shows an icon.
        if (c.system) {
            ASSERT_TRUE(test::settle(window));
            EXPECT_EQ(0, trayIconOf(window));
        } else {
            EXPECT_TRUE(waitUntil([&] { return trayIconOf(window) == kActiveIcon; }));
        }
        EXPECT_EQ(0u, stop(*executor, window, c.system ? 1 : 0));
    }
}

TEST_F(ExecutorProgram, SetActiveMessageStoresActiveAndSwitchesTheIcon) {
    useUserSchedule();
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(waitUntil([&] { return trayIconOf(window) == kActiveIcon; }));

    SendNotifyMessageA(window, kSetActive, 1, 0);
    EXPECT_TRUE(waitUntil([&] { return trayIconOf(window) == kInactiveIcon; }));
    EXPECT_EQ(0u, user.dword("Active").value_or(999));

    SendNotifyMessageA(window, kSetActive, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return trayIconOf(window) == kActiveIcon; }));
    EXPECT_EQ(1u, user.dword("Active").value_or(999));
}

TEST_F(ExecutorProgram, AnInactiveUserSchedulerStartsWithTheInactiveIconAndKeepsActiveAtExit) {
    useUserSchedule();
    user.setDword("Active", 0);
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(waitUntil([&] { return trayIconOf(window) == kInactiveIcon; }));
    EXPECT_EQ(0u, stop(*executor, window, 0));
    EXPECT_EQ(0u, user.dword("Active").value_or(999));
}

TEST_F(ExecutorProgram, TheSystemSchedulerIgnoresSetActive) {
    useSystemSchedule();
    HWND window = startRunning("/s", "KZOMutexSys");
    ASSERT_NE(nullptr, window);
    SendNotifyMessageA(window, kSetActive, 1, 0);
    ASSERT_TRUE(test::settle(window));
    EXPECT_FALSE(system.dword("Active").has_value());
    EXPECT_FALSE(user.dword("Active").has_value());
    EXPECT_EQ(0, trayIconOf(window));
}

TEST_F(ExecutorProgram, TheSystemSchedulerStopsWithTheActiveTheTerminalStoredMeanwhile) {
    useSystemSchedule();
    system.setDword("Active", 1);
    HWND window = startRunning("/s", "KZOMutexSys");
    ASSERT_NE(nullptr, window);
    system.setDword("Active", 0);  // the Terminal deactivates the System Schedule
    EXPECT_EQ(0u, stop(*executor, window, 1));
    EXPECT_EQ(0u, system.dword("Active").value_or(999)) << "not switched back on";
}

TEST_F(ExecutorProgram, WmCloseStopsAndStoresActive) {
    useUserSchedule();
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);
    ASSERT_FALSE(user.dword("Active").has_value());
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, executor->waitForExit().value_or(999));
    EXPECT_EQ(1u, user.dword("Active").value_or(999));
    EXPECT_FALSE(mutexExists("KZOMutexUsr"));
}

TEST_F(ExecutorProgram, WithNoIconTheUserSchedulerRunsWithoutIconAndStopsOnTheTerminalsMessage) {
    useUserSchedule();
    user.setDword("NoIcon", 1);
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(test::settle(window));  // never held up in the notification area
    EXPECT_EQ(0, trayIconOf(window));
    EXPECT_EQ(0u, stop(*executor, window, 0));
}

TEST_F(ExecutorProgram, StartsWithoutASchedule) {
    {
        SCOPED_TRACE("system");
        executor = start("/s");
        EXPECT_EQ("There is no registered System Schedule.|",
                  test::readAndAnswerBox(executor->pid(), "KZO Scheduler : Error"));
        EXPECT_EQ(1u, executor->waitForExit().value_or(999));
    }
    {
        // No Terminal lies beside tickr.exe in the build tree.
        SCOPED_TRACE("user");
        executor = start("");
        EXPECT_EQ("Unable to run KZO Terminal.\nSchedule file not found, so quitting.|",
                  test::readAndAnswerBox(executor->pid(), "KZO Scheduler : Error"));
        EXPECT_EQ(1u, executor->waitForExit().value_or(999));
    }
}

// Started without a schedule file, the User Scheduler starts the Terminal and
// leaves the user a minute to choose one; a close or Exit meanwhile ends it at
// once, as after the wait.
TEST_F(ExecutorProgram, AUserStartWithoutAScheduleAnswersACloseDuringItsWait) {
    // tickr.exe beside a stand-in Terminal that records its start.
    const std::string folder = dir.file("KZO");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(test::buildTreeProgram("..\\tray\\tickr.exe").c_str(), (folder + "\\tickr.exe").c_str(),
                          FALSE));
    ASSERT_TRUE(CopyFileA(test::buildTreeProgram("argument_recorder.exe").c_str(), (folder + "\\KZO.exe").c_str(),
                          FALSE));
    const std::string terminalLog = dir.file("terminal.log");
    struct RecorderLog {
        explicit RecorderLog(const std::string& path) { SetEnvironmentVariableA("KZO_RECORDER_LOG", path.c_str()); }
        ~RecorderLog() { SetEnvironmentVariableA("KZO_RECORDER_LOG", nullptr); }
    } recorderLog(terminalLog);

    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
    } const cases[] = {{"WM_CLOSE", WM_CLOSE, 0}, {"Exit", WM_COMMAND, kMenuExit}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(terminalLog.c_str());
        executor = std::make_unique<ChildProcess>(test::quoted(folder + "\\tickr.exe"));
        ASSERT_TRUE(waitUntil([&] { return test::fileExists(terminalLog); })) << "the Terminal was not started";
        HWND window = test::waitForWindow(executor->pid(), "KZOClass", "KZO Window", false);
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(test::settle(window, 3000)) << "no answer during the wait";
        EXPECT_EQ(0, trayIconOf(window)) << "the icon comes after the wait";
        PostMessageA(window, c.message, c.wParam, 0);
        EXPECT_EQ(0u, executor->waitForExit(5000).value_or(999));
        EXPECT_FALSE(mutexExists("KZOMutexUsr"));
        EXPECT_EQ(1u, user.dword("Active").value_or(999)) << "stored at the stop";
        if (user.dword("Active")) user.remove("Active");
    }
}

TEST_F(ExecutorProgram, TrayMenuOpensOnRightClickAndItsActiveItemToggles) {
    useUserSchedule();
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);

    PostMessageA(window, kTrayCallback, 0, WM_MOUSEMOVE);
    PostMessageA(window, kTrayCallback, 0, WM_RBUTTONDOWN);
    HWND menu = test::waitForWindow(executor->pid(), "#32768", "", true);
    ASSERT_NE(nullptr, menu) << "no popup menu";
    // The mnemonic of "&Active" chooses the item, as a user's key press would.
    PostMessageA(menu, WM_CHAR, 'a', 0);
    ASSERT_TRUE(waitUntil([&] { return user.dword("Active") == 0u; }));
    ASSERT_TRUE(waitUntil([&] { return trayIconOf(window) == kInactiveIcon; }));
    EXPECT_FALSE(IsWindowVisible(menu));

    PostMessageA(window, WM_COMMAND, kMenuActive, 0);
    ASSERT_TRUE(waitUntil([&] { return user.dword("Active") == 1u; }));

    PostMessageA(window, WM_COMMAND, kMenuExit, 0);
    EXPECT_EQ(0u, executor->waitForExit().value_or(999));
}

TEST_F(ExecutorProgram, TerminalCommandsReportAMissingTerminal) {
    useUserSchedule();
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);

    const char* error = "KZO Scheduler : Error";
    PostMessageA(window, WM_COMMAND, kMenuOpenTerminal, 0);
    EXPECT_EQ("Unable to run KZO Terminal.\t  |", test::readAndAnswerBox(executor->pid(), error));
    PostMessageA(window, kTrayCallback, 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ("Unable to run KZO Terminal.\t  |", test::readAndAnswerBox(executor->pid(), error));
    PostMessageA(window, WM_COMMAND, kMenuAbout, 0);
    EXPECT_EQ("KZO Scheduler, Version 6.30, Build 677.|", test::readAndAnswerBox(executor->pid(), "About"));

    EXPECT_TRUE(executor->running());
}

// --- The engine end to end ------------------------------------------------------------

TEST_F(ExecutorProgram, LaunchesDueTasksLogsThemAndWritesTheStampsBack) {
    std::string log = dir.file("user.log");
    TaskRecord cycle = test::everyMinuteTask("Cycle", test::fixtureCommand(dir.file("cycle.marker")));
    TaskRecord once = test::everyMinuteTask("Once", test::fixtureCommand(dir.file("once.marker")));
    once.runOnce = kRunOnceYes;
    test::writeSchedule(userSchedule, {cycle, once});
    useUserSchedule();
    user.setDword("LogF", 1);
    user.setString("LOG", log);

    SYSTEMTIME started = test::waitForMidMinute();
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);

    std::map<std::string, std::string> cycleRun = test::waitForMarker(dir.file("cycle.marker"), 15000);
    std::map<std::string, std::string> onceRun = test::waitForMarker(dir.file("once.marker"), 15000);
    EXPECT_FALSE(cycleRun.empty()) << "the cycle task did not run";
    EXPECT_FALSE(onceRun.empty()) << "the run-once task did not run";

    // The write-back follows the launches after two seconds.
    std::vector<TaskRecord> records;
    EXPECT_TRUE(waitUntil(
        [&] {
            records = test::readSchedule(userSchedule);
            return records.size() == 1 && records[0].lastYear != 0;
        },
        15000))
        << records.size() << " records";
    ASSERT_EQ(1u, records.size()) << "the run-once task left the file";
    EXPECT_EQ("Cycle", fieldText(records[0].name));
    EXPECT_EQ(started.wYear - 1900, records[0].lastYear);
    EXPECT_EQ(started.wMonth, records[0].lastMonth);
    EXPECT_EQ(started.wDay, records[0].lastDay);
    EXPECT_EQ(started.wHour, records[0].lastHour);
    EXPECT_EQ(started.wMinute, records[0].lastMinute);

    char at[32];
    std::snprintf(at, sizeof at, "\" at %02d.%02d.%04d %02d:%02d\r\n", started.wDay, started.wMonth,
                  started.wYear, started.wHour, started.wMinute);
    std::string expected = "Executed \"Cycle\" : \"" + fieldText(cycle.command) + at +
                           "Executed \"Once\" : \"" + fieldText(once.command) + at;
    EXPECT_TRUE(waitUntil([&] { return test::readFile(log) == expected; }, 15000))
        << test::readFile(log);

    test::endFixture(cycleRun);
    test::endFixture(onceRun);
    EXPECT_EQ(0u, stop(*executor, window, 0, 20000));
}

TEST_F(ExecutorProgram, TheRunHistoryTellsWhatBecameOfEachLaunch) {
    TaskRecord three = test::everyMinuteTask(
        "Three", test::fixtureCommand(dir.file("three.marker"), "--exit-after 300 --exit-code 3"));
    TaskRecord missing = test::everyMinuteTask("Missing", "C:\\no\\such\\program.exe");
    test::writeSchedule(userSchedule, {three, missing});
    useUserSchedule();

    test::waitForMidMinute();
    HWND window = startRunning("", "KZOMutexUsr");
    ASSERT_NE(nullptr, window);

    // Beside the schedule file: the program's end after its start, and the
    // program that could not start with the system's reason.
    const std::string history = userSchedule + ".history";
    std::vector<RunEvent> events;
    auto resultOf = [&](const char* task) {
        const RunEvent* last = lastEventOf(events, task);
        return last ? resultText(*last) : std::string("(none)");
    };
    EXPECT_TRUE(waitUntil(
        [&] {
            events = parseHistory(test::readFile(history));
            return resultOf("Three") == "exit 3" && resultOf("Missing") != "(none)";
        },
        20000))
        << test::readFile(history);
    EXPECT_EQ("not started: " + systemErrorText(ERROR_FILE_NOT_FOUND), resultOf("Missing"));
    std::vector<RunOfTask> runs = runsOf(events);
    ASSERT_GE(runs.size(), 2u) << test::readFile(history);
    for (const RunOfTask& run : runs) EXPECT_FALSE(run.last.runNow);

    EXPECT_EQ(0u, stop(*executor, window, 0, 20000));
}

}  // namespace
}  // namespace kzo
