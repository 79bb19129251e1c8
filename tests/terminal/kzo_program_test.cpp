// kzo.exe run for real under Wine and driven as a user and the other programs
// drive it: through the production settings keys (saved and restored around
// each test), its windows, commands posted to its frame, and its boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "program_driver.h"
#include "test_support.h"

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
constexpr WPARAM kViewSystemSchedule = 32802;

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
    ASSERT_TRUE(test::answerBox(about, IDOK));
    EXPECT_EQ(0u, kzo->waitForExit().value_or(99));
}

TEST_F(TerminalProgram, ClosedMaximisedItOpensMaximisedAgain) {
    auto kzo = start();
    HWND frame = frameOf(*kzo);
    ASSERT_NE(nullptr, frame);
    ShowWindow(frame, SW_MAXIMIZE);
    closeFrame(*kzo, frame);
    EXPECT_EQ(1u, terminal.dword("WindowX").value_or(0));
    EXPECT_EQ(1u, terminal.dword("WindowH").value_or(0));

    auto again = start();
    frame = frameOf(*again);
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(waitUntil([&] { return IsZoomed(frame) != FALSE; }, 3000));
    WINDOWPLACEMENT placement = {sizeof placement};
    GetWindowPlacement(frame, &placement);
    EXPECT_EQ(45, placement.rcNormalPosition.left);
    EXPECT_EQ(575, placement.rcNormalPosition.right - placement.rcNormalPosition.left);
    closeFrame(*again, frame);
}

TEST_F(TerminalProgram, WithoutASystemScheduleAltF2RefusesAndKeepsTheUserSchedule) {
    system.remove("DAT");
    terminal.setDword("ActiveSched", 1);
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

}  // namespace
}  // namespace kzo
