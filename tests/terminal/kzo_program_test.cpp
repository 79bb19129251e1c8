// kzo.exe run for real under Wine and driven as a user and the other programs
// drive it: through the production settings keys (saved and restored around
// each test), its windows, commands posted to its frame, and its boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "program_driver.h"
#include "suite_names.h"
#include "system_error.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

using test::ChildProcess;
using test::SavedKey;
using test::waitUntil;

constexpr const char* kFrameClass = "KZOTerminalFrame";
constexpr const char* kCaption = "KZO Scheduler 6";
constexpr const char* kTerminalKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Terminal";
constexpr const char* kSchedulerKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler";
constexpr int kFirstRunFile = 1302;
constexpr int kDontAskAgain = 6150;  // the message box's check box
constexpr WPARAM kViewSystemSchedule = 32802;
constexpr WPARAM kRun = 2104;
constexpr WPARAM kDelete = 2103;
constexpr WPARAM kCopy = 2107;
constexpr WPARAM kPaste = 2108;
constexpr WPARAM kSave = 2106;
constexpr WPARAM kSelectAll = 2500;
constexpr WPARAM kTaskHistory = 2109;
constexpr WPARAM kViewHistory = 2307;
constexpr int kLastResultColumn = 8;
constexpr int kHistoryList = 1511;
constexpr int kHistoryTaskColumn = 0;
constexpr int kHistoryResultColumn = 3;

// The stamp an executor writes when it launches a task.
bool stampedToday(const TaskRecord& task) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return task.lastYear == now.wYear - 1900 && task.lastMonth == now.wMonth && task.lastDay == now.wDay;
}

const TaskRecord* findTask(const std::vector<TaskRecord>& tasks, const std::string& name) {
    for (const TaskRecord& t : tasks)
        if (fieldText(t.name) == name) return &t;
    return nullptr;
}

class TerminalProgram : public ::testing::Test {
protected:
    void SetUp() override {
        userSchedule = dir.file("user.jsf");
        test::writeSchedule(userSchedule, {test::record("Backup"), test::record("Clock")});
        user.setString("DAT", userSchedule);
        user.setDword("OneInst", 1);
    }

    std::unique_ptr<ChildProcess> start(const std::string& arguments = "") {
        std::string command = test::quoted(test::buildTreeProgram("..\\terminal\\kzo.exe"));
        if (!arguments.empty()) command += " " + arguments;
        return std::make_unique<ChildProcess>(command);
    }

    HWND frameOf(const ChildProcess& process) {
        return test::waitForWindow(process.pid(), kFrameClass, kCaption, true);
    }

    // Closes the frame as the user does and waits for the process to end.
    void closeFrame(ChildProcess& process, HWND frame) {
        PostMessageA(frame, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, process.waitForExit().value_or(99));
    }

    test::TempDir dir;
    std::string userSchedule;
    SavedKey terminal{HKEY_CURRENT_USER, kTerminalKey};
    SavedKey user{HKEY_CURRENT_USER, kSchedulerKey};
    SavedKey system{HKEY_LOCAL_MACHINE, kSchedulerKey};
};

TEST_F(TerminalProgram, FirstRunAsksForAScheduleFileAndStoresIt) {
    user.remove("DAT");
    auto kzo = start();
    HWND dialog = test::waitForBox(kzo->pid(), "KZO Scheduler");
    ASSERT_NE(nullptr, dialog) << "the first-run dialog";
    EXPECT_NE(std::string::npos, test::boxText(dialog).find("doesn't have an information on this user."));

    SetDlgItemTextA(dialog, kFirstRunFile, "   ");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_NE(std::string::npos,
              test::readAndAnswerBox(kzo->pid(), "Error", IDOK).find("Schedule file was not specified."))
        << "blanks alone are no file";
    ASSERT_TRUE(IsWindow(dialog)) << "the dialog stays";

    std::string chosen = "  " + userSchedule + " ";
    SetDlgItemTextA(dialog, kFirstRunFile, chosen.c_str());
    ASSERT_TRUE(test::answerBox(dialog, IDOK));
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(test::RegValue::string(userSchedule), user.stored("DAT"));
    closeFrame(*kzo, frame);
}

TEST_F(TerminalProgram, SecondTerminalActivatesTheFirstOrOpensItsOwnWindow) {
    auto first = start();
    HWND frame = frameOf(*first);
    ASSERT_NE(nullptr, frame);

    auto second = start();
    EXPECT_EQ(0u, second->waitForExit().value_or(99)) << "one Terminal at a time";
    EXPECT_TRUE(IsWindow(frame));

    user.setDword("OneInst", 0);
    auto third = start();
    HWND own = frameOf(*third);
    EXPECT_NE(nullptr, own) << "OneInst 0 opens a second window";
    EXPECT_NE(frame, own);
    if (own) closeFrame(*third, own);
    closeFrame(*first, frame);
}

TEST_F(TerminalProgram, AboutOptionInAnyCaseShowsOnlyTheAboutBox) {
    auto kzo = start("/about");
    HWND about = test::waitForBox(kzo->pid(), "About");
    ASSERT_NE(nullptr, about);
    EXPECT_NE(std::string::npos, test::boxText(about).find("Version 6.30, Build 677"));
    EXPECT_TRUE(test::findWindows(kzo->pid(), kFrameClass, "", false).empty());
    EXPECT_NE(nullptr, GetPropA(about, kTerminalWindowProperty)) << "setup and the uninstaller close it by its mark";
    ASSERT_TRUE(test::answerBox(about, IDOK));
    EXPECT_EQ(0u, kzo->waitForExit().value_or(99));
}

TEST_F(TerminalProgram, ClosedMaximisedItOpensMaximisedAgain) {
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    ShowWindow(frame, SW_MAXIMIZE);
    ASSERT_TRUE(waitUntil([&] { return IsZoomed(frame) != FALSE; }, 3000));
    closeFrame(*kzo, frame);
    EXPECT_EQ(1u, terminal.dword("WindowX").value_or(0));
    EXPECT_EQ(1u, terminal.dword("WindowH").value_or(0));

    auto again = start();
    frame = frameOf(*again);
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(waitUntil([&] { return IsZoomed(frame) != FALSE; }, 3000));
    // Its restored place is the default one. (Another process reads only the
    // window's present rectangle, so the window is restored first.)
    ShowWindow(frame, SW_RESTORE);
    ASSERT_TRUE(waitUntil([&] { return IsZoomed(frame) == FALSE; }, 3000));
    RECT restored;
    GetWindowRect(frame, &restored);
    EXPECT_EQ(45, restored.left);
    EXPECT_EQ(575, restored.right - restored.left);
    closeFrame(*again, frame);
}

TEST_F(TerminalProgram, WithoutASystemScheduleAltF2RefusesAndKeepsTheUserSchedule) {
    terminal.setDword("ActiveSched", 1);  // no system schedule: the user's is shown
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    PostMessageA(frame, WM_COMMAND, kViewSystemSchedule, 0);
    EXPECT_EQ("There is no registered System Schedule for this computer.\t|",
              test::readAndAnswerBox(kzo->pid(), "Error", IDOK));
    closeFrame(*kzo, frame);
    EXPECT_EQ(0u, terminal.dword("ActiveSched").value_or(9));
}

TEST_F(TerminalProgram, SettingsWrittenAtExitReadBackEqual) {
    const BYTE layout[9] = {2, 1, 0, 0, 1, 0, 1, 1, 0};
    terminal.setRaw("RBLayout", REG_BINARY, layout, sizeof layout);
    const DWORD order[8] = {1, 0, 2, 3, 4, 5, 7, 6};
    terminal.setRaw("ColOrder", REG_BINARY, order, sizeof order);
    terminal.setDword("Sort", 10);
    terminal.setDword("View", 0);
    terminal.setDword("DBR", 0);
    terminal.setDword("WindowX", 30);
    terminal.setDword("WindowY", 40);
    terminal.setDword("WindowW", 600);
    terminal.setDword("WindowH", 400);
    const char* widths[] = {"TaskW", "DateW", "TimeW", "MonthW", "CommW", "SFoldW", "IntW", "LRW"};
    for (const char* name : widths) terminal.setDword(name, 70);

    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    closeFrame(*kzo, frame);

    EXPECT_EQ(std::string(reinterpret_cast<const char*>(layout), 9), terminal.stored("RBLayout").bytes)
        << "the rebar holds the bands as stored, the last one hidden";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(order), 32), terminal.stored("ColOrder").bytes);
    EXPECT_EQ(10u, terminal.dword("Sort").value_or(0));
    EXPECT_EQ(0u, terminal.dword("DBR").value_or(1));
    EXPECT_EQ(30u, terminal.dword("WindowX").value_or(0));
    EXPECT_EQ(400u, terminal.dword("WindowH").value_or(0));
    for (const char* name : widths) EXPECT_EQ(70u, terminal.dword(name).value_or(0)) << name;
    EXPECT_EQ(7u, terminal.stored("Confirm").bytes.size());
}

// A change made in the Terminal reaches the running User Scheduler through the
// update event at its next pass, and the stamps the scheduler wrote after the
// Terminal loaded the file survive the Terminal's save.
TEST_F(TerminalProgram, TheSchedulerSeesASaveAtItsNextPassAndKeepsItsStamps) {
    ASSERT_FALSE(test::mutexExists("KZOMutexUsr")) << "a User Scheduler runs already";
    std::string marker = dir.file("tick.txt");
    test::writeSchedule(userSchedule, {test::everyMinuteTask("Keep", "cmd /c rem"),
                                       test::everyMinuteTask("Tick", test::fixtureCommand(marker, "--exit-after 300"))});
    user.setDword("RefreshTime", 60);  // no periodic reload within the test
    const BYTE noQuestions[7] = {};
    terminal.setRaw("Confirm", REG_BINARY, noQuestions, sizeof noQuestions);
    test::waitForMidMinute();
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame) << "the Terminal holds the tasks unstamped";
    ChildProcess tickr(test::quoted(test::buildTreeProgram("..\\tray\\tickr.exe")));
    ASSERT_TRUE(waitUntil([&] {
        const TaskRecord* keep = findTask(test::readSchedule(userSchedule), "Keep");
        return keep && stampedToday(*keep) && test::fileExists(marker);
    }, 20000)) << "the scheduler's first pass";
    int stampedMinute = findTask(test::readSchedule(userSchedule), "Keep")->lastMinute;
    test::waitForMarker(marker);
    DeleteFileA(marker.c_str());

    // The rows are sorted by name: End goes to "Tick".
    HWND list = FindWindowExA(frame, nullptr, "SysListView32", nullptr);
    PostMessageA(list, WM_KEYDOWN, VK_END, 0);
    PostMessageA(frame, WM_COMMAND, kDelete, 0);
    ASSERT_TRUE(waitUntil([&] { return test::readSchedule(userSchedule).size() == 1; }));
    const TaskRecord* keep = findTask(test::readSchedule(userSchedule), "Keep");
    ASSERT_NE(nullptr, keep);
    EXPECT_TRUE(stampedToday(*keep)) << "the scheduler's stamp survives the Terminal's save";

    // The next pass reloads: "Keep" runs again, "Tick" no more.
    EXPECT_TRUE(waitUntil([&] {
        const TaskRecord* k = findTask(test::readSchedule(userSchedule), "Keep");
        return k && k->lastMinute != stampedMinute;
    }, 75000));
    Sleep(2000);
    EXPECT_FALSE(test::fileExists(marker)) << "a deleted task was launched: the save was not seen";
    closeFrame(*kzo, frame);
    PostMessageA(FindWindowA("KZOClass", "KZO Window"), 32876, 0, 0);
    EXPECT_TRUE(tickr.waitForExit().has_value());
}

TEST_F(TerminalProgram, DeleteAsksUntilTheBoxIsTickedAndTheAnswerIsKeptAtExit) {
    test::writeSchedule(userSchedule, {test::record("One"), test::record("Two"), test::record("Three")});
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    PostMessageA(frame, WM_COMMAND, kSelectAll, 0);
    PostMessageA(frame, WM_COMMAND, kDelete, 0);
    HWND box = test::waitForBox(kzo->pid(), "Warning");
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, test::boxText(box).find("Do you want to delete the selected tasks ?"));
    SendDlgItemMessageA(box, kDontAskAgain, BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(test::answerBox(box, IDNO));
    EXPECT_EQ(3u, test::readSchedule(userSchedule).size()) << "No deletes nothing";

    PostMessageA(frame, WM_COMMAND, kSelectAll, 0);
    PostMessageA(frame, WM_COMMAND, kDelete, 0);
    EXPECT_TRUE(waitUntil([&] { return test::readSchedule(userSchedule).empty(); }))
        << "asked no more: deleted at once";
    EXPECT_EQ(nullptr, test::waitForBox(kzo->pid(), "Warning", 500));
    closeFrame(*kzo, frame);
    ASSERT_EQ(7u, terminal.stored("Confirm").bytes.size());
    EXPECT_EQ(0, terminal.stored("Confirm").bytes[0]) << "the delete question is off";
    EXPECT_EQ(1, terminal.stored("Confirm").bytes[1]) << "the others are not";
}

TEST_F(TerminalProgram, RunNowStartsTheTaskOnItsOwnCopyAndLeavesTheFileAlone) {
    std::string marker = dir.file("run-now.txt");
    TaskRecord task = test::record("Report");
    setField(task.command, test::fixtureCommand(marker, "--exit-after 300"));
    setField(task.folder, dir.path());
    task.active = 0;  // run now does not care
    test::writeSchedule(userSchedule, {task});
    std::string before = test::readFile(userSchedule);
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    PostMessageA(frame, WM_COMMAND, kRun, 0);  // no row chosen: the only task
    EXPECT_NE(std::string::npos,
              test::readAndAnswerBox(kzo->pid(), "Warning", IDYES).find("Do you want to run the selected tasks now ?"));
    std::map<std::string, std::string> started = test::waitForMarker(marker);
    EXPECT_EQ("1", started["ready"]) << "the task's program ran";
    closeFrame(*kzo, frame);
    EXPECT_EQ(before, test::readFile(userSchedule)) << "no stamp, no save";
}

TEST_F(TerminalProgram, AFileOfTheWrongSizeIsReportedAndASaveOverwritesIt) {
    std::string systemSchedule = dir.file("system.jsf");
    test::writeFile(systemSchedule, std::string(2 * kRecordSize + 1, 'x'));
    system.setString("DAT", systemSchedule);
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    PostMessageA(frame, WM_COMMAND, kSelectAll, 0);
    PostMessageA(frame, WM_COMMAND, kCopy, 0);
    PostMessageA(frame, WM_COMMAND, kViewSystemSchedule, 0);
    EXPECT_NE(std::string::npos,
              test::readAndAnswerBox(kzo->pid(), "Error", IDOK).find("has incorrect size."));
    PostMessageA(frame, WM_COMMAND, kPaste, 0);
    ASSERT_TRUE(waitUntil([&] { return test::fileSize(systemSchedule) == static_cast<std::int64_t>(kRecordSize); }));
    EXPECT_EQ("Backup (1)", fieldText(test::readSchedule(systemSchedule).at(0).name));
    closeFrame(*kzo, frame);
}

TEST_F(TerminalProgram, ATaskPastedWhileTheFileIsHeldIsKeptForTheNextSave) {
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    PostMessageA(frame, WM_COMMAND, kSelectAll, 0);
    PostMessageA(frame, WM_COMMAND, kCopy, 0);
    {
        UniqueHandle held(CreateFileA(userSchedule.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_NE(INVALID_HANDLE_VALUE, held.get());
        PostMessageA(frame, WM_COMMAND, kPaste, 0);
        EXPECT_NE(std::string::npos,
                  test::readAndAnswerBox(kzo->pid(), "Error", IDOK).find("Schedule was not saved."));
        // No reload after the failed save: a second box would be its error.
        EXPECT_EQ(nullptr, test::waitForBox(kzo->pid(), "Error", 3000));
    }
    EXPECT_EQ(2u, test::readSchedule(userSchedule).size()) << "the file as it was";

    PostMessageA(frame, WM_COMMAND, kSave, 0);
    ASSERT_TRUE(waitUntil([&] { return test::readSchedule(userSchedule).size() == 3; }));
    EXPECT_NE(nullptr, findTask(test::readSchedule(userSchedule), "Backup (1)"));
    closeFrame(*kzo, frame);
}

// What became of a pass's launches shows in the list without a Refresh (the
// Terminal watches the run history), and in the History window, newest first.
TEST_F(TerminalProgram, ThePassesResultsShowInTheListAndTheHistoryWindow) {
    ASSERT_FALSE(test::mutexExists("KZOMutexUsr")) << "a User Scheduler runs already";
    test::writeSchedule(userSchedule,
                        {test::everyMinuteTask("Fails", test::fixtureCommand(dir.file("fails.txt"),
                                                                             "--exit-after 100 --exit-code 3")),
                         test::everyMinuteTask("Missing", dir.file("missing.exe"))});
    user.setDword("RefreshTime", 60);
    user.setDword("RepErr", 0);  // no box for the program that cannot start
    user.setDword("Warn", 0);
    user.setDword("History", 1);
    test::waitForMidMinute();
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    HWND list = FindWindowExA(frame, nullptr, "SysListView32", nullptr);
    ASSERT_EQ(2, test::listViewRows(list));
    EXPECT_EQ("", test::listViewText(list, 0, kLastResultColumn)) << "nothing recorded yet";

    ChildProcess tickr(test::quoted(test::buildTreeProgram("..\\tray\\tickr.exe")));
    const std::string notStarted = "not started: " + systemErrorText(ERROR_FILE_NOT_FOUND);
    // The rows are sorted by name: "Fails", then "Missing".
    EXPECT_TRUE(waitUntil([&] {
        return test::listViewText(list, 0, kLastResultColumn) == "exit 3" &&
               test::listViewText(list, 1, kLastResultColumn) == notStarted;
    }, 30000)) << test::listViewText(list, 0, kLastResultColumn) << " | "
               << test::listViewText(list, 1, kLastResultColumn) << "\n"
               << test::readFile(userSchedule + ".history");
    PostMessageA(FindWindowA("KZOClass", "KZO Window"), 32876, 0, 0);
    EXPECT_TRUE(tickr.waitForExit().has_value());

    PostMessageA(frame, WM_COMMAND, kViewHistory, 0);
    HWND history = test::waitForBox(kzo->pid(), "History");
    ASSERT_NE(nullptr, history);
    HWND runs = GetDlgItem(history, kHistoryList);
    std::map<std::string, std::string> resultOf;  // each task's newest run
    for (int row = test::listViewRows(runs) - 1; row >= 0; --row)
        resultOf[test::listViewText(runs, row, kHistoryTaskColumn)] = test::listViewText(runs, row, kHistoryResultColumn);
    EXPECT_EQ(2u, resultOf.size());
    EXPECT_EQ("exit 3", resultOf["Fails"]);
    EXPECT_EQ(notStarted, resultOf["Missing"]);
    ASSERT_TRUE(test::answerBox(history, IDCANCEL));

    // From the task: its runs alone.
    PostMessageA(list, WM_KEYDOWN, VK_END, 0);
    PostMessageA(frame, WM_COMMAND, kTaskHistory, 0);
    history = test::waitForBox(kzo->pid(), "History of \"Missing\"");
    ASSERT_NE(nullptr, history);
    runs = GetDlgItem(history, kHistoryList);
    ASSERT_GE(test::listViewRows(runs), 1);
    for (int row = 0; row < test::listViewRows(runs); ++row)
        EXPECT_EQ("Missing", test::listViewText(runs, row, kHistoryTaskColumn)) << row;
    ASSERT_TRUE(test::answerBox(history, IDCANCEL));
    closeFrame(*kzo, frame);
}

}  // namespace
}  // namespace kzo
