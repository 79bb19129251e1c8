// The application and document launchers, with the task fixture program
// standing in for a task, and their pure decisions.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <map>
#include <string>

#include "launch_plan.h"
#include "launchers.h"
#include "test_registry.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

using test::fixtureCommand;
using test::TempDir;
using Marker = std::map<std::string, std::string>;

std::string currentFolder() {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

std::string withoutSlash(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

// --- Pure decisions -------------------------------------------------------------

TEST(KillQuitPlan, FollowsTheKillAndQuitTimes) {
    struct Case {
        int kill, quit;
        std::int64_t closeAt, terminateAt;
    };
    const Case cases[] = {
        {0, 0, -1, -1},        {10, 5, 5000, 10000}, {5, 10, -1, 5000}, {5, 5, -1, 5000},
        {0, 5, 5000, -1},      {-3, 0, -1, -1},      {0, -7, -1, -1},   {-1, 5, 5000, -1},
        {99999, 0, -1, 99999000},
    };
    for (const Case& c : cases) {
        KillQuitPlan plan = planKillQuit(c.kill, c.quit);
        EXPECT_EQ(c.closeAt, plan.closeAtMs) << "kill " << c.kill << " quit " << c.quit;
        EXPECT_EQ(c.terminateAt, plan.terminateAtMs) << "kill " << c.kill << " quit " << c.quit;
    }
}

TEST(DocumentText, SplitsVerbAndDocumentAndDerivesTheFolder) {
    struct Case {
        const char* text;
        const char* folder;
        const char* verb;
        const char* file;
        const char* directory;
    };
    const Case cases[] = {
        {"print|C:\\Docs\\report.txt", "", "print", "C:\\Docs\\report.txt", "C:\\Docs\\"},
        {"report.txt", "", "Open", "report.txt", ""},
        {"  print  |  C:\\My Docs\\a.txt  ", "", "print", "C:\\My Docs\\a.txt", "C:\\My Docs\\"},
        {"C:\\Docs\\report.txt", "D:\\Work", "Open", "C:\\Docs\\report.txt", "D:\\Work"},
        {"edit|a|b.txt", "", "edit", "a|b.txt", ""},
        {"C:report.txt", "", "Open", "C:report.txt", "C:"},
        {"\\report.txt", "", "Open", "\\report.txt", ""},
        {"//server/share/x.doc", "", "Open", "//server/share/x.doc", "//server/share/"},
        {"|x.txt", "", "", "x.txt", ""},
    };
    for (const Case& c : cases) {
        DocumentStart d = parseDocumentText(c.text, c.folder);
        EXPECT_EQ(c.verb, d.verb) << c.text;
        EXPECT_EQ(c.file, d.file) << c.text;
        EXPECT_EQ(c.directory, d.directory) << c.text;
    }
    std::string longText(2000, 'x');
    EXPECT_EQ(511u, parseDocumentText(longText.c_str(), "").file.size()) << "the field's width";
}

// --- Application launcher --------------------------------------------------------

TEST(ApplicationLauncher, StartsInTheFolderMinimizedOrNormal) {
    TempDir dir;
    ASSERT_EQ(0u, launchApplication(fixtureCommand(dir.file("min.marker")).c_str(),
                                    dir.path().c_str(), "", 0, 0, true));
    ASSERT_EQ(0u, launchApplication(fixtureCommand(dir.file("normal.marker")).c_str(), "", "", 0,
                                    0, false));
    Marker minimized = test::waitForMarker(dir.file("min.marker"));
    Marker normal = test::waitForMarker(dir.file("normal.marker"));
    test::endFixture(minimized);
    test::endFixture(normal);

    ASSERT_FALSE(minimized.empty()) << "the fixture did not start";
    EXPECT_EQ(std::to_string(SW_MINIMIZE), minimized["show"]);
    EXPECT_EQ(withoutSlash(dir.path()), withoutSlash(minimized["cwd"]));
    ASSERT_FALSE(normal.empty());
    EXPECT_EQ(std::to_string(SW_SHOWNORMAL), normal["show"]);
    EXPECT_EQ(withoutSlash(currentFolder()), withoutSlash(normal["cwd"])) << "empty folder: ours";
    EXPECT_NE(std::string::npos, normal["args"].find("normal.marker"));
}

TEST(ApplicationLauncher, FallbackRunsInTheCurrentFolderWhenTheCommandCannotStart) {
    TempDir dir;
    std::string fallback = fixtureCommand(dir.file("fallback.marker"));
    EXPECT_EQ(0u, launchApplication("C:\\no\\such\\program.exe", dir.path().c_str(),
                                    fallback.c_str(), 0, 0, true));
    Marker marker = test::waitForMarker(dir.file("fallback.marker"));
    test::endFixture(marker);
    ASSERT_FALSE(marker.empty()) << "the fallback did not run";
    EXPECT_EQ(withoutSlash(currentFolder()), withoutSlash(marker["cwd"]));
    EXPECT_EQ(std::to_string(SW_SHOWNORMAL), marker["show"]) << "the fallback is shown normally";
}

TEST(ApplicationLauncher, ReportsTheErrorOfTheLastStartThatFailed) {
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND),
              launchApplication("C:\\no\\such\\program.exe", "", "", 0, 0, false));
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND),
              launchApplication("C:\\no\\such\\program.exe", "", "C:\\no\\fallback.exe", 0, 0, false));
    TempDir dir;
    EXPECT_NE(0u, launchApplication(fixtureCommand(dir.file("m")).c_str(),
                                    "C:\\no\\such\\folder", "", 0, 0, false))
        << "a startup folder that does not exist";
}

// What happened to one launched fixture: when it got the close request and when
// it ended, in milliseconds after it started.
struct Observed {
    std::int64_t closeAfter = -1;
    std::int64_t endAfter = -1;
    DWORD exitCode = STILL_ACTIVE;
    std::uint32_t result = 99;
};

// Times are measured from just before the launch, as the launcher measures
// them: a fixture slow to start (a busy machine) does not shift them.
Observed runAndObserve(const std::string& markerPath, int kill, int quit, DWORD watchMs) {
    const std::int64_t start = GetTickCount();
    auto launch = std::async(std::launch::async, [&] {
        return launchApplication(fixtureCommand(markerPath, "--ignore-close").c_str(), "", "",
                                 kill, quit, false);
    });
    Observed seen;
    // The process may be ended before its window is up: its id is enough.
    Marker marker = test::waitForMarker(markerPath, 10000, "pid");
    if (marker.empty()) return seen;
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE,
                                     std::stoul(marker["pid"])));
    if (WaitForSingleObject(process.get(), watchMs) == WAIT_OBJECT_0) {
        seen.endAfter = static_cast<std::int64_t>(GetTickCount()) - start;
        GetExitCodeProcess(process.get(), &seen.exitCode);
    } else {
        TerminateProcess(process.get(), 0);
    }
    seen.result = launch.get();
    Marker after = test::waitForMarker(markerPath, 2000, "close");
    if (after.count("close")) seen.closeAfter = std::stoll(after["close"]) - start;
    return seen;
}

TEST(ApplicationLauncher, KillAndQuitTimesAskToCloseAndTerminateOnTime) {
    TempDir dir;
    // All four at once: each blocks its own launch thread.
    auto killTenQuitFive = std::async(std::launch::async, runAndObserve, dir.file("k10q5"), 10, 5, 14000);
    auto killFiveQuitTen = std::async(std::launch::async, runAndObserve, dir.file("k5q10"), 5, 10, 14000);
    auto killFiveQuitFive = std::async(std::launch::async, runAndObserve, dir.file("k5q5"), 5, 5, 14000);
    auto quitFiveOnly = std::async(std::launch::async, runAndObserve, dir.file("k0q5"), 0, 5, 8000);

    // Never early; late by scheduling only.
    auto closeTo = [](std::int64_t actual, std::int64_t expected) {
        return actual >= expected - 100 && actual < expected + 1500;
    };
    Observed a = killTenQuitFive.get();
    EXPECT_TRUE(closeTo(a.closeAfter, 5000)) << "close request at " << a.closeAfter;
    EXPECT_TRUE(closeTo(a.endAfter, 10000)) << "terminated at " << a.endAfter;
    EXPECT_EQ(0u, a.exitCode) << "TerminateProcess with exit code 0";

    Observed b = killFiveQuitTen.get();
    EXPECT_EQ(-1, b.closeAfter) << "no close request";
    EXPECT_TRUE(closeTo(b.endAfter, 5000)) << "terminated at " << b.endAfter;

    Observed c = killFiveQuitFive.get();
    EXPECT_EQ(-1, c.closeAfter) << "no close request";
    EXPECT_TRUE(closeTo(c.endAfter, 5000)) << "terminated at " << c.endAfter;

    Observed d = quitFiveOnly.get();
    EXPECT_TRUE(closeTo(d.closeAfter, 5000)) << "close request at " << d.closeAfter;
    EXPECT_EQ(-1, d.endAfter) << "never terminated";
    for (const Observed* o : {&a, &b, &c, &d}) EXPECT_EQ(0u, o->result);
}

TEST(ApplicationLauncher, ReturnsEarlyWhenTheProgramEndsBeforeItsKillTime) {
    TempDir dir;
    std::uint64_t start = test::nowMs();
    EXPECT_EQ(0u, launchApplication(fixtureCommand(dir.file("m"), "--exit-after 300").c_str(), "",
                                    "", 30, 20, false));
    EXPECT_LT(test::nowMs() - start, 10000u) << "the launch thread is not held for 30 s";
}

// --- Document launcher ------------------------------------------------------------

// Registers the extension .kzotest for the fixture with the verbs open and print
// (in the classes root: the per-user classes are not merged into it by Wine).
class DocumentAssociation {
public:
    DocumentAssociation() {
        std::string fixture = test::quoted(test::fixturePath()) + " --document \"%1\" --verb ";
        test::RegKey(HKEY_CLASSES_ROOT, ".kzotest").setString(nullptr, "kzotestfile");
        test::RegKey verbs(HKEY_CLASSES_ROOT, "kzotestfile\\shell");
        verbs.sub("open\\command").setString(nullptr, fixture + "open --exit-after 4000");
        verbs.sub("print\\command").setString(nullptr, fixture + "print --exit-after 8000");
    }
    ~DocumentAssociation() {
        test::removeKeyTree(HKEY_CLASSES_ROOT, "kzotestfile");
        test::removeKeyTree(HKEY_CLASSES_ROOT, ".kzotest");
    }
};

TEST(DocumentLauncher, OpensTheDocumentWithItsVerbInTheDocumentsFolder) {
    DocumentAssociation association;
    TempDir dir;
    std::string report = dir.file("report.kzotest");
    test::writeFile(report, "a report");

    ASSERT_EQ(0u, launchDocument(("print|" + report).c_str(), "", "", 0, 5, false));
    Marker printed = test::waitForMarker(report + ".marker");
    test::endFixture(printed);
    ASSERT_FALSE(printed.empty()) << "the associated program did not start";
    EXPECT_EQ("print", printed["verb"]);
    EXPECT_EQ(withoutSlash(dir.path()), withoutSlash(printed["cwd"]));

    std::string other = dir.file("other.kzotest");
    test::writeFile(other, "x");
    ASSERT_EQ(0u, launchDocument(other.c_str(), "", "", 0, 0, true));
    Marker opened = test::waitForMarker(other + ".marker");
    test::endFixture(opened);
    EXPECT_EQ("open", opened["verb"]) << "no verb: Open";
}

TEST(DocumentLauncher, KillTimeTerminatesAndQuitTimeDoesNothing) {
    DocumentAssociation association;
    TempDir dir;
    std::string killed = dir.file("killed.kzotest");
    std::string quit = dir.file("quit.kzotest");
    test::writeFile(killed, "x");
    test::writeFile(quit, "x");

    auto killLaunch = std::async(std::launch::async, [&] {
        return launchDocument(("print|" + killed).c_str(), "", "", 2, 0, false);
    });
    EXPECT_EQ(0u, launchDocument(("print|" + quit).c_str(), "", "", 0, 1, false))
        << "quit alone returns at once";
    Marker k = test::waitForMarker(killed + ".marker");
    Marker q = test::waitForMarker(quit + ".marker");
    ASSERT_FALSE(k.empty());
    ASSERT_FALSE(q.empty());
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, std::stoul(k["pid"])));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 6000)) << "terminated at about 2 s";
    EXPECT_EQ(0u, killLaunch.get());
    Sleep(1500);
    EXPECT_EQ(0u, test::waitForMarker(quit + ".marker").count("close")) << "no close request";
    test::endFixture(q);
}

TEST(DocumentLauncher, FailureRunsTheFallback) {
    TempDir dir;
    EXPECT_NE(0u, launchDocument("C:\\no\\such\\document.kzonone", "", "", 0, 0, false));
    std::string fallback = fixtureCommand(dir.file("fb.marker"));
    EXPECT_EQ(0u, launchDocument("C:\\no\\such\\document.kzonone", "", fallback.c_str(), 0, 0, false));
    Marker marker = test::waitForMarker(dir.file("fb.marker"));
    test::endFixture(marker);
    EXPECT_FALSE(marker.empty()) << "the fallback ran";
}

}  // namespace
}  // namespace kzo
