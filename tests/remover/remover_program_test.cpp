// remover.exe run for real under Wine in a fake installation folder: the
// production registry keys, a running User Scheduler, a stand-in Terminal
// window, the Start-menu folder and the desktop shortcut.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "program_driver.h"
#include "test_registry.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::ChildProcess;
using test::RegKey;

const char* const kCaption = "KZO Scheduler 6 Uninstall";
const char* const kProductKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4";
const char* const kUninstallEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KZO Scheduler";
const char* const kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunServicesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices";

bool keyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Removes the value if it is there.
void deleteValue(HKEY root, const char* path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

std::string shellFolder(int csidl) {
    char path[MAX_PATH] = "";
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE)) << csidl;
    return path;
}

// A top-level window titled as the Terminal's main window that never closes,
// counting the WM_CLOSE it gets; its own thread pumps its messages.
class StubbornTerminal {
public:
    StubbornTerminal() {
        thread_ = std::thread([this] { run(); });
        EXPECT_TRUE(test::waitUntil([this] { return window_.load() != nullptr; }));
    }
    ~StubbornTerminal() {
        PostMessageA(window_.load(), WM_QUIT, 0, 0);
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    int closes() const { return closes_.load(); }
    HWND window() const { return window_.load(); }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<StubbornTerminal*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_CLOSE && self) {
            ++self->closes_;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    void run() {
        threadId_ = GetCurrentThreadId();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KZOTestStubbornTerminal";
        RegisterClassA(&windowClass);
        HWND window = CreateWindowA(windowClass.lpszClassName, "KZO Scheduler 6", WS_OVERLAPPEDWINDOW, 0, 0,
                                    200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        window_ = window;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        DestroyWindow(window);
    }

    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<int> closes_{0};
    DWORD threadId_ = 0;
};

class RemoverProgram : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("KZO_RECORDER_LOG", recorderLog.c_str());
        ASSERT_TRUE(CreateDirectoryA(install.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA(test::buildTreeProgram("..\\remover\\remover.exe").c_str(), remover.c_str(), FALSE));
        // The suite's registry items, and SOFTWARE\Veldmark with a value of
        // another product in both hives.
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            RegKey(root, "SOFTWARE\\Veldmark").setDword("OtherProduct", 1);
            RegKey(root, kProductKey).sub("Scheduler").setDword("Active", 1);
        }
        RegKey(HKEY_CURRENT_USER, kProductKey).sub("Terminal").setDword("Hlp", 1);
        RegKey(HKEY_CURRENT_USER, kProductKey).sub("ToolBar-Bar3").setDword("BarID", 3);
        RegKey(HKEY_CURRENT_USER, kProductKey).sub("ToolBar-Summary").setDword("Bars", 1);
        RegKey(HKEY_CURRENT_USER, kRunKey).setString("KZOScheduler", "\"" + install + "\\tickr.exe\"");
        RegKey(HKEY_LOCAL_MACHINE, kRunServicesKey).setString("KZOScheduler", "\"" + install + "\\tickr.exe\" /s");
        // The Start-menu folder and the desktop shortcut.
        ASSERT_TRUE(CreateDirectoryA(startMenu.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        test::writeFile(startMenu + "\\KZO Terminal.lnk", "link");
        test::writeFile(startMenu + "\\Uninstall.lnk", "link");
        test::writeFile(desktopLink, "link");
    }
    void TearDown() override {
        test::closeOwnBoxes();
        SetEnvironmentVariableA("KZO_RECORDER_LOG", nullptr);
        DeleteFileA(desktopLink.c_str());
        DeleteFileA((startMenu + "\\KZO Terminal.lnk").c_str());
        DeleteFileA((startMenu + "\\Uninstall.lnk").c_str());
        RemoveDirectoryA(startMenu.c_str());
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            test::removeKeyTree(root, kProductKey);
            deleteValue(root, "SOFTWARE\\Veldmark", "OtherProduct");
        }
        test::removeKeyTree(HKEY_LOCAL_MACHINE, kUninstallEntry);
        deleteValue(HKEY_CURRENT_USER, kRunKey, "KZOScheduler");
        deleteValue(HKEY_LOCAL_MACHINE, kRunServicesKey, "KZOScheduler");
    }

    void registerInstallation(const std::string& folder) {
        RegKey(HKEY_LOCAL_MACHINE, kUninstallEntry).setString("UninstallString", "\"" + folder + "\\remover.exe\"");
        RegKey(HKEY_LOCAL_MACHINE, kUninstallEntry).setString("DisplayName", "KZO Scheduler");
    }
    void installFile(const std::string& name, const std::string& bytes = "x") {
        test::writeFile(install + "\\" + name, bytes);
    }
    // The argument recorder as the System Executor of the folder.
    void installServiceStandIn() {
        ASSERT_TRUE(CopyFileA(test::buildTreeProgram("argument_recorder.exe").c_str(),
                              (install + "\\tickrnt.exe").c_str(), FALSE));
    }

    std::unique_ptr<ChildProcess> start() { return std::make_unique<ChildProcess>(test::quoted(remover), install); }
    // Starts the uninstaller and answers its question.
    std::unique_ptr<ChildProcess> startAndAnswer(int button) {
        auto process = start();
        EXPECT_NE("(no box", test::readAndAnswerBox(process->pid(), kCaption, button).substr(0, 7));
        return process;
    }

    bool suiteRegistryPresent() const {
        return keyExists(HKEY_CURRENT_USER, kProductKey) || keyExists(HKEY_LOCAL_MACHINE, kProductKey) ||
               keyExists(HKEY_LOCAL_MACHINE, kUninstallEntry) ||
               RegKey(HKEY_CURRENT_USER, kRunKey).stored("KZOScheduler").type != 0 ||
               RegKey(HKEY_LOCAL_MACHINE, kRunServicesKey).stored("KZOScheduler").type != 0;
    }
    void expectMakersKeyKept() const {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            EXPECT_EQ(1u, RegKey(root, "SOFTWARE\\Veldmark").dword("OtherProduct").value_or(0));
    }
    bool shortcutsPresent() const {
        return test::fileExists(startMenu) || test::fileExists(desktopLink);
    }

    test::TempDir dir;
    std::string install = dir.file("KZO");
    std::string remover = install + "\\remover.exe";
    std::string recorderLog = dir.file("recorder.log");
    std::string startMenu = shellFolder(CSIDL_PROGRAMS) + "\\KZO Scheduler";
    std::string desktopLink = shellFolder(CSIDL_DESKTOP) + "\\KZO Terminal.lnk";
};

TEST_F(RemoverProgram, AnsweredNoChangesNothing) {
    registerInstallation(install);
    installFile("kzo.exe");
    installServiceStandIn();
    auto process = start();
    EXPECT_EQ(
        "Do you want to uninstall the KZO Scheduler ?\r\n\n\x95   You must have enough privileges to uninstall "
        "System Scheduler under Windows NT/2000.\r\n\x95   Uninstall will DELETE ALL files in the KZO Scheduler "
        "folder.|",
        test::readAndAnswerBox(process->pid(), kCaption, IDNO));
    EXPECT_EQ(1u, process->waitForExit().value_or(999));

    EXPECT_TRUE(test::fileExists(install + "\\kzo.exe"));
    EXPECT_TRUE(suiteRegistryPresent());
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, std::string(kProductKey) + "\\ToolBar-Bar3"));
    EXPECT_TRUE(test::fileExists(startMenu + "\\Uninstall.lnk"));
    EXPECT_TRUE(test::fileExists(desktopLink));
    EXPECT_FALSE(test::fileExists(recorderLog)) << "the service was removed";
}

TEST_F(RemoverProgram, AnsweredYesRemovesTheInstallation) {
    registerInstallation(install);
    for (const char* name : {"kzo.exe", "kzo.hlp", "whatsnew.txt", "kzo.pro"}) installFile(name);
    installServiceStandIn();
    ASSERT_TRUE(CreateDirectoryA((install + "\\Schedules").c_str(), nullptr));
    test::writeFile(install + "\\Schedules\\mine.jsf", "");

    // A running User Scheduler, and a Terminal window that never closes.
    std::string schedule = dir.file("user.jsf");
    test::writeSchedule(schedule, {});
    RegKey(HKEY_CURRENT_USER, kProductKey).sub("Scheduler").setString("DAT", schedule);
    ChildProcess executor(test::quoted(test::buildTreeProgram("..\\tray\\tickr.exe")));
    ASSERT_NE(nullptr, test::waitForWindow(executor.pid(), "KZOClass", "KZO Window", false));
    StubbornTerminal terminal;

    std::uint64_t start = test::nowMs();
    auto process = startAndAnswer(IDYES);
    EXPECT_EQ(0u, process->waitForExit(60000).value_or(999));
    EXPECT_LT(test::nowMs() - start, 30000u) << "the stubborn window held the uninstaller up";

    EXPECT_EQ(0u, executor.waitForExit().value_or(999)) << "the User Scheduler was not stopped";
    EXPECT_GE(terminal.closes(), 1);
    EXPECT_LE(terminal.closes(), 100);
    EXPECT_NE(std::string::npos, test::readFile(recorderLog).find("tickrnt.exe\" /u"))
        << test::readFile(recorderLog);

    for (const char* name : {"kzo.exe", "kzo.hlp", "whatsnew.txt", "kzo.pro", "tickrnt.exe"})
        EXPECT_FALSE(test::fileExists(install + "\\" + name)) << name;
    EXPECT_TRUE(test::fileExists(install + "\\Schedules\\mine.jsf")) << "a subfolder's file went";
    EXPECT_TRUE(test::fileExists(remover)) << "the running uninstaller's file is left for the restart";
    EXPECT_FALSE(suiteRegistryPresent());
    expectMakersKeyKept();
    EXPECT_FALSE(shortcutsPresent());
}

TEST_F(RemoverProgram, AFolderThatIsNotTheInstallationKeepsItsFiles) {
    // The entry names another folder: a copy of the uninstaller in Downloads.
    std::string other = dir.file("Program Files KZO");
    registerInstallation(other);
    installFile("notes.txt");
    installFile("kzo.exe");
    auto process = startAndAnswer(IDYES);
    std::string warning = test::readAndAnswerBox(process->pid(), kCaption, IDOK);
    EXPECT_NE(std::string::npos, warning.find(install)) << warning;
    EXPECT_NE(std::string::npos, warning.find("No file in this folder is deleted.")) << warning;
    EXPECT_EQ(0u, process->waitForExit().value_or(999));

    EXPECT_TRUE(test::fileExists(install + "\\notes.txt"));
    EXPECT_TRUE(test::fileExists(install + "\\kzo.exe"));
    // The rest is done all the same.
    EXPECT_FALSE(suiteRegistryPresent());
    expectMakersKeyKept();
    EXPECT_FALSE(shortcutsPresent());
}

TEST_F(RemoverProgram, WithoutTheEntryOnlyAFolderOfTheSuiteIsEmptied) {
    installFile("notes.txt");
    auto process = startAndAnswer(IDYES);
    EXPECT_NE("(no box", test::readAndAnswerBox(process->pid(), kCaption, IDOK).substr(0, 7));
    EXPECT_EQ(0u, process->waitForExit().value_or(999));
    EXPECT_TRUE(test::fileExists(install + "\\notes.txt"));

    installFile("tickr.exe");
    process = startAndAnswer(IDYES);
    EXPECT_EQ(0u, process->waitForExit().value_or(999));
    EXPECT_FALSE(test::fileExists(install + "\\notes.txt"));
    EXPECT_FALSE(test::fileExists(install + "\\tickr.exe"));
}

TEST_F(RemoverProgram, OnWindows98NoServiceIsRemoved) {
    test::SavedKey version(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\remover.exe");
    version.setString("Version", "win98");
    registerInstallation(install);
    installFile("kzo.exe");
    installServiceStandIn();
    auto process = startAndAnswer(IDYES);
    EXPECT_EQ(0u, process->waitForExit(30000).value_or(999));

    EXPECT_FALSE(test::fileExists(recorderLog)) << test::readFile(recorderLog);
    EXPECT_FALSE(test::fileExists(install + "\\kzo.exe"));
    EXPECT_FALSE(suiteRegistryPresent());
    expectMakersKeyKept();
}

}  // namespace
}  // namespace kzo
