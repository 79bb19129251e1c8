// One launch end to end on its thread: expansion, the Warn prompt by task type,
// the start, and the report of a failure, seen through the recording double.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "launch_thread.h"
#include "recording_actions.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::fixtureCommand;
using test::RecordingActions;
using test::TempDir;

LaunchRequest request(int8_t type, const std::string& command, bool warn, bool repErr = false) {
    LaunchRequest r;
    r.task = test::record("Job");
    r.task.type = type;
    setField(r.task.command, command);
    r.warn = warn;
    r.repErr = repErr;
    r.time = launchTimeAt(2026, 12, 8, 14, 5, 1);
    return r;
}

bool contains(const std::vector<std::string>& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

TEST(LaunchThread, MessageTasksNeverPromptAndSendTheirTextAsWritten) {
    RecordingActions actions;
    SetEnvironmentVariableA("KZO_TEST_WORD", "expanded");
    LaunchRequest r = request(kTypeMessage, "Backup of %KZO.YEAR%-%KZO.MONTH% in %KZO_TEST_WORD%", true);
    EXPECT_EQ(0, runLaunch(r, actions));
    std::vector<std::string> events = actions.events();
    EXPECT_FALSE(contains(events, "confirmLaunch Job: Backup of 2026-12 in %KZO_TEST_WORD%"));
    EXPECT_TRUE(contains(events, "show Backup of 2026-12 in %KZO_TEST_WORD%"))
        << "macros expanded, the environment not";
}

TEST(LaunchThread, ShutdownTasksPromptAndAnswerNoStopsThem) {
    RecordingActions declined;
    declined.confirmAnswer = false;
    EXPECT_EQ(-1, runLaunch(request(kTypeShutdown, "REBOOT", true), declined));
    EXPECT_EQ((std::vector<std::string>{"confirmLaunch Job: REBOOT"}), declined.events());

    RecordingActions accepted;
    EXPECT_EQ(0, runLaunch(request(kTypeShutdown, "REBOOT", true), accepted));
    EXPECT_TRUE(contains(accepted.events(), "exitWindows 6")) << "restart, forced";

    RecordingActions unasked;
    EXPECT_EQ(0, runLaunch(request(kTypeShutdown, "LOGOFF", false), unasked));
    EXPECT_FALSE(unasked.events().empty());
    EXPECT_NE("confirmLaunch Job: LOGOFF", unasked.events().front()) << "no Warn, no prompt";
}

TEST(LaunchThread, PromptShowsTheCommandAfterItsMacrosBeforeTheEnvironment) {
    RecordingActions actions;
    actions.confirmAnswer = false;
    EXPECT_EQ(-1, runLaunch(request(kTypeApplication, "%WINDIR%\\notepad.exe %KZO.DAY%.txt", true), actions));
    EXPECT_EQ((std::vector<std::string>{"confirmLaunch Job: %WINDIR%\\notepad.exe 08.txt"}),
              actions.events());
    RecordingActions document;
    document.confirmAnswer = false;
    EXPECT_EQ(-1, runLaunch(request(kTypeDocument, "print|C:\\x.txt", true), document));
    EXPECT_EQ(1u, document.events().size());
}

TEST(LaunchThread, ApplicationAnsweredNoStartsNothingAndYesStartsIt) {
    TempDir dir;
    RecordingActions declined;
    declined.confirmAnswer = false;
    EXPECT_EQ(-1, runLaunch(request(kTypeApplication, fixtureCommand(dir.file("no")), true), declined));
    RecordingActions accepted;
    EXPECT_EQ(0, runLaunch(request(kTypeApplication, fixtureCommand(dir.file("yes")), true), accepted));
    auto started = test::waitForMarker(dir.file("yes"));
    test::endFixture(started);
    EXPECT_FALSE(started.empty());
    EXPECT_FALSE(test::fileExists(dir.file("no")));
}

TEST(LaunchThread, UnknownTypesRunAsApplications) {
    TempDir dir;
    for (int8_t type : {int8_t{7}, int8_t{-1}}) {
        std::string marker = dir.file("type" + std::to_string(type));
        RecordingActions actions;
        EXPECT_EQ(0, runLaunch(request(type, fixtureCommand(marker), false), actions));
        auto started = test::waitForMarker(marker);
        test::endFixture(started);
        EXPECT_FALSE(started.empty()) << "type " << int(type);
    }
}

TEST(LaunchThread, FailureIsReportedOnceWithRepErrAndNotWhenTheFallbackStarts) {
    RecordingActions reported;
    EXPECT_EQ(0, runLaunch(request(kTypeApplication, "C:\\no\\such.exe %KZO.HOUR%", false, true), reported));
    EXPECT_EQ((std::vector<std::string>{"beep", "launchError Job: C:\\no\\such.exe 14 2"}),
              reported.events());

    RecordingActions quiet;
    EXPECT_EQ(0, runLaunch(request(kTypeApplication, "C:\\no\\such.exe", false, false), quiet));
    EXPECT_TRUE(quiet.events().empty()) << "RepErr off";

    TempDir dir;
    RecordingActions rescued;
    LaunchRequest r = request(kTypeApplication, "C:\\no\\such.exe", false, true);
    setField(r.task.onError, fixtureCommand(dir.file("fallback")));
    EXPECT_EQ(0, runLaunch(r, rescued));
    auto started = test::waitForMarker(dir.file("fallback"));
    test::endFixture(started);
    EXPECT_FALSE(started.empty());
    EXPECT_TRUE(rescued.events().empty()) << "the fallback started: nothing to report";

    RecordingActions terminal;
    LaunchOptions runNow;
    runNow.prompt = false;
    runNow.reportErrors = false;
    EXPECT_EQ(0, runLaunch(request(kTypeApplication, "C:\\no\\such.exe", true, true), terminal, runNow));
    EXPECT_TRUE(terminal.events().empty()) << "a run-now neither asks nor reports";
}

TEST(LaunchThread, DetachedThreadWorksOnItsOwnCopy) {
    RecordingActions actions;
    actions.blockDisplays();
    LaunchRequest r = request(kTypeMessage, "first text", false);
    ASSERT_TRUE(startLaunchThread(r, actions));
    setField(r.task.command, "changed afterwards");
    ASSERT_TRUE(actions.waitForDisplays(1, 5000)) << "the thread runs without the caller waiting";
    actions.releaseDisplays();
    ASSERT_TRUE(actions.waitForDisplaysClosed(1, 5000));
    EXPECT_EQ((std::vector<std::string>{"first text"}), actions.closedDisplayTexts());
}

}  // namespace
}  // namespace kzo
