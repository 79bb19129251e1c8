// The task editing dialogs and pages in-process: each shown modally on a thread
// of its own and driven from the test's thread as a user drives it, through its
// controls; what counts is what it writes into the record or the profiles file,
// and what its controls show after each step.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "advanced_dialog.h"
#include "command_page.h"
#include "day_time_page.h"
#include "interval_dialog.h"
#include "main_frame.h"
#include "network_browser.h"
#include "network_listing.h"
#include "profile_picker.h"
#include "profiles_page.h"
#include "program_driver.h"
#include "property_page.h"
#include "resource.h"
#include "shutdown_dialog.h"
#include "system_error.h"
#include "test_support.h"

namespace kzo {
namespace {

constexpr std::uint32_t kWaitMs = 10000;

// A dialog or sheet shown modally on its own thread, found by its caption.
// One left open by a failed check is cancelled, or the test would hang.
class Shown {
public:
    Shown(const std::string& caption, std::function<INT_PTR()> show) : caption_(caption) {
        result_ = std::async(std::launch::async, std::move(show));
        test::waitUntil([&] { return (window_ = find()) != nullptr; }, kWaitMs, 10);
    }
    ~Shown() {
        while (result_.valid() && result_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
            test::closeOwnBoxes();
            if (HWND w = find()) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        }
    }
    Shown(const Shown&) = delete;
    Shown& operator=(const Shown&) = delete;

    HWND window() const { return window_; }
    // The sheet's page, or the dialog itself.
    HWND page() const {
        HWND page = reinterpret_cast<HWND>(SendMessageA(window_, PSM_GETCURRENTPAGEHWND, 0, 0));
        return page ? page : window_;
    }
    HWND control(int id) const { return GetDlgItem(page(), id); }
    std::string text(int id) const {
        char text[1024] = {};
        GetWindowTextA(control(id), text, sizeof text);
        return text;
    }
    void type(int id, const std::string& text) const {
        SendMessageA(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Check boxes, radio buttons and buttons that open nothing: handled when
    // this returns.
    void click(int id) const { SendMessageA(control(id), BM_CLICK, 0, 0); }
    bool checked(int id) const { return SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool enabled(int id) const { return IsWindowEnabled(control(id)) != FALSE; }
    // OK of a dialog or of a sheet (which answers through its pages).
    void ok() const {
        if (page() != window_)
            PostMessageA(window_, PSM_PRESSBUTTON, PSBTN_OK, 0);
        else
            PostMessageA(window_, WM_COMMAND, IDOK, 0);
    }
    // The dialog's result, or -100 when it is still open at the deadline.
    INT_PTR result() {
        if (result_.wait_for(std::chrono::milliseconds(kWaitMs)) != std::future_status::ready) return -100;
        return result_.get();
    }
    bool stillOpen() { return result_.wait_for(std::chrono::milliseconds(300)) != std::future_status::ready; }

private:
    HWND find() const {
        auto found = test::findWindows(GetCurrentProcessId(), "#32770", caption_, true);
        return found.empty() ? nullptr : found.front();
    }

    std::string caption_;
    std::future<INT_PTR> result_;
    HWND window_ = nullptr;
};

// A key press handled when this returns; keys that open a dialog are posted.
void pressKey(HWND window, int key) {
    SendMessageA(window, WM_KEYDOWN, key, 0);
    SendMessageA(window, WM_KEYUP, key, 0xC0000000);
}

std::string answerError() { return test::readAndAnswerBox(GetCurrentProcessId(), "Error", IDOK); }

HINSTANCE module() { return GetModuleHandleA(nullptr); }

class EditingDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
    }
};

// The container's side of a page: what it was told.
class RecordingHost : public TaskEditHost {
public:
    void setDescription(const std::string& text) override { description = text; }
    void showTaskName(HWND, const std::string& name) override { title = name; }
    std::string description, title;
};

struct PageSetup {
    explicit PageSetup(TaskRecord& record, bool ampm = false)
        : context{record, store, module(), ampm, true, false, true, nullptr, ""} {}
    ScheduleStore store;
    TaskEditContext context;
    RecordingHost host;
};

// --- Activity Interval, Advanced, Shut Down Windows, the network browser ------

TEST_F(EditingDialogs, IntervalReadsBothHalvesAndWritesOnlyOnOk) {
    TaskRecord record = test::record("T");
    record.intervalStart = 8 * 60;
    record.intervalEnd = 21 * 60 + 30;
    {
        Shown dialog("Activity Interval", [&] { return IntervalDialog(record, true).run(module(), nullptr); });
        ASSERT_NE(nullptr, dialog.window());
        EXPECT_EQ("08", dialog.text(IDC_IV_FROM_HOUR));
        EXPECT_EQ("&AM", dialog.text(IDC_IV_FROM_AMPM));
        EXPECT_EQ("09", dialog.text(IDC_IV_TO_HOUR));
        EXPECT_EQ("&PM", dialog.text(IDC_IV_TO_AMPM));
        dialog.click(IDC_IV_FROM_AMPM);
        EXPECT_EQ("&PM", dialog.text(IDC_IV_FROM_AMPM));
        // Full day (12:00 AM to 11:59 PM) with Invert is refused and changes nothing.
        dialog.click(IDC_IV_FULL_DAY);
        EXPECT_EQ("12", dialog.text(IDC_IV_FROM_HOUR));
        EXPECT_EQ("&AM", dialog.text(IDC_IV_FROM_AMPM));
        dialog.click(IDC_IV_INVERT);
        dialog.ok();
        EXPECT_EQ("\"Invert\" option can not be used with full-day interval.|", answerError());
        EXPECT_EQ(8 * 60, record.intervalStart);
        dialog.click(IDC_IV_INVERT);
        dialog.type(IDC_IV_FROM_HOUR, "08");
        dialog.type(IDC_IV_TO_HOUR, "11");
        dialog.type(IDC_IV_TO_MINUTE, "00");
        dialog.ok();
        EXPECT_EQ(IDOK, dialog.result());
    }
    EXPECT_EQ(8 * 60, record.intervalStart) << "12-hour 08 AM after Full day";
    EXPECT_EQ(23 * 60, record.intervalEnd) << "11 PM";
    EXPECT_EQ(0, record.invert);
}

TEST_F(EditingDialogs, AdvancedTakesBlanksInsideSecondsAndRefusesTooMany) {
    test::TempDir dir;
    const std::string tools = dir.file("My Tools");
    ASSERT_TRUE(CreateDirectoryA(tools.c_str(), nullptr));
    test::writeFile(tools + "\\alarm.exe", "");
    AdvancedDialog advanced(10, 20, "", kTypeDocument, true);
    Shown dialog("Advanced process settings", [&] { return advanced.run(module(), nullptr); });
    ASSERT_NE(nullptr, dialog.window());
    EXPECT_EQ("10", dialog.text(IDC_ADVANCED_KILL));
    EXPECT_FALSE(dialog.enabled(IDC_ADVANCED_QUIT)) << "only Application tasks quit";
    dialog.type(IDC_ADVANCED_KILL, "100000");
    dialog.ok();
    EXPECT_EQ("Invalid time specified.\t\t \r\nEnter a value between [0...99 999].|", answerError());
    dialog.type(IDC_ADVANCED_KILL, "99 999");
    dialog.type(IDC_ADVANCED_ON_ERROR, "  " + tools + "\\alarm /loud ");
    dialog.ok();
    ASSERT_EQ(IDOK, dialog.result());
    EXPECT_EQ(99999, advanced.result().killAfter);
    EXPECT_EQ(20, advanced.result().quitAfter);
    EXPECT_EQ("\"" + tools + "\\alarm\" /loud", advanced.result().onError) << "the program on this disk, quoted";
}

TEST_F(EditingDialogs, ShutdownPreselectsTheCommandsKeyword) {
    ShutdownDialog shutdown(shutdownChoiceFor(" reboot"));
    Shown dialog("Shut Down Windows", [&] { return shutdown.run(module(), nullptr); });
    ASSERT_NE(nullptr, dialog.window());
    EXPECT_TRUE(dialog.checked(IDC_SHUTDOWN_REBOOT));
    dialog.click(IDC_SHUTDOWN_LOGOFF);
    dialog.ok();
    ASSERT_EQ(IDOK, dialog.result());
    EXPECT_EQ("LOGOFF", shutdownKeywordFor(shutdown.choice()));
}

TEST_F(EditingDialogs, NetworkBrowserWithoutANetworkCanOnlyBeCancelled) {
    if (listNetworkComputers().ok) GTEST_SKIP() << "this system lists its network";
    Shown dialog("Browse for Computer", [] { return NetworkBrowser().run(module(), nullptr); });
    ASSERT_NE(nullptr, dialog.window());
    EXPECT_EQ(systemErrorText(ERROR_NO_NETWORK), dialog.text(IDC_NET_STATUS));
    EXPECT_FALSE(dialog.enabled(IDC_NET_TREE));
    EXPECT_FALSE(dialog.enabled(IDOK));
    PostMessageA(dialog.window(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(IDCANCEL, dialog.result());
}

// --- Profiles: the picker and the Options sheet's page -----------------------

TEST_F(EditingDialogs, PickerGivesTheChosenProfileWithItsLineBreaks) {
    test::TempDir dir;
    test::writeFile(dir.file("kzo.pro"),
                    "Notepad\r\nnotepad.exe\r\nAPP\r\n\r\n Restart \r\n REBOOT \r\nsdn \r\nSaves nothing|Be sure\r\n");
    ProfilePicker picker(dir.file("kzo.pro"), false);
    Shown dialog("Task command profiles", [&] { return picker.run(module(), nullptr); });
    ASSERT_NE(nullptr, dialog.window());
    HWND list = dialog.control(IDC_PICKER_LIST);
    ASSERT_EQ(2, ListView_GetItemCount(list));
    ListView_SetItemState(list, 0, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    dialog.ok();
    ASSERT_EQ(IDOK, dialog.result());
    EXPECT_EQ("REBOOT", picker.command());
    EXPECT_EQ("Saves nothing\rBe sure", picker.comment());
    EXPECT_EQ(kTypeShutdown, picker.type());
}

TEST_F(EditingDialogs, PickerOfNoProfilesHasNoOk) {
    test::TempDir dir;
    ProfilePicker picker(dir.file("kzo.pro"), false);
    Shown dialog("Task command profiles", [&] { return picker.run(module(), nullptr); });
    ASSERT_NE(nullptr, dialog.window());
    EXPECT_FALSE(dialog.enabled(IDOK));
    EXPECT_TRUE(test::fileExists(dir.file("kzo.pro"))) << "created empty";
}

TEST_F(EditingDialogs, ProfilesPageSavesEachNewAndDeletedProfile) {
    test::TempDir dir;
    test::writeFile(dir.file("kzo.pro"), "Notepad\r\nnotepad.exe\r\nAPP\r\nEdits|texts\r\n");
    TerminalSettings settings;
    CMainFrame frame(module(), settings, dir.file("kzo.exe"));
    ProfilesPage profiles(frame);
    Shown sheet("Profiles under test", [&] { return runPropertySheet(nullptr, "Profiles under test", {profiles.sheetPage()}); });
    ASSERT_NE(nullptr, sheet.window());
    EXPECT_EQ(" 1 profiles.", sheet.text(IDC_PROFILES_COUNT));
    HWND list = sheet.control(IDC_PROFILES_LIST);
    PostMessageA(list, WM_KEYDOWN, VK_F3, 0);
    HWND profile = test::waitForBox(GetCurrentProcessId(), "New profile");
    ASSERT_NE(nullptr, profile);
    char name[64] = {};
    GetDlgItemTextA(profile, IDC_PROFILE_NAME, name, sizeof name);
    EXPECT_STREQ("Profile 2", name);
    SetDlgItemTextA(profile, IDC_PROFILE_COMMAND, " calc.exe ");
    SendDlgItemMessageA(profile, IDC_PROFILE_TYPE, CB_SETCURSEL, 2, 0);
    ASSERT_TRUE(test::answerBox(profile, IDOK));
    EXPECT_TRUE(test::waitUntil([&] { return sheet.text(IDC_PROFILES_COUNT) == " 2 profiles."; }));
    EXPECT_EQ("Notepad\r\nnotepad.exe\r\nAPP\r\nEdits|texts\r\nProfile 2\r\ncalc.exe\r\nMSG\r\n\r\n",
              test::readFile(dir.file("kzo.pro")));

    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    pressKey(list, VK_DELETE);
    EXPECT_TRUE(test::waitUntil([&] { return sheet.text(IDC_PROFILES_COUNT) == " 1 profiles."; }));
    EXPECT_EQ("Profile 2\r\ncalc.exe\r\nMSG\r\n\r\n", test::readFile(dir.file("kzo.pro")));
}

// --- The Day and time page ----------------------------------------------------

TaskRecord weekdaysAt(int32_t time) {
    TaskRecord r = test::record("Daily");
    r.weekdays = 31;
    r.time = time;
    r.lastYear = 125;
    r.lastMonth = 3;
    r.lastDay = 3;
    return r;
}

int checkedMask(HWND list) {
    int mask = 0;
    for (int i = 0; i < ListView_GetItemCount(list); ++i)
        if (ListView_GetCheckState(list, i)) mask |= 1 << i;
    return mask;
}

TEST_F(EditingDialogs, DayTimeSpaceBarTogglesEverySelectedDay) {
    TaskRecord record = weekdaysAt(8 * 60);
    PageSetup setup(record);
    DayTimePage page(setup.context, setup.host, false);
    Shown sheet("Days under test", [&] { return runPropertySheet(nullptr, "Days under test", {page.sheetPage()}); });
    ASSERT_NE(nullptr, sheet.window());
    HWND days = sheet.control(IDC_DT_WEEKDAYS);
    ASSERT_EQ(31, checkedMask(days));
    for (int day : {0, 5, 6}) ListView_SetItemState(days, day, LVIS_SELECTED, LVIS_SELECTED);
    pressKey(days, VK_SPACE);
    EXPECT_EQ(0x7E, checkedMask(days)) << "Monday off, Saturday and Sunday on";
    sheet.ok();
    ASSERT_GT(sheet.result(), 0);
    EXPECT_EQ(0x7E, record.weekdays);
    EXPECT_EQ(0, record.lastYear);
}

TEST_F(EditingDialogs, DayTimeStartupClearsTheTimeAndRelabelsRunLater) {
    TaskRecord record = weekdaysAt(8 * 60 + 5);
    record.cycle = 0;
    PageSetup setup(record);
    DayTimePage page(setup.context, setup.host, false);
    Shown sheet("Startup under test", [&] { return runPropertySheet(nullptr, "Startup under test", {page.sheetPage()}); });
    ASSERT_NE(nullptr, sheet.window());
    EXPECT_EQ("R&un task at user logon", sheet.text(IDC_DT_STARTUP));
    EXPECT_EQ(0u, sheet.text(IDC_DT_NEXT_RUN).find("Next run: "));
    sheet.click(IDC_DT_CYCLE);
    sheet.click(IDC_DT_STARTUP);
    EXPECT_EQ("00", sheet.text(IDC_DT_HOUR));
    EXPECT_EQ("00", sheet.text(IDC_DT_MINUTE));
    EXPECT_FALSE(sheet.checked(IDC_DT_CYCLE));
    EXPECT_FALSE(sheet.enabled(IDC_DT_HOUR));
    EXPECT_EQ("Eve&ry startup/logon", sheet.text(IDC_DT_RUN_LATER));
    EXPECT_EQ("Next run: at user logon", sheet.text(IDC_DT_NEXT_RUN));
    sheet.click(IDC_DT_SCHEDULED);
    EXPECT_TRUE(sheet.enabled(IDC_DT_HOUR));
    EXPECT_EQ("&Run later, if it was impossible to run in time", sheet.text(IDC_DT_RUN_LATER));
    sheet.type(IDC_DT_HOUR, "25");
    EXPECT_EQ("Next run: not known while the time or the days are not valid", sheet.text(IDC_DT_NEXT_RUN));
    sheet.ok();
    EXPECT_EQ("Invalid time specified.\t\t |", answerError());
    EXPECT_TRUE(sheet.stillOpen());
    sheet.click(IDC_DT_STARTUP);
    sheet.ok();
    ASSERT_GT(sheet.result(), 0);
    EXPECT_EQ(kTimeStartup, record.time);
}

TEST_F(EditingDialogs, DayTimeSpinStepsTheBoxLastFocused) {
    TaskRecord record = weekdaysAt(7 * 60 + 59);
    PageSetup setup(record);
    DayTimePage page(setup.context, setup.host, false);
    Shown sheet("Spin under test", [&] { return runPropertySheet(nullptr, "Spin under test", {page.sheetPage()}); });
    ASSERT_NE(nullptr, sheet.window());
    HWND spin = sheet.control(IDC_DT_SPIN);
    RECT r;
    GetClientRect(spin, &r);
    auto clickUp = [&] {
        SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, 2));
        SendMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, 2));
    };
    clickUp();
    EXPECT_EQ("08", sheet.text(IDC_DT_HOUR)) << "the hour at first";
    SendMessageA(sheet.page(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(sheet.control(IDC_DT_MINUTE)), TRUE);
    clickUp();
    EXPECT_EQ("59", sheet.text(IDC_DT_MINUTE)) << "kept within 0..59";
    EXPECT_EQ("08", sheet.text(IDC_DT_HOUR));
}

// --- The Command page -----------------------------------------------------------

TEST_F(EditingDialogs, CommandPageLabelsFollowTheType) {
    TaskRecord record = test::record("Labels");
    PageSetup setup(record);
    CommandPage page(setup.context, setup.host, false);
    Shown sheet("Labels under test", [&] { return runPropertySheet(nullptr, "Labels under test", {page.sheetPage()}); });
    ASSERT_NE(nullptr, sheet.window());
    EXPECT_EQ("Labels", setup.host.title);
    sheet.click(IDC_SHEET_MESSAGE);
    EXPECT_EQ("Messa&ge :", sheet.text(IDC_SHEET_COMMAND_LABEL));
    EXPECT_EQ("C&omputer :", sheet.text(IDC_SHEET_FOLDER_LABEL));
    EXPECT_FALSE(sheet.enabled(IDC_SHEET_BROWSE));
    EXPECT_FALSE(sheet.enabled(IDC_SHEET_ADVANCED));
    EXPECT_FALSE(sheet.enabled(IDC_SHEET_MINIMIZED));
    sheet.click(IDC_SHEET_SHUTDOWN);
    EXPECT_EQ("&Command :", sheet.text(IDC_SHEET_COMMAND_LABEL));
    EXPECT_EQ("&Select...", sheet.text(IDC_SHEET_BROWSE));
    EXPECT_TRUE(sheet.enabled(IDC_SHEET_BROWSE));
    sheet.click(IDC_SHEET_DOCUMENT);
    EXPECT_EQ("Startup f&older :", sheet.text(IDC_SHEET_FOLDER_LABEL));
    EXPECT_EQ("&Browse...", sheet.text(IDC_SHEET_BROWSE));
    EXPECT_TRUE(sheet.enabled(IDC_SHEET_ADVANCED));
    sheet.type(IDC_SHEET_NAME, "Renamed");
    EXPECT_EQ("Renamed", setup.host.title) << "the title follows the name";
}

TEST_F(EditingDialogs, CommandPageEditingInTheStoreIsNoDuplicateOfItself) {
    ScheduleStore store;
    ASSERT_TRUE(store.reserve(2 * kRecordSize));
    TaskRecord a = test::record("A");
    setField(a.command, "a.exe");
    store.append(a);
    store.append(test::record("B"));
    TaskRecord& edited = *store.find("A");
    TaskEditContext context{edited, store, module(), false, false, false, true, nullptr, ""};
    RecordingHost host;
    CommandPage page(context, host, false);
    Shown sheet("Names under test", [&] { return runPropertySheet(nullptr, "Names under test", {page.sheetPage()}); });
    ASSERT_NE(nullptr, sheet.window());
    sheet.type(IDC_SHEET_NAME, "B");
    sheet.ok();
    EXPECT_EQ("Task with this name already exists.\t\t \r\nYou must use an other name.|", answerError());
    // A later check refuses after the record took the new name "C" ...
    sheet.type(IDC_SHEET_NAME, "C");
    sheet.click(IDC_SHEET_DOCUMENT);
    sheet.type(IDC_SHEET_COMMAND, "notes?.txt");
    sheet.ok();
    EXPECT_EQ("A Command can't contain any of the following characters : ?<> |", answerError());
    EXPECT_STREQ("C", edited.name);
    // ... and that record is not another task called "C".
    sheet.type(IDC_SHEET_COMMAND, "notes.txt");
    sheet.ok();
    ASSERT_GT(sheet.result(), 0);
    EXPECT_STREQ("C", edited.name);
    EXPECT_EQ(kTypeDocument, edited.type);
    EXPECT_STREQ("notes.txt", edited.command);
}

}  // namespace
}  // namespace kzo
