// The task sheet and the new-task wizard of kzo.exe, run for real under Wine and
// driven as a user drives them: the frame's commands, a file dropped on the
// frame, texts typed into the pages, the sheet's and the wizard's buttons;
// what counts is what the schedule file holds afterwards, and what the User
// Scheduler makes of it.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "program_driver.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::ChildProcess;
using test::SavedKey;
using test::waitUntil;

constexpr const char* kSchedulerKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler";
constexpr const char* kTerminalKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Terminal";
constexpr WPARAM kTaskProperties = 2102;
// Controls of the pages (task_editing_resource.h).
constexpr int kSheetName = 514, kSheetCommand = 515, kSheetDocument = 310;
constexpr int kWizardCommand = 502;
constexpr int kDaysOfMonth = 1404, kHour = 1407, kMinute = 1408;

struct FindId {
    int id;
    HWND found;
};

BOOL CALLBACK findVisibleId(HWND window, LPARAM data) {
    auto* f = reinterpret_cast<FindId*>(data);
    if (GetDlgCtrlID(window) != f->id || !IsWindowVisible(window)) return TRUE;
    f->found = window;
    return FALSE;
}

BOOL CALLBACK findTabs(HWND window, LPARAM data) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, WC_TABCONTROLA) != 0) return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

// A control of a dialog, at any depth (the pages live in a sheet inside it).
HWND control(HWND dialog, int id) {
    FindId find{id, nullptr};
    EnumChildWindows(dialog, findVisibleId, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

HWND waitForControl(HWND dialog, int id) {
    HWND found = nullptr;
    waitUntil([&] { return (found = control(dialog, id)) != nullptr; });
    return found;
}

void type(HWND dialog, int id, const std::string& text) {
    HWND edit = waitForControl(dialog, id);
    ASSERT_NE(nullptr, edit) << "control " << id;
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string textOf(HWND dialog, int id) {
    char text[1024] = {};
    if (HWND c = waitForControl(dialog, id)) SendMessageA(c, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// The tab of the task sheet's child sheet.
void showPage(HWND dialog, int index) {
    HWND tabs = nullptr;
    EnumChildWindows(dialog, findTabs, reinterpret_cast<LPARAM>(&tabs));
    PostMessageA(GetParent(tabs), PSM_SETCURSEL, index, 0);
}

// Drops a file on a window of another process as the shell does: the drop's
// block lies in that process, where the window's DragQueryFile reads it.
bool dropFile(HWND window, const std::string& path) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    std::vector<char> block(sizeof(DROPFILES) + path.size() + 2, '\0');
    auto* drop = reinterpret_cast<DROPFILES*>(block.data());
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(block.data() + sizeof(DROPFILES), path.data(), path.size());
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    return written && PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

class TaskEditing : public ::testing::Test {
protected:
    void SetUp() override {
        user.setString("DAT", schedule);
        user.setDword("AMPM", 0);
        terminal.setDword("AutoQuote", 1);
    }

    void TearDown() override {
        if (kzo && frame) {
            PostMessageA(frame, WM_CLOSE, 0, 0);
            EXPECT_EQ(0u, kzo->waitForExit().value_or(99));
        }
    }

    // The Terminal on the schedule of these tasks.
    void startTerminal(const std::vector<TaskRecord>& tasks) {
        test::writeSchedule(schedule, tasks);
        kzo = std::make_unique<ChildProcess>(test::quoted(test::buildTreeProgram("..\\terminal\\kzo.exe")));
        frame = test::waitForWindow(kzo->pid(), "KZOTerminalFrame", "KZO Scheduler 6", true);
        ASSERT_NE(nullptr, frame);
    }

    HWND openSheet(const std::string& name) {
        PostMessageA(frame, WM_COMMAND, kTaskProperties, 0);
        return test::waitForBox(kzo->pid(), "\"" + name + "\" properties");
    }

    test::TempDir dir;
    std::string schedule = dir.file("user.jsf");
    SavedKey terminal{HKEY_CURRENT_USER, kTerminalKey};
    SavedKey user{HKEY_CURRENT_USER, kSchedulerKey};
    std::unique_ptr<ChildProcess> kzo;
    HWND frame = nullptr;
};

// A daily task that ran on 3 March 2025.
TaskRecord ranBefore(const std::string& name) {
    TaskRecord r = test::record(name);
    setField(r.command, "\"C:\\Tools\\backup.exe\" /all");
    r.weekdays = 31;
    r.time = 7 * 60 + 5;
    r.months = 4095;
    r.lastYear = 125;
    r.lastMonth = 3;
    r.lastDay = 3;
    r.lastHour = 7;
    r.lastMinute = 5;
    r.edited = 0;
    return r;
}

TEST_F(TaskEditing, SheetStoresTheNewTimeMarkedEditedAndNotRunToday) {
    startTerminal({ranBefore("Backup")});
    HWND sheet = openSheet("Backup");
    ASSERT_NE(nullptr, sheet) << "the only task opens without a focused row";
    showPage(sheet, 1);
    type(sheet, kHour, "8");
    type(sheet, kMinute, "30");
    ASSERT_TRUE(test::answerBox(sheet, IDOK));

    std::vector<TaskRecord> saved;
    EXPECT_TRUE(waitUntil([&] {
        saved = test::readSchedule(schedule);
        return saved.size() == 1 && saved[0].time == 8 * 60 + 30;
    })) << (saved.empty() ? -1 : saved[0].time);
    ASSERT_EQ(1u, saved.size());
    EXPECT_EQ(1, saved[0].edited);
    EXPECT_EQ(0, saved[0].lastYear) << "the changed task counts as not run today";
    EXPECT_EQ(31, saved[0].weekdays);
    EXPECT_EQ(4095, saved[0].months);
    EXPECT_STREQ("\"C:\\Tools\\backup.exe\" /all", saved[0].command);
}

TEST_F(TaskEditing, CancelAfterARefusalLeavesTheTaskAsTheFileHoldsIt) {
    startTerminal({ranBefore("Backup")});
    const std::string before = test::readFile(schedule);
    HWND sheet = openSheet("Backup");
    ASSERT_NE(nullptr, sheet);
    // The page writes the name and the type before it refuses the command.
    type(sheet, kSheetName, "Renamed");
    SendMessageA(waitForControl(sheet, kSheetDocument), BM_CLICK, 0, 0);
    type(sheet, kSheetCommand, "readme?.txt");
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("A Command can't contain any of the following characters : ?<> |",
              test::readAndAnswerBox(kzo->pid(), "Error", IDOK));
    ASSERT_TRUE(IsWindow(sheet)) << "a refusal keeps the sheet";
    ASSERT_TRUE(test::answerBox(sheet, IDCANCEL));
    EXPECT_EQ(before, test::readFile(schedule));

    // The Terminal holds the file's task again, under its own name.
    HWND again = openSheet("Backup");
    ASSERT_NE(nullptr, again);
    EXPECT_EQ("\"C:\\Tools\\backup.exe\" /all", textOf(again, kSheetCommand));
    ASSERT_TRUE(test::answerBox(again, IDCANCEL));
}

TEST_F(TaskEditing, OkWithoutVisitingDayAndTimeKeepsTheSchedule) {
    TaskRecord hourly = ranBefore("Hourly");
    hourly.time = kTimeEveryHour + 7;
    hourly.weekdays = 0;
    setField(hourly.daysOfMonth, "01,15");
    hourly.months = 5;
    hourly.intervalStart = 600;
    hourly.intervalEnd = 900;
    hourly.invert = 1;
    hourly.runLater = 0;
    hourly.killAfter = 30;
    startTerminal({hourly});
    HWND sheet = openSheet("Hourly");
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(test::answerBox(sheet, IDOK));

    std::vector<TaskRecord> saved;
    EXPECT_TRUE(waitUntil([&] {
        saved = test::readSchedule(schedule);
        return saved.size() == 1 && saved[0].edited == 1;
    }));
    ASSERT_EQ(1u, saved.size());
    TaskRecord expected = hourly;
    expected.edited = 1;
    EXPECT_EQ(0, std::memcmp(&expected, &saved[0], sizeof expected)) << "only the edited mark changes";
}

// The task is typed as a user types it, a program with arguments and no quotes:
// the wizard stores it so that it starts.
TEST_F(TaskEditing, WizardOfADroppedFileMakesATaskTheUserSchedulerRunsInTheSameMinute) {
    ASSERT_FALSE(test::mutexExists("KZOMutexUsr")) << "a User Scheduler runs already";
    const std::string output = dir.file("wizard.txt");
    ASSERT_EQ(std::string::npos, output.find(' ')) << "cmd would need the path quoted";
    const std::string command = "cmd /c echo made by the wizard >> " + output;
    SYSTEMTIME started = test::waitForMidMinute();
    startTerminal({test::record("Backup"), test::record("Clock")});

    ASSERT_TRUE(dropFile(frame, test::fixturePath()));
    HWND wizard = test::waitForBox(kzo->pid(), "New task \"Task 3\"");
    ASSERT_NE(nullptr, wizard) << "named after the two tasks there are";
    EXPECT_EQ(test::fixturePath(), textOf(wizard, kWizardCommand));
    type(wizard, kWizardCommand, command);
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
    // Today's day of the month; the wizard's 00:00 with run later has passed.
    char today[3];
    std::snprintf(today, sizeof today, "%02d", started.wDay);
    type(wizard, kDaysOfMonth, today);
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(wizard); }));

    std::vector<TaskRecord> saved;
    ASSERT_TRUE(waitUntil([&] { return (saved = test::readSchedule(schedule)).size() == 3; }));
    EXPECT_STREQ("Task 3", saved[2].name);
    EXPECT_EQ(1, saved[2].edited);
    EXPECT_EQ(command, saved[2].command) << "the program part of the command holds no blank";

    ChildProcess executor(test::quoted(test::buildTreeProgram("..\\tray\\tickr.exe")));
    EXPECT_TRUE(waitUntil([&] { return test::readFile(output).find("made by the wizard") != std::string::npos; },
                          20000))
        << "the new task did not run";
    EXPECT_TRUE(waitUntil(
        [&] {
            saved = test::readSchedule(schedule);
            return saved.size() == 3 && saved[2].lastYear != 0;
        },
        15000));
    ASSERT_EQ(3u, saved.size());
    EXPECT_EQ(started.wHour, saved[2].lastHour);
    EXPECT_EQ(started.wMinute, saved[2].lastMinute) << "launched in the minute it was made";

    HWND scheduler = test::waitForWindow(executor.pid(), "KZOClass", "KZO Window", false);
    SendNotifyMessageA(scheduler, 32876, 0, 0);
    EXPECT_EQ(0u, executor.waitForExit().value_or(99));
}

}  // namespace
}  // namespace kzo
