// setup.exe from the release folder (make dist) driven through its wizard in a
// Wine prefix of its own: the installation into C:\Program Files\KZO, a
// second one over it, the refusals on the way, and the uninstaller after it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <memory>
#include <string>
#include <vector>

#include "program_driver.h"
#include "resource.h"
#include "test_registry.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::ChildProcess;
using test::RegKey;

const std::string kInstall = "C:\\Program Files\\KZO";
const char* const kProductKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4";
const char* const kSchedulerKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler";
const char* const kUninstallEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KZO Scheduler";
const char* const kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kStep1 = "KZO Scheduler 6 Setup (Step 1 of 3)";
const char* const kStep2 = "KZO Scheduler 6 Setup (Step 2 of 3)";
const char* const kFinal = "KZO Scheduler 6 Setup (Final step)";

std::string releaseFolder() { return test::buildTreeProgram("..\\dist"); }

std::string shellFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE);
    return path;
}

std::vector<std::string> fileNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// The target of a shell link, as its file stores it.
std::string linkTarget(const std::string& link) {
    std::string target = "(unreadable)";
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return target;
    IPersistFile* file = nullptr;
    std::wstring path(link.begin(), link.end());
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        char buffer[MAX_PATH] = "";
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH)))
            target = buffer;
        file->Release();
    }
    shellLink->Release();
    return target;
}

// The service's state, 0 when there is no service.
DWORD serviceState() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, "KZO Scheduler", SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS status = {};
    if (service) QueryServiceStatus(service, &status);
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return status.dwCurrentState;
}

// setup.exe running, and its wizard.
class Wizard {
public:
    // Started in currentFolder (empty: the test's own).
    explicit Wizard(const std::string& currentFolder = "")
        : process_(test::quoted(releaseFolder() + "\\setup.exe"), currentFolder) {
        sheet_ = test::waitForWindow(process_.pid(), "#32770", kStep1, true);
        EXPECT_NE(nullptr, sheet_) << "no wizard";
    }
    DWORD pid() const { return process_.pid(); }
    ChildProcess& process() { return process_; }
    void press(int button) { PostMessageA(sheet_, PSM_PRESSBUTTON, button, 0); }
    // Waits for the page of this caption (installing may take a while).
    bool shows(const char* caption) {
        return test::waitUntil([&] { return title() == caption; }, 60000);
    }
    std::string title() const {
        char text[256] = "";
        GetWindowTextA(sheet_, text, sizeof text);
        return text;
    }
    HWND control(int id) const {
        auto page = reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
        return GetDlgItem(page, id);
    }
    // Next, Next with the System Scheduler as asked, up to the last page.
    void install(bool systemScheduler) {
        press(PSBTN_NEXT);
        ASSERT_TRUE(shows(kStep2)) << title();
        SendMessageA(control(IDC_SYSTEM_SCHEDULER), BM_SETCHECK, systemScheduler ? BST_CHECKED : BST_UNCHECKED, 0);
        press(PSBTN_NEXT);
        ASSERT_TRUE(shows(kFinal)) << title();
    }
    // Types the install folder on the first page.
    void typeFolder(const char* folder) {
        SendMessageA(control(IDC_FOLDER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder));
    }
    void finish() {
        press(PSBTN_FINISH);
        EXPECT_EQ(0u, process_.waitForExit(30000).value_or(999));
    }

private:
    ChildProcess process_;
    HWND sheet_ = nullptr;
};

class SetupProgram : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        test::writeSchedule(userSchedule, {});
    }
    void TearDown() override {
        removeEverything();
        CoUninitialize();
    }

    // A user schedule, so that the User Scheduler started at Finish does not
    // open the Terminal to ask for one.
    void giveTheUserASchedule() { RegKey(HKEY_CURRENT_USER, kSchedulerKey).setString("DAT", userSchedule); }

    void expectInstalledFiles() {
        std::vector<std::string> names = fileNames(releaseFolder());
        ASSERT_EQ(13u, names.size());
        for (const std::string& name : names) {
            if (lstrcmpiA(name.c_str(), "setup.exe") == 0) continue;
            EXPECT_EQ(test::readFile(releaseFolder() + "\\" + name), test::readFile(kInstall + "\\" + name)) << name;
        }
        EXPECT_FALSE(test::fileExists(kInstall + "\\setup.exe"));
    }
    void expectUserValuesReset() {
        RegKey scheduler(HKEY_CURRENT_USER, kSchedulerKey);
        EXPECT_EQ(1u, scheduler.dword("Active").value_or(9));
        EXPECT_EQ(1u, scheduler.dword("AutoStart").value_or(9));
        EXPECT_EQ(0u, scheduler.dword("Warn").value_or(9));
        EXPECT_EQ(0u, scheduler.stored("DAT").type) << "the user's schedule file was kept";
    }
    void expectShortcuts() {
        const std::string menu = shellFolder(CSIDL_PROGRAMS) + "\\KZO Scheduler\\";
        const char* const links[][2] = {{"KZO Terminal.lnk", "kzo.exe"},
                                        {"KZO Scheduler Help.lnk", "kzo.hlp"},
                                        {"KZO Scheduler Help (HTML).lnk", "kzo.chm"},
                                        {"Uninstall.lnk", "remover.exe"},
                                        {"WhatsNew.lnk", "whatsnew.txt"}};
        EXPECT_EQ(std::size(links), fileNames(menu).size());
        for (const auto& link : links)
            EXPECT_EQ(0, lstrcmpiA((kInstall + "\\" + link[1]).c_str(), linkTarget(menu + link[0]).c_str()))
                << link[0] << " -> " << linkTarget(menu + link[0]);
        std::string desktop = linkTarget(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\KZO Terminal.lnk");
        EXPECT_EQ(0, lstrcmpiA((kInstall + "\\kzo.exe").c_str(), desktop.c_str())) << desktop;
    }
    bool schedulersRun() const { return test::mutexExists("KZOMutexUsr") && serviceState() == SERVICE_RUNNING; }

    // Ends what an installation started and removes what it left: the
    // prefix is this program's own, so everything of the suite goes.
    void removeEverything() {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
            for (const char* name : {"setup.exe", "tickr.exe", "tickrnt.exe", "kzo.exe", "remover.exe"}) {
                if (lstrcmpiA(entry.szExeFile, name) != 0) continue;
                if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
                    TerminateProcess(process, 99);
                    WaitForSingleObject(process, 5000);
                    CloseHandle(process);
                }
            }
        }
        CloseHandle(snapshot);
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (SC_HANDLE service = OpenServiceA(manager, "KZO Scheduler", DELETE)) {
            DeleteService(service);
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
        for (const std::string& folder : {kInstall, shellFolder(CSIDL_PROGRAMS) + "\\KZO Scheduler"}) {
            for (const std::string& name : fileNames(folder)) DeleteFileA((folder + "\\" + name).c_str());
            RemoveDirectoryA(folder.c_str());
        }
        DeleteFileA((shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\KZO Terminal.lnk").c_str());
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) test::removeKeyTree(root, kProductKey);
        test::removeKeyTree(HKEY_LOCAL_MACHINE, kUninstallEntry);
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "KZOScheduler");
            RegCloseKey(run);
        }
    }

    test::TempDir dir;
    std::string userSchedule = dir.file("user.jsf");
};

TEST_F(SetupProgram, NextNextFinishInstallsTheUserScheduler) {
    Wizard wizard;
    EXPECT_NE(nullptr, test::waitForWindow(wizard.pid(), "KZOSCDInstallWnd", "KZO Scheduler Setup", true));
    char folder[MAX_PATH] = "";
    SendMessageA(wizard.control(IDC_FOLDER), WM_GETTEXT, sizeof folder, reinterpret_cast<LPARAM>(folder));
    EXPECT_EQ(kInstall, folder);
    wizard.install(false);

    expectInstalledFiles();
    expectUserValuesReset();
    EXPECT_EQ(test::RegValue::string("\"" + kInstall + "\\tickr.exe\""),
              RegKey(HKEY_CURRENT_USER, kRunKey).stored("KZOScheduler"));
    RegKey entry(HKEY_LOCAL_MACHINE, kUninstallEntry);
    EXPECT_EQ(test::RegValue::string("\"" + kInstall + "\\remover.exe\""), entry.stored("UninstallString"));
    EXPECT_EQ(test::RegValue::string("KZO Scheduler"), entry.stored("DisplayName"));
    EXPECT_EQ(0u, RegKey(HKEY_LOCAL_MACHINE, kSchedulerKey).stored("DAT").type) << "no System Scheduler was chosen";
    EXPECT_EQ(0u, serviceState());
    expectShortcuts();

    giveTheUserASchedule();
    wizard.finish();
    EXPECT_TRUE(test::waitUntil([] { return test::mutexExists("KZOMutexUsr"); })) << "the User Scheduler runs not";
}

TEST_F(SetupProgram, SystemSchedulerOnNtThenASecondInstallOverTheRunningOne) {
    {
        Wizard wizard;
        wizard.install(true);
        RegKey machine(HKEY_LOCAL_MACHINE, kSchedulerKey);
        EXPECT_EQ(test::RegValue::string(kInstall + "\\System.jsf"), machine.stored("DAT"));
        EXPECT_EQ(1u, machine.dword("Active").value_or(9));
        EXPECT_EQ(1u, machine.dword("AutoStart").value_or(9));
        EXPECT_EQ(0u, machine.dword("Warn").value_or(9));
        EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), serviceState()) << "the service is not registered";
        giveTheUserASchedule();
        wizard.finish();
        EXPECT_TRUE(test::waitUntil([&] { return schedulersRun(); }, 20000)) << serviceState();
    }
    // The machine's own schedule and settings, and the user's changes since.
    RegKey(HKEY_LOCAL_MACHINE, kSchedulerKey).setString("DAT", "C:\\Schedules\\machine.jsf");
    RegKey(HKEY_LOCAL_MACHINE, kSchedulerKey).setDword("Warn", 1);
    RegKey(HKEY_LOCAL_MACHINE, kSchedulerKey).setDword("AutoStart", 0);
    RegKey(HKEY_CURRENT_USER, kSchedulerKey).setDword("Active", 0);
    RegKey(HKEY_CURRENT_USER, kSchedulerKey).setDword("Warn", 1);

    // Over the running schedulers: they are stopped and their files replaced.
    DWORD executorPid = 0;
    GetWindowThreadProcessId(FindWindowA("KZOClass", "KZO Window"), &executorPid);
    HANDLE executor = OpenProcess(SYNCHRONIZE, FALSE, executorPid);
    ASSERT_NE(nullptr, executor);
    Wizard wizard;
    wizard.install(true);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(executor, 0)) << "the User Scheduler was not stopped";
    CloseHandle(executor);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), serviceState());
    expectInstalledFiles();
    expectUserValuesReset();
    RegKey machine(HKEY_LOCAL_MACHINE, kSchedulerKey);
    EXPECT_EQ(test::RegValue::string("C:\\Schedules\\machine.jsf"), machine.stored("DAT"));
    EXPECT_EQ(1u, machine.dword("Warn").value_or(9));
    EXPECT_EQ(0u, machine.dword("AutoStart").value_or(9));
    giveTheUserASchedule();
    wizard.finish();
    EXPECT_TRUE(test::waitUntil([&] { return schedulersRun(); }, 20000)) << serviceState();
}

TEST_F(SetupProgram, RefusesAnEmptyFolderStaysAfterAFailedCopyAndCancelsOnYes) {
    test::writeFile("C:\\kzo-not-a-folder", "a file where the folder should be");
    Wizard wizard;
    wizard.typeFolder("    ");
    wizard.press(PSBTN_NEXT);
    EXPECT_EQ("Install folder was not specified.\t |", test::readAndAnswerBox(wizard.pid(), "Error"));
    EXPECT_EQ(kStep1, wizard.title());
    wizard.typeFolder("\\\\server");
    wizard.press(PSBTN_NEXT);
    EXPECT_EQ("Install folder must be on a drive or a network share.\t |", test::readAndAnswerBox(wizard.pid(), "Error"));
    EXPECT_EQ(kStep1, wizard.title());

    SendMessageA(wizard.control(IDC_FOLDER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\kzo-not-a-folder\\KZO "));
    wizard.press(PSBTN_NEXT);
    ASSERT_TRUE(wizard.shows(kStep2));
    wizard.press(PSBTN_NEXT);
    EXPECT_NE(std::string::npos,
              test::readAndAnswerBox(wizard.pid(), "Error").find("There was an error while copying files."));
    EXPECT_EQ(kStep2, wizard.title());
    EXPECT_EQ(0u, RegKey(HKEY_CURRENT_USER, kRunKey).stored("KZOScheduler").type);

    wizard.press(PSBTN_CANCEL);
    EXPECT_EQ("KZO Scheduler is not completely installed on your computer.\t \r\nAre you sure you want to quit Setup ?|",
              test::readAndAnswerBox(wizard.pid(), "Warning", IDNO));
    EXPECT_EQ(kStep2, wizard.title());
    wizard.press(PSBTN_CANCEL);
    test::readAndAnswerBox(wizard.pid(), "Warning", IDYES);
    EXPECT_EQ(1u, wizard.process().waitForExit().value_or(999));
    DeleteFileA("C:\\kzo-not-a-folder");
}

// A folder typed relative to setup's current folder, or with a dot at its end
// (which Windows drops when it creates the folder), is installed into as the
// one full folder it names: the files, the start at logon, the Uninstall entry
// and the shortcuts agree, and the uninstaller then empties that folder.
TEST_F(SetupProgram, ARelativeFolderOrATrailingDotIsInstalledAsOneFullFolder) {
    const auto expectFullFolderEverywhere = [&] {
        expectInstalledFiles();
        EXPECT_EQ(test::RegValue::string("\"" + kInstall + "\\tickr.exe\""),
                  RegKey(HKEY_CURRENT_USER, kRunKey).stored("KZOScheduler"));
        EXPECT_EQ(test::RegValue::string("\"" + kInstall + "\\remover.exe\""),
                  RegKey(HKEY_LOCAL_MACHINE, kUninstallEntry).stored("UninstallString"));
        expectShortcuts();
    };
    {
        Wizard wizard("C:\\Program Files");
        wizard.typeFolder("KZO");
        wizard.press(PSBTN_NEXT);
        ASSERT_TRUE(wizard.shows(kStep2)) << wizard.title();
        wizard.press(PSBTN_BACK);
        ASSERT_TRUE(wizard.shows(kStep1)) << wizard.title();
        char shown[MAX_PATH] = "";
        SendMessageA(wizard.control(IDC_FOLDER), WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));
        EXPECT_EQ(kInstall, shown);
        wizard.install(false);
        expectFullFolderEverywhere();
        giveTheUserASchedule();
        wizard.finish();
        ASSERT_TRUE(test::waitUntil([] { return test::mutexExists("KZOMutexUsr"); })) << "the User Scheduler runs not";
    }
    {
        Wizard wizard;
        wizard.typeFolder("C:\\Program Files\\KZO. ");
        wizard.install(false);
        expectFullFolderEverywhere();
        giveTheUserASchedule();
        wizard.finish();
        ASSERT_TRUE(test::waitUntil([] { return test::mutexExists("KZOMutexUsr"); })) << "the User Scheduler runs not";
    }
    ChildProcess remover(test::quoted(kInstall + "\\remover.exe"));
    EXPECT_NE("(no box", test::readAndAnswerBox(remover.pid(), "KZO Scheduler 6 Uninstall", IDYES).substr(0, 7));
    EXPECT_EQ(0u, remover.waitForExit(90000).value_or(999));
    EXPECT_EQ(std::vector<std::string>{"remover.exe"}, fileNames(kInstall));
}

TEST_F(SetupProgram, TheUninstallerAnsweredNoKeepsItAllAndYesRemovesIt) {
    {
        Wizard wizard;
        wizard.install(true);
        giveTheUserASchedule();
        wizard.finish();
    }
    ASSERT_TRUE(test::waitUntil([&] { return schedulersRun(); }, 20000)) << serviceState();
    const std::string remover = test::quoted(kInstall + "\\remover.exe");
    const char* const caption = "KZO Scheduler 6 Uninstall";
    {
        ChildProcess process(remover);
        EXPECT_NE("(no box", test::readAndAnswerBox(process.pid(), caption, IDNO).substr(0, 7));
        EXPECT_EQ(1u, process.waitForExit().value_or(999));
    }
    EXPECT_TRUE(schedulersRun());
    expectInstalledFiles();
    EXPECT_EQ(1u, RegKey(HKEY_CURRENT_USER, kSchedulerKey).dword("Active").value_or(9));
    EXPECT_NE(0u, RegKey(HKEY_LOCAL_MACHINE, kUninstallEntry).stored("UninstallString").type);
    expectShortcuts();

    {
        ChildProcess process(remover);
        EXPECT_NE("(no box", test::readAndAnswerBox(process.pid(), caption, IDYES).substr(0, 7));
        EXPECT_EQ(0u, process.waitForExit(90000).value_or(999));
    }
    EXPECT_FALSE(test::mutexExists("KZOMutexUsr"));
    EXPECT_FALSE(test::mutexExists("KZOMutexSysNT"));
    EXPECT_EQ(0u, serviceState());
    // The running uninstaller's own file waits for the next restart.
    EXPECT_EQ(std::vector<std::string>{"remover.exe"}, fileNames(kInstall));
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY key = nullptr;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(root, kProductKey, 0, KEY_READ, &key));
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, "SOFTWARE\\Veldmark", 0, KEY_READ, &key));
        RegCloseKey(key);
    }
    EXPECT_EQ(0u, RegKey(HKEY_LOCAL_MACHINE, kUninstallEntry).stored("UninstallString").type);
    EXPECT_EQ(0u, RegKey(HKEY_CURRENT_USER, kRunKey).stored("KZOScheduler").type);
    EXPECT_FALSE(test::fileExists(shellFolder(CSIDL_PROGRAMS) + "\\KZO Scheduler"));
    EXPECT_FALSE(test::fileExists(shellFolder(CSIDL_DESKTOPDIRECTORY) + "\\KZO Terminal.lnk"));
}

// Right after an installation for a user without a schedule file: the User
// Scheduler that Finish starts opens the Terminal, which asks for one in its
// first-run dialog, and waits for the choice. The uninstaller run then closes
// both and removes every file.
TEST_F(SetupProgram, TheUninstallerRightAfterSetupClosesTheTerminalThatAsksForASchedule) {
    {
        Wizard wizard;
        wizard.install(false);
        wizard.finish();
    }
    ASSERT_TRUE(test::waitUntil([] { return test::mutexExists("KZOTERMINAL"); }, 20000)) << "no Terminal";
    ASSERT_TRUE(test::waitUntil([] { return FindWindowA("#32770", "KZO Scheduler") != nullptr; }, 20000))
        << "no first-run dialog";
    ASSERT_TRUE(test::mutexExists("KZOMutexUsr"));

    ChildProcess process(test::quoted(kInstall + "\\remover.exe"));
    EXPECT_NE("(no box", test::readAndAnswerBox(process.pid(), "KZO Scheduler 6 Uninstall", IDYES).substr(0, 7));
    HWND error = nullptr;
    EXPECT_TRUE(test::waitUntil(
        [&] { return !process.running() || (error = test::waitForBox(process.pid(), "Error", 0)) != nullptr; },
        60000));
    EXPECT_EQ(nullptr, error) << test::boxText(error);
    if (error) test::answerBox(error, IDOK);
    EXPECT_EQ(0u, process.waitForExit(30000).value_or(999));

    EXPECT_FALSE(test::mutexExists("KZOTERMINAL")) << "the Terminal runs on";
    EXPECT_FALSE(test::mutexExists("KZOMutexUsr")) << "the User Scheduler runs on";
    EXPECT_EQ(std::vector<std::string>{"remover.exe"}, fileNames(kInstall));
}

}  // namespace
}  // namespace kzo
