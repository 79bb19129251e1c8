// kzo.exe controlling the schedulers for real under Wine: started from a
// folder of its own beside tickr.exe, driven by commands posted to its frame
// and by its dialogs' controls, seen through the production settings keys, the
// schedulers' mutexes and windows, the update events and the service manager.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "program_driver.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

using test::ChildProcess;
using test::mutexExists;
using test::SavedKey;
using test::waitUntil;

constexpr const char* kSchedulerKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler";
constexpr const char* kTerminalKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Terminal";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kService = "KZO Scheduler";
constexpr WPARAM kOptions = 2201, kStart = 2202, kConvert = 2204, kDiagnostics = 2205, kSelectAll = 2500,
                 kActive = 32825, kStop = 32826, kClearLogfile = 32827, kScheduleProperties = 32831;
constexpr int kDontAskAgain = 6150;
// Controls of the Options and Convert dialogs.
constexpr int kRefreshTime = 1415, kWarn = 1417, kSoundFile = 1422;
constexpr int kConfirmations = 1451, kUnselectAll = 1454;
constexpr int kConvertSource = 1471, kConvertTarget = 1473;
constexpr int kReport = 1482;

int trayIconOf(HWND window) { return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(window, "KZOTrayIcon"))); }

// A control anywhere inside a window (the pages of a sheet are windows in
// windows).
struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK matchControl(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ControlSearch*>(parameter);
    if (GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

HWND descendant(HWND root, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(root, matchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void setText(HWND dialog, int id, const std::string& text) {
    HWND control = descendant(dialog, id);
    ASSERT_NE(nullptr, control) << "control " << id;
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The text of a control of another process (WM_GETTEXT crosses processes).
std::string textOf(HWND control) {
    std::string text(static_cast<std::size_t>(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

// Shows page index of the Options sheet, as a click on its tab does.
void showPage(HWND options, int index) {
    HWND tabs = FindWindowExA(FindWindowExA(options, nullptr, "#32770", nullptr), nullptr, "SysTabControl32", nullptr);
    ASSERT_NE(nullptr, tabs);
    SendMessageA(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
}

DWORD serviceState() {
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    UniqueService service(OpenServiceA(manager.get(), kService, SERVICE_QUERY_STATUS));
    SERVICE_STATUS status{};
    if (!service || !QueryServiceStatus(service.get(), &status)) return 0;
    return status.dwCurrentState;
}

// tickrnt.exe of the build tree run with one argument; its exit code.
DWORD runTickrnt(const char* argument) {
    ChildProcess run(test::quoted(test::buildTreeProgram("..\\service\\tickrnt.exe")) + " " + argument);
    return run.waitForExit(60000).value_or(999);
}

class SchedulerControlProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mutexExists("KZOMutexUsr")) << "a User Scheduler runs already";
        ASSERT_FALSE(mutexExists("KZOMutexSys")) << "a System Scheduler runs already";
        // The Terminal starts tickr.exe from its own folder.
        for (const char* program : {"..\\terminal\\kzo.exe", "..\\tray\\tickr.exe"}) {
            std::string from = test::buildTreeProgram(program);
            std::string name = from.substr(from.find_last_of('\\') + 1);
            ASSERT_TRUE(CopyFileA(from.c_str(), programs.file(name).c_str(), FALSE)) << from;
        }
        userSchedule = data.file("user.jsf");
        test::writeSchedule(userSchedule, {test::record("Backup")});
        user.setString("DAT", userSchedule);
        user.setDword("OneInst", 1);
        user.setDword("Active", 1);
        user.setDword("RefreshTime", 60);
    }

    void TearDown() override {
        // No scheduler outlives a failed test.
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "KZOClass", "KZO Window")) != nullptr;) {
            PostMessageA(w, 32876, 0, 0);
            PostMessageA(w, 32876, 1, 0);
        }
        waitUntil([] { return !mutexExists("KZOMutexUsr") && !mutexExists("KZOMutexSys"); });
        test::closeOwnBoxes();
    }

    void askNothing() {
        const BYTE none[7] = {};
        terminal.setRaw("Confirm", REG_BINARY, none, sizeof none);
    }

    HWND startTerminal() {
        kzo = std::make_unique<ChildProcess>(test::quoted(programs.file("kzo.exe")));
        HWND frame = test::waitForWindow(kzo->pid(), "KZOTerminalFrame", "KZO Scheduler 6", true);
        EXPECT_NE(nullptr, frame);
        return frame;
    }

    void command(HWND frame, WPARAM id) { PostMessageA(frame, WM_COMMAND, id, 0); }

    void closeTerminal(HWND frame) {
        PostMessageA(frame, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, kzo->waitForExit().value_or(99));
    }

    HWND executorWindow() { return FindWindowA("KZOClass", "KZO Window"); }

    // Members end in reverse order: the Terminal first, the folders last.
    test::TempDir programs;
    test::TempDir data;
    std::string userSchedule;
    SavedKey terminal{HKEY_CURRENT_USER, kTerminalKey};
    SavedKey user{HKEY_CURRENT_USER, kSchedulerKey};
    SavedKey system{HKEY_LOCAL_MACHINE, kSchedulerKey};
    SavedKey run{HKEY_CURRENT_USER, kRunKey};
    SavedKey version{HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\kzo.exe"};
    std::unique_ptr<ChildProcess> kzo;
};

TEST_F(SchedulerControlProgram, UserSchedulerStartedToggledAndStoppedFromTheTerminal) {
    HWND frame = startTerminal();
    ASSERT_NE(nullptr, frame);

    command(frame, kStart);
    EXPECT_EQ("Do you want to start the User Scheduler ?|", test::readAndAnswerBox(kzo->pid(), "Warning", IDYES));
    ASSERT_TRUE(waitUntil([] { return mutexExists("KZOMutexUsr"); })) << "the User Scheduler did not start";
    HWND executor = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (executor = executorWindow()) && trayIconOf(executor) == 3; }));

    command(frame, kActive);
    EXPECT_TRUE(waitUntil([&] { return user.dword("Active") == 0u && trayIconOf(executor) == 4; }))
        << "inactive in the registry and in the tray";
    command(frame, kActive);
    EXPECT_TRUE(waitUntil([&] { return user.dword("Active") == 1u && trayIconOf(executor) == 3; }));

    command(frame, kStop);
    HWND box = test::waitForBox(kzo->pid(), "Warning");
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, test::boxText(box).find("Do you want to stop the User Scheduler ?"));
    SendMessageA(descendant(box, kDontAskAgain), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(test::answerBox(box, IDYES));
    EXPECT_TRUE(waitUntil([] { return !mutexExists("KZOMutexUsr"); })) << "the User Scheduler runs on";

    command(frame, kStop);  // not asked again
    EXPECT_EQ("Unable to stop the User Scheduler.\t\t \nIt is not running.\t\t|",
              test::readAndAnswerBox(kzo->pid(), "Error"));
    closeTerminal(frame);
    ASSERT_EQ(7u, terminal.stored("Confirm").bytes.size());
    EXPECT_EQ(0, terminal.stored("Confirm").bytes[3]) << "the stop question is off";
    EXPECT_EQ(1, terminal.stored("Confirm").bytes[2]) << "the start question is not";
}

// On 95/98/Me the System Scheduler is "tickr.exe /s", stopped by message.
TEST_F(SchedulerControlProgram, OnWindows98TheSystemSchedulerIsTheTrayProgramWithS) {
    version.setString("Version", "win98");
    std::string systemSchedule = data.file("system.jsf");
    test::writeSchedule(systemSchedule, {});
    system.setString("DAT", systemSchedule);
    terminal.setDword("ActiveSched", 1);
    askNothing();
    HWND frame = startTerminal();
    ASSERT_NE(nullptr, frame);
    command(frame, kStart);
    ASSERT_TRUE(waitUntil([] { return mutexExists("KZOMutexSys"); })) << "no System Scheduler";
    EXPECT_FALSE(mutexExists("KZOMutexUsr"));

    // A User Scheduler beside it, its window the newer of the two: the stop
    // still reaches the System Scheduler, and only it.
    ChildProcess userScheduler(test::quoted(programs.file("tickr.exe")));
    ASSERT_TRUE(waitUntil([] { return mutexExists("KZOMutexUsr"); }));
    command(frame, kStop);
    EXPECT_TRUE(waitUntil([] { return !mutexExists("KZOMutexSys"); })) << "the System Scheduler runs on";
    EXPECT_TRUE(userScheduler.running());
    closeTerminal(frame);
}

// On the NT family the System Scheduler is the service: started and stopped
// through the service manager, paused by the service itself at its next pass
// once the Terminal has made it inactive.
TEST_F(SchedulerControlProgram, OnNtTheServiceIsStartedPausedByActiveAndStopped) {
    version.setString("Version", "winxp");
    struct Registration {
        Registration() { ok = runTickrnt("/r") == 1; }
        ~Registration() { runTickrnt("/u"); }
        bool ok;
    } registration;
    ASSERT_TRUE(registration.ok);
    std::string systemSchedule = data.file("system.jsf");
    test::writeSchedule(systemSchedule, {});
    system.setString("DAT", systemSchedule);
    system.setDword("Active", 1);
    terminal.setDword("ActiveSched", 1);
    askNothing();
    HWND frame = startTerminal();
    ASSERT_NE(nullptr, frame);

    // Started mid-minute the service passes at once and sees itself active:
    // the pass that then sees it inactive pauses it. (A service whose first
    // pass comes after the toggle starts inactive and is not paused: the
    // Active it compares with starts at 0.)
    test::waitForMidMinute();
    command(frame, kStart);
    ASSERT_TRUE(waitUntil([] { return serviceState() == SERVICE_RUNNING; }, 20000)) << "state " << serviceState();
    command(frame, kScheduleProperties);
    HWND properties = test::waitForBox(kzo->pid(), "System Schedule properties");
    ASSERT_NE(nullptr, properties);
    EXPECT_NE(std::string::npos, test::boxText(properties).find("Running, Active"))
        << "the service's mutex counts as running: " << test::boxText(properties);
    ASSERT_TRUE(test::answerBox(properties, IDCANCEL));

    command(frame, kActive);
    EXPECT_TRUE(waitUntil([&] { return system.dword("Active") == 0u; }));
    EXPECT_TRUE(waitUntil([] { return serviceState() == SERVICE_PAUSED; }, 75000))
        << "state " << serviceState() << ", Active " << system.dword("Active").value_or(9);

    command(frame, kStop);
    EXPECT_TRUE(waitUntil([] { return serviceState() == SERVICE_STOPPED; }, 20000)) << "state " << serviceState();
    closeTerminal(frame);
}

TEST_F(SchedulerControlProgram, OptionsOkWritesTheSettingsAndTheRunEntryAndSetsBothEvents) {
    UniqueHandle userEvent(CreateEventA(nullptr, TRUE, FALSE, "KZO_SCHEDULER_5_USR_UPDATE_EVENT"));
    UniqueHandle systemEvent(CreateEventA(nullptr, TRUE, FALSE, "KZO_SCHEDULER_5_SYS_UPDATE_EVENT"));
    ResetEvent(userEvent.get());  // should an earlier holder have left them set
    ResetEvent(systemEvent.get());
    user.setDword("AutoStart", 1);
    user.setDword("Warn", 0);
    HWND frame = startTerminal();
    ASSERT_NE(nullptr, frame);
    command(frame, kOptions);
    HWND options = test::waitForBox(kzo->pid(), "Options");
    ASSERT_NE(nullptr, options);

    setText(options, kRefreshTime, "61");
    PostMessageA(options, WM_COMMAND, IDOK, 0);
    EXPECT_NE(std::string::npos,
              test::readAndAnswerBox(kzo->pid(), "Error").find("The Pefresh Time is invalid."));
    ASSERT_TRUE(IsWindow(options)) << "a refused page keeps the sheet open";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(userEvent.get(), 0));

    setText(options, kRefreshTime, " 7");
    setText(options, kSoundFile, "  ding.wav ");
    SendMessageA(descendant(options, kWarn), BM_CLICK, 0, 0);
    ASSERT_TRUE(test::answerBox(options, IDOK));
    // The events are set once everything is written.
    EXPECT_TRUE(waitUntil([&] { return WaitForSingleObject(systemEvent.get(), 0) == WAIT_OBJECT_0; }));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(userEvent.get(), 0));
    EXPECT_EQ(7u, user.dword("RefreshTime").value_or(0));
    EXPECT_EQ(1u, user.dword("Warn").value_or(0));
    EXPECT_EQ(test::RegValue::string("ding.wav"), user.stored("WAV"));
    EXPECT_EQ(test::RegValue::string(test::quoted(programs.file("tickr.exe"))), run.stored("KZOScheduler"));
    EXPECT_EQ(7u, terminal.stored("Confirm").bytes.size());
    closeTerminal(frame);
}

// An old schedule of layout B converted, taken as the user's schedule and run
// by the User Scheduler the Terminal starts.
TEST_F(SchedulerControlProgram, AConvertedOldScheduleIsTheOneTheUserSchedulerRuns) {
    const std::string marker = data.file("converted.txt");
    const std::string task = test::fixtureCommand(marker, "--exit-after 300");
    ASSERT_LT(task.size(), 266u);
    std::string old(422, '\0');  // one record of layout B: every day, every minute
    old.replace(0, 9, "Converted");
    old.replace(65, task.size(), task);
    old[396] = 1;    // active
    old[398] = 127;  // every weekday
    old[399] = 1;    // a cycle of one minute
    old[408] = static_cast<char>(1439 & 0xFF);
    old[409] = static_cast<char>(1439 >> 8);
    old[412] = 1;    // cycle
    const std::string source = data.file("old.dat"), target = data.file("new.jsf");
    test::writeFile(source, old);
    test::writeSchedule(target, {test::record("Kept")});
    askNothing();
    HWND frame = startTerminal();
    ASSERT_NE(nullptr, frame);

    command(frame, kConvert);
    HWND convert = test::waitForBox(kzo->pid(), "Convert");
    ASSERT_NE(nullptr, convert);
    setText(convert, kConvertSource, source);
    setText(convert, kConvertTarget, target);
    PostMessageA(convert, WM_COMMAND, IDOK, 0);
    EXPECT_NE(std::string::npos, test::readAndAnswerBox(kzo->pid(), "Warning", IDNO).find("Overwrite ?"));
    ASSERT_TRUE(IsWindow(convert)) << "No keeps the dialog";
    EXPECT_EQ("Kept", fieldText(test::readSchedule(target).at(0).name));
    PostMessageA(convert, WM_COMMAND, IDOK, 0);
    test::readAndAnswerBox(kzo->pid(), "Warning", IDYES);
    EXPECT_NE(std::string::npos, test::readAndAnswerBox(kzo->pid(), "Query", IDYES).find("The file have been converted."));
    ASSERT_TRUE(waitUntil([&] { return user.stored("DAT") == test::RegValue::string(target); }));
    ASSERT_EQ(1u, test::readSchedule(target).size());

    test::waitForMidMinute();
    command(frame, kStart);
    EXPECT_FALSE(test::waitForMarker(marker, 20000).empty()) << "the converted task did not run";
    command(frame, kStop);
    EXPECT_TRUE(waitUntil([] { return !mutexExists("KZOMutexUsr"); }));
    closeTerminal(frame);
}

TEST_F(SchedulerControlProgram, ClearLogfileDeletesTheShownSchedulersLogAfterTheQuestion) {
    const std::string log = data.file("user.log");
    test::writeFile(log, "a line\r\n");
    user.setString("LOG", log);
    user.setDword("LogF", 1);
    HWND frame = startTerminal();
    ASSERT_NE(nullptr, frame);
    command(frame, kClearLogfile);
    EXPECT_EQ("Do you want to delete user logfile ?\t \t|", test::readAndAnswerBox(kzo->pid(), "Warning", IDNO));
    EXPECT_TRUE(test::fileExists(log)) << "No keeps it";
    command(frame, kClearLogfile);
    test::readAndAnswerBox(kzo->pid(), "Warning", IDYES);
    EXPECT_TRUE(waitUntil([&] { return !test::fileExists(log); }));
    command(frame, kClearLogfile);  // nothing to delete any more: said so
    EXPECT_NE(std::string::npos, test::readAndAnswerBox(kzo->pid(), "Warning", IDYES).find("logfile"));
    EXPECT_NE(std::string::npos, test::readAndAnswerBox(kzo->pid(), "Error").find("Unable to delete the log file \"" + log));
    closeTerminal(frame);
}

TEST_F(SchedulerControlProgram, DiagnosticsReportsTheSelectedTasksAfterItsQuestion) {
    test::writeSchedule(userSchedule, {test::record("Backup"), test::record("Clock"), test::record("Backup")});
    HWND frame = startTerminal();
    ASSERT_NE(nullptr, frame);
    command(frame, kDiagnostics);
    EXPECT_NE(std::string::npos, test::readAndAnswerBox(kzo->pid(), "Query", IDCANCEL).find("This will collect"));
    EXPECT_EQ(nullptr, test::waitForBox(kzo->pid(), "Diagnostics", 500)) << "Cancel ends the command";

    command(frame, kSelectAll);
    command(frame, kDiagnostics);
    test::readAndAnswerBox(kzo->pid(), "Query", IDOK);
    HWND dialog = test::waitForBox(kzo->pid(), "Diagnostics");
    ASSERT_NE(nullptr, dialog);
    const std::string report = textOf(descendant(dialog, kReport));
    EXPECT_EQ(0u, report.find("\x95KZO Scheduler  6.30, Build 677 E.\r\n")) << report.substr(0, 80);
    std::size_t backups = 0;
    for (std::size_t at = 0; (at = report.find("Name   \t: Backup\r\n", at)) != std::string::npos; ++at) ++backups;
    EXPECT_EQ(2u, backups) << "each selected row is reported, names alike or not";
    EXPECT_NE(std::string::npos, report.find("Name   \t: Clock\r\n"));
    EXPECT_NE(std::string::npos, report.find("<END OF REPORT>"));
    ASSERT_TRUE(test::answerBox(dialog, IDOK));
    closeTerminal(frame);
}

// The System settings page stores the confirmations when it is left; Cancel
// leaves them stored.
TEST_F(SchedulerControlProgram, ConfirmationsAreStoredWhenTheirPageIsLeftEvenIfTheSheetIsCancelled) {
    HWND frame = startTerminal();
    ASSERT_NE(nullptr, frame);
    command(frame, kOptions);
    HWND options = test::waitForBox(kzo->pid(), "Options");
    ASSERT_NE(nullptr, options);
    showPage(options, 3);
    HWND list = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (list = descendant(options, kConfirmations)) != nullptr; }));
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(kUnselectAll, BN_CLICKED), 0);
    showPage(options, 0);
    EXPECT_TRUE(waitUntil([&] { return terminal.stored("Confirm") == test::RegValue{REG_BINARY, std::string(7, '\0')}; }))
        << "stored as the page was left";
    ASSERT_TRUE(test::answerBox(options, IDCANCEL));
    command(frame, kStart);
    EXPECT_TRUE(waitUntil([] { return mutexExists("KZOMutexUsr"); })) << "started without a question";
    closeTerminal(frame);
    EXPECT_EQ(std::string(7, '\0'), terminal.stored("Confirm").bytes);
}

}  // namespace
}  // namespace kzo
