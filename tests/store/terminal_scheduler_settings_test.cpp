// The Terminal's read and write of the user and the system scheduler settings,
// with their autostart entries, on the real registry and service manager under
// Wine (scratch keys, scratch services).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "terminal_scheduler_settings.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

std::string uniqueName(const char* stem) {
    static int serial = 0;
    return std::string(stem) + " " + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial);
}

// A value as stored: its type and its bytes; type 0 and no bytes when absent.
struct Stored {
    DWORD type = 0;
    std::string bytes;
};

Stored stored(const std::string& subkey, const char* name) {
    Stored s;
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return s;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &s.type, nullptr, &size) != ERROR_SUCCESS)
        return Stored{};
    s.bytes.resize(size);
    RegQueryValueExA(key.get(), name, nullptr, &s.type, reinterpret_cast<BYTE*>(&s.bytes[0]), &size);
    return s;
}

Stored dwordValue(DWORD value) {
    Stored s;
    s.type = REG_DWORD;
    s.bytes.assign(reinterpret_cast<const char*>(&value), sizeof value);
    return s;
}

Stored stringValue(const std::string& text) {
    Stored s;
    s.type = REG_SZ;
    s.bytes = text + '\0';
    return s;
}

void expectStored(const Stored& expected, const std::string& subkey, const char* name) {
    Stored actual = stored(subkey, name);
    EXPECT_EQ(expected.type, actual.type) << name;
    EXPECT_EQ(expected.bytes, actual.bytes) << name;
}

void setDword(const std::string& subkey, const char* name, DWORD value) {
    UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.get(), name, 0, REG_DWORD,
                                            reinterpret_cast<const BYTE*>(&value), sizeof value));
}

void setText(const std::string& subkey, const char* name, const std::string& value) {
    UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)));
}

void deleteValue(const std::string& subkey, const char* name) {
    UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_SET_VALUE, key.put()));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(key.get(), name));
}

// A service registered under a scratch name with the given start type; deleted
// at the end.
class ScratchService {
public:
    explicit ScratchService(DWORD startType) : name_(uniqueName("KZO Test Service")) {
        UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        EXPECT_TRUE(manager) << GetLastError();
        UniqueService service(CreateServiceA(
            manager.get(), name_.c_str(), name_.c_str(), SERVICE_ALL_ACCESS,
            SERVICE_WIN32_OWN_PROCESS, startType, SERVICE_ERROR_NORMAL,
            "\"C:\\windows\\kzo-test-service.exe\"", nullptr, nullptr, nullptr, nullptr, nullptr));
        EXPECT_TRUE(service) << GetLastError();
    }
    ~ScratchService() {
        UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        UniqueService service(OpenServiceA(manager.get(), name_.c_str(), DELETE));
        if (service) DeleteService(service.get());
    }
    const char* name() const { return name_.c_str(); }
    DWORD startType() const {
        std::uint32_t type = 0;
        EXPECT_EQ(0u, queryServiceStartType(name_.c_str(), type));
        return type;
    }

private:
    std::string name_;
};

// --- Reading -----------------------------------------------------------------

TEST(TerminalSettingsRead, AMissingKeyGivesTheTerminalsDefaults) {
    test::ScratchKey scratch;
    TerminalSchedulerSettings s;
    s.dat = "C:\\KZO\\User.jsf";  // the Terminal's proposed name
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND),
              readTerminalUserSettings(s, HKEY_CURRENT_USER, scratch.path().c_str()));
    EXPECT_EQ("C:\\KZO\\User.jsf", s.dat);
    EXPECT_TRUE(s.repErr);
    EXPECT_TRUE(s.autoStart);
    EXPECT_TRUE(s.oneInst);
    EXPECT_TRUE(s.active);
    EXPECT_TRUE(s.topMost);
    EXPECT_FALSE(s.warn || s.logF || s.ampm || s.actDlg);
    EXPECT_EQ(10, s.refreshTime);
}

TEST(TerminalSettingsRead, FileNamesReplaceTheCallersOnlyWhenFound) {
    test::ScratchKey scratch;
    const std::string& key = scratch.path();
    setText(key, "DAT", "   ");
    setDword(key, "LogF", 1);
    setDword(key, "RefreshTime", 0);
    setDword(key, "RepErr", 0);
    setDword(key, "OneInst", 0);
    TerminalSchedulerSettings s;
    s.dat = "C:\\KZO\\User.jsf";
    s.log = "C:\\KZO\\old.log";
    ASSERT_EQ(0u, readTerminalUserSettings(s, HKEY_CURRENT_USER, key.c_str()));
    EXPECT_EQ("C:\\KZO\\User.jsf", s.dat) << "DAT of blanks";
    EXPECT_FALSE(s.logF) << "no LOG";
    EXPECT_EQ(10, s.refreshTime);
    EXPECT_FALSE(s.repErr);
    EXPECT_FALSE(s.oneInst);

    std::string longName(1299, 'n');
    setText(key, "DAT", longName);
    setText(key, "LOG", " D:\\usr.log ");
    setDword(key, "RefreshTime", 61);
    deleteValue(key, "RepErr");
    ASSERT_EQ(0u, readTerminalUserSettings(s, HKEY_CURRENT_USER, key.c_str()));
    EXPECT_EQ(longName, s.dat) << "the Terminal reads up to 1299 characters";
    EXPECT_EQ("D:\\usr.log", s.log);
    EXPECT_TRUE(s.logF);
    EXPECT_EQ(10, s.refreshTime);
    EXPECT_TRUE(s.repErr) << "a value removed from the key since takes its default again";

    setText(key, "DAT", std::string(1300, 'n'));
    s.dat = "C:\\KZO\\User.jsf";
    readTerminalUserSettings(s, HKEY_CURRENT_USER, key.c_str());
    EXPECT_EQ("C:\\KZO\\User.jsf", s.dat) << "1300 characters do not fit";
}

// --- Writing the user set ----------------------------------------------------

TEST(TerminalSettingsWrite, TheUserSetRoundTripsWithItsTypes) {
    test::ScratchKey scratch;
    std::string key = scratch.sub("Scheduler");
    std::string run = scratch.sub("Run");
    TerminalSchedulerSettings s;
    s.dat = "C:\\Sched\\user.jsf";
    s.log = "%TEMP%\\usr.log";
    s.wav = "";
    s.logF = true;
    s.active = false;
    s.warn = true;
    s.repErr = false;
    s.ampm = true;
    s.topMost = false;
    s.actDlg = true;
    s.refreshTime = 45;
    s.autoStart = false;
    s.oneInst = false;
    ASSERT_EQ(0u, writeTerminalUserSettings(s, "C:\\KZO", HKEY_CURRENT_USER, key.c_str(), run.c_str()));

    expectStored(stringValue("C:\\Sched\\user.jsf"), key, "DAT");
    expectStored(stringValue("%TEMP%\\usr.log"), key, "LOG");
    expectStored(stringValue(""), key, "WAV");
    expectStored(dwordValue(1), key, "LogF");
    expectStored(dwordValue(0), key, "Active");
    expectStored(dwordValue(1), key, "Warn");
    expectStored(dwordValue(0), key, "RepErr");
    expectStored(dwordValue(1), key, "AMPM");
    expectStored(dwordValue(0), key, "TopMost");
    expectStored(dwordValue(1), key, "ActDlg");
    expectStored(dwordValue(45), key, "RefreshTime");
    expectStored(dwordValue(0), key, "AutoStart");
    expectStored(dwordValue(0), key, "OneInst");
    expectStored(Stored{}, key, "NoIcon");
    expectStored(Stored{}, key, "Hlp");

    TerminalSchedulerSettings back;
    ASSERT_EQ(0u, readTerminalUserSettings(back, HKEY_CURRENT_USER, key.c_str()));
    EXPECT_EQ(s.dat, back.dat);
    EXPECT_EQ(s.log, back.log);
    EXPECT_EQ(s.logF, back.logF);
    EXPECT_EQ(s.active, back.active);
    EXPECT_EQ(s.refreshTime, back.refreshTime);
    EXPECT_EQ(s.autoStart, back.autoStart);
    EXPECT_EQ(s.oneInst, back.oneInst);
}

TEST(TerminalSettingsWrite, AutoStartSetsAndRemovesTheUsersRunEntry) {
    test::ScratchKey scratch;
    std::string key = scratch.sub("Scheduler");
    std::string run = scratch.sub("Run");
    TerminalSchedulerSettings s;
    s.dat = "C:\\a.jsf";

    s.autoStart = false;
    EXPECT_EQ(0u, writeTerminalUserSettings(s, "C:\\Program Files\\KZO\\", HKEY_CURRENT_USER,
                                            key.c_str(), run.c_str()))
        << "removing an entry that is not there";
    s.autoStart = true;
    ASSERT_EQ(0u, writeTerminalUserSettings(s, "C:\\Program Files\\KZO\\", HKEY_CURRENT_USER,
                                            key.c_str(), run.c_str()));
    expectStored(stringValue("\"C:\\Program Files\\KZO\\tickr.exe\""), run, "KZOScheduler");
    ASSERT_EQ(0u, writeTerminalUserSettings(s, "C:\\Program Files\\KZO", HKEY_CURRENT_USER,
                                            key.c_str(), run.c_str()));
    expectStored(stringValue("\"C:\\Program Files\\KZO\\tickr.exe\""), run, "KZOScheduler");
    s.autoStart = false;
    ASSERT_EQ(0u, writeTerminalUserSettings(s, "C:\\Program Files\\KZO\\", HKEY_CURRENT_USER,
                                            key.c_str(), run.c_str()));
    expectStored(Stored{}, run, "KZOScheduler");
}

TEST(TerminalSettingsWrite, TheRunEntryIsKeptUpEvenWhenTheSettingsKeyCannotBeCreated) {
    test::ScratchKey scratch;
    std::string key = scratch.volatileSub("Volatile") + "\\Scheduler";
    std::string run = scratch.sub("Run");
    TerminalSchedulerSettings s;
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_CHILD_MUST_BE_VOLATILE),
              writeTerminalUserSettings(s, "C:\\KZO", HKEY_CURRENT_USER, key.c_str(), run.c_str()));
    expectStored(stringValue("\"C:\\KZO\\tickr.exe\""), run, "KZOScheduler");
}

// --- The system set on the NT family -----------------------------------------

TEST(TerminalSystemSettings, AutoStartIsTheServicesStartType) {
    test::ScratchKey scratch;
    std::string key = scratch.sub("Scheduler");
    std::string runServices = scratch.sub("RunServices");
    ScratchService service(SERVICE_DEMAND_START);

    TerminalSchedulerSettings s;
    s.dat = "C:\\KZO\\System.jsf";
    s.autoStart = true;
    ASSERT_EQ(0u, writeTerminalSystemSettings(s, "C:\\KZO\\", HKEY_CURRENT_USER, key.c_str(),
                                              service.name(), runServices.c_str()));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), service.startType());
    expectStored(dwordValue(1), key, "AutoStart");
    expectStored(Stored{}, key, "OneInst");
    expectStored(Stored{}, runServices, "KZOScheduler");

    // The stored value says no; the service says automatic.
    setDword(key, "AutoStart", 0);
    TerminalSchedulerSettings read;
    ASSERT_EQ(0u, readTerminalSystemSettings(read, HKEY_CURRENT_USER, key.c_str(), service.name()));
    EXPECT_TRUE(read.autoStart);
    EXPECT_EQ("C:\\KZO\\System.jsf", read.dat);

    s.autoStart = false;
    ASSERT_EQ(0u, writeTerminalSystemSettings(s, "C:\\KZO\\", HKEY_CURRENT_USER, key.c_str(),
                                              service.name(), runServices.c_str()));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), service.startType());
    setDword(key, "AutoStart", 1);
    ASSERT_EQ(0u, readTerminalSystemSettings(read, HKEY_CURRENT_USER, key.c_str(), service.name()));
    EXPECT_FALSE(read.autoStart);
}

TEST(TerminalSystemSettings, AMissingServiceIsReportedAndReadsAsNoAutoStart) {
    test::ScratchKey scratch;
    std::string key = scratch.sub("Scheduler");
    std::string missing = uniqueName("KZO No Such Service");
    TerminalSchedulerSettings s;
    s.dat = "C:\\KZO\\System.jsf";
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_SERVICE_DOES_NOT_EXIST),
              writeTerminalSystemSettings(s, "C:\\KZO\\", HKEY_CURRENT_USER, key.c_str(),
                                          missing.c_str(), scratch.sub("RunServices").c_str()));
    expectStored(stringValue("C:\\KZO\\System.jsf"), key, "DAT");
    TerminalSchedulerSettings read;
    readTerminalSystemSettings(read, HKEY_CURRENT_USER, key.c_str(), missing.c_str());
    EXPECT_FALSE(read.autoStart);
}

TEST(TerminalSystemSettings, AKeyThatCannotBeCreatedIsError1011AfterTheAutostartStep) {
    test::ScratchKey scratch;
    std::string key = scratch.volatileSub("Volatile") + "\\Scheduler";
    ScratchService service(SERVICE_DEMAND_START);
    TerminalSchedulerSettings s;
    s.autoStart = true;
    EXPECT_EQ(1011u, writeTerminalSystemSettings(s, "C:\\KZO\\", HKEY_CURRENT_USER, key.c_str(),
                                                 service.name(), scratch.sub("RunServices").c_str()));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), service.startType())
        << "the autostart step still ran";
}

// --- The system set on 95/98/Me ----------------------------------------------

// Runs the helper program as a 95/98/Me program and returns its exit code.
class Win98Helper : public ::testing::Test {
protected:
    static constexpr const char* kExe = "settings_win98_helper.exe";

    void SetUp() override {
        appDefaults_ = std::string("Software\\Wine\\AppDefaults\\") + kExe;
        setText(appDefaults_, "Version", "win98");
    }
    void TearDown() override {
        UniqueKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, appDefaults_.c_str(), 0, KEY_SET_VALUE, key.put()) ==
            ERROR_SUCCESS)
            RegDeleteValueA(key.get(), "Version");
        key.reset();
        RegDeleteKeyA(HKEY_CURRENT_USER, appDefaults_.c_str());
    }

    static DWORD run(const std::string& arguments) {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string path = self;
        path = path.substr(0, path.find_last_of('\\') + 1) + kExe;
        std::string commandLine = "\"" + path + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process)) {
            ADD_FAILURE() << "cannot start " << path << ": " << GetLastError();
            return 0xFFFFFFFF;
        }
        UniqueHandle processHandle(process.hProcess);
        UniqueHandle thread(process.hThread);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
        DWORD code = 0xFFFFFFFF;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }

private:
    std::string appDefaults_;
};

TEST_F(Win98Helper, TheRunServicesEntryStandsForTheService) {
    ASSERT_EQ(0u, run("platform")) << "the helper runs as a 95/98/Me program";

    test::ScratchKey scratch;
    std::string key = scratch.sub("Scheduler");
    std::string runServices = scratch.sub("RunServices");
    // A service of that name exists but is left alone on 95/98/Me.
    ScratchService service(SERVICE_DEMAND_START);
    std::string common = quoted(key) + " " + quoted(service.name()) + " " + quoted(runServices);

    EXPECT_EQ(0u, run("write " + common + " 1 " + quoted("C:\\KZO")));
    expectStored(stringValue("\"C:\\KZO\\tickr.exe\" /s"), runServices, "KZOScheduler");
    expectStored(dwordValue(1), key, "AutoStart");
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), service.startType());
    EXPECT_EQ(1u, run("read " + quoted(key) + " " + quoted(service.name())))
        << "AutoStart as stored, not the service's";

    EXPECT_EQ(0u, run("write " + common + " 0 " + quoted("C:\\KZO")));
    expectStored(Stored{}, runServices, "KZOScheduler");
    EXPECT_EQ(0u, run("read " + quoted(key) + " " + quoted(service.name())));
}

}  // namespace
}  // namespace kzo
