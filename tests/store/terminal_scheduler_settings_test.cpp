// The Terminal's read and write of the user and the system scheduler settings,
// with their autostart entries, on the real registry and service manager under
// Wine (scratch keys, scratch services).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "program_driver.h"
#include "terminal_scheduler_settings.h"
#include "win_handles.h"

namespace kzo {
namespace {

using test::RegKey;
using test::RegValue;
using test::ScratchKey;

// A service registered under a scratch name with the given start type; deleted
// at the end.
class ScratchService {
public:
    explicit ScratchService(DWORD startType) : name_(test::uniqueName("KZO Test Service ")) {
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
    ScratchKey scratch;
    TerminalSchedulerSettings s;
    s.dat = "C:\\KZO\\User.jsf";  // the Terminal's proposed name
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND),
              readTerminalUserSettings(s, HKEY_CURRENT_USER, scratch.c_str()));
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
    ScratchKey key;
    key.setString("DAT", "   ");
    key.setDword("LogF", 1);
    key.setDword("RefreshTime", 0);
    key.setDword("RepErr", 0);
    key.setDword("OneInst", 0);
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
    key.setString("DAT", longName);
    key.setString("LOG", " D:\\usr.log ");
    key.setDword("RefreshTime", 61);
    key.remove("RepErr");
    ASSERT_EQ(0u, readTerminalUserSettings(s, HKEY_CURRENT_USER, key.c_str()));
    EXPECT_EQ(longName, s.dat) << "the Terminal reads up to 1299 characters";
    EXPECT_EQ("D:\\usr.log", s.log);
    EXPECT_TRUE(s.logF);
    EXPECT_EQ(10, s.refreshTime);
    EXPECT_TRUE(s.repErr) << "a value removed from the key since takes its default again";

    key.setString("DAT", std::string(1300, 'n'));
    s.dat = "C:\\KZO\\User.jsf";
    readTerminalUserSettings(s, HKEY_CURRENT_USER, key.c_str());
    EXPECT_EQ("C:\\KZO\\User.jsf", s.dat) << "1300 characters do not fit";
}

// --- Writing the user set ----------------------------------------------------

TEST(TerminalSettingsWrite, TheUserSetRoundTripsWithItsTypes) {
    ScratchKey scratch;
    RegKey key = scratch.sub("Scheduler");
    RegKey run = scratch.sub("Run");
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
    s.history = false;
    ASSERT_EQ(0u, writeTerminalUserSettings(s, "C:\\KZO", HKEY_CURRENT_USER, key.c_str(), run.c_str()));

    EXPECT_EQ(RegValue::string("C:\\Sched\\user.jsf"), key.stored("DAT"));
    EXPECT_EQ(RegValue::string("%TEMP%\\usr.log"), key.stored("LOG"));
    EXPECT_EQ(RegValue::string(""), key.stored("WAV"));
    EXPECT_EQ(RegValue::dword(1), key.stored("LogF"));
    EXPECT_EQ(RegValue::dword(0), key.stored("Active"));
    EXPECT_EQ(RegValue::dword(1), key.stored("Warn"));
    EXPECT_EQ(RegValue::dword(0), key.stored("RepErr"));
    EXPECT_EQ(RegValue::dword(1), key.stored("AMPM"));
    EXPECT_EQ(RegValue::dword(0), key.stored("TopMost"));
    EXPECT_EQ(RegValue::dword(1), key.stored("ActDlg"));
    EXPECT_EQ(RegValue::dword(45), key.stored("RefreshTime"));
    EXPECT_EQ(RegValue::dword(0), key.stored("AutoStart"));
    EXPECT_EQ(RegValue::dword(0), key.stored("OneInst"));
    EXPECT_EQ(RegValue::dword(0), key.stored("History"));
    EXPECT_EQ(RegValue{}, key.stored("NoIcon"));
    EXPECT_EQ(RegValue{}, key.stored("Hlp"));

    TerminalSchedulerSettings back;
    ASSERT_EQ(0u, readTerminalUserSettings(back, HKEY_CURRENT_USER, key.c_str()));
    EXPECT_EQ(s.dat, back.dat);
    EXPECT_EQ(s.log, back.log);
    EXPECT_EQ(s.logF, back.logF);
    EXPECT_EQ(s.active, back.active);
    EXPECT_EQ(s.refreshTime, back.refreshTime);
    EXPECT_EQ(s.autoStart, back.autoStart);
    EXPECT_EQ(s.oneInst, back.oneInst);
    EXPECT_EQ(s.history, back.history);
}

TEST(TerminalSettingsWrite, AutoStartSetsAndRemovesTheUsersRunEntry) {
    ScratchKey scratch;
    RegKey key = scratch.sub("Scheduler");
    RegKey run = scratch.sub("Run");
    TerminalSchedulerSettings s;
    s.dat = "C:\\a.jsf";
    auto write = [&](bool autoStart, const char* folder) {
        s.autoStart = autoStart;
        return writeTerminalUserSettings(s, folder, HKEY_CURRENT_USER, key.c_str(), run.c_str());
    };
    const RegValue entry = RegValue::string("\"C:\\Program Files\\KZO\\tickr.exe\"");

    EXPECT_EQ(0u, write(false, "C:\\Program Files\\KZO\\")) << "removing an entry that is not there";
    ASSERT_EQ(0u, write(true, "C:\\Program Files\\KZO\\"));
    EXPECT_EQ(entry, run.stored("KZOScheduler"));
    ASSERT_EQ(0u, write(true, "C:\\Program Files\\KZO"));
    EXPECT_EQ(entry, run.stored("KZOScheduler"));
    ASSERT_EQ(0u, write(false, "C:\\Program Files\\KZO\\"));
    EXPECT_EQ(RegValue{}, run.stored("KZOScheduler"));
}

TEST(TerminalSettingsWrite, TheRunEntryIsKeptUpEvenWhenTheSettingsKeyCannotBeCreated) {
    ScratchKey scratch;
    std::string key = scratch.volatileSub("Volatile") + "\\Scheduler";
    RegKey run = scratch.sub("Run");
    TerminalSchedulerSettings s;
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_CHILD_MUST_BE_VOLATILE),
              writeTerminalUserSettings(s, "C:\\KZO", HKEY_CURRENT_USER, key.c_str(), run.c_str()));
    EXPECT_EQ(RegValue::string("\"C:\\KZO\\tickr.exe\""), run.stored("KZOScheduler"));
}

// --- The system set on the NT family -----------------------------------------

TEST(TerminalSystemSettings, AutoStartIsTheServicesStartType) {
    ScratchKey scratch;
    RegKey key = scratch.sub("Scheduler");
    RegKey runServices = scratch.sub("RunServices");
    ScratchService service(SERVICE_DEMAND_START);

    TerminalSchedulerSettings s;
    s.dat = "C:\\KZO\\System.jsf";
    s.autoStart = true;
    ASSERT_EQ(0u, writeTerminalSystemSettings(s, "C:\\KZO\\", HKEY_CURRENT_USER, key.c_str(),
                                              service.name(), runServices.c_str()));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), service.startType());
    EXPECT_EQ(RegValue::dword(1), key.stored("AutoStart"));
    EXPECT_EQ(RegValue{}, key.stored("OneInst"));
    EXPECT_EQ(RegValue{}, runServices.stored("KZOScheduler"));

    // The stored value says no; the service says automatic.
    key.setDword("AutoStart", 0);
    TerminalSchedulerSettings read;
    ASSERT_EQ(0u, readTerminalSystemSettings(read, HKEY_CURRENT_USER, key.c_str(), service.name()));
    EXPECT_TRUE(read.autoStart);
    EXPECT_EQ("C:\\KZO\\System.jsf", read.dat);

    s.autoStart = false;
    ASSERT_EQ(0u, writeTerminalSystemSettings(s, "C:\\KZO\\", HKEY_CURRENT_USER, key.c_str(),
                                              service.name(), runServices.c_str()));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), service.startType());
    key.setDword("AutoStart", 1);
    ASSERT_EQ(0u, readTerminalSystemSettings(read, HKEY_CURRENT_USER, key.c_str(), service.name()));
    EXPECT_FALSE(read.autoStart);
}

TEST(TerminalSystemSettings, AMissingServiceIsReportedAndReadsAsNoAutoStart) {
    ScratchKey scratch;
    RegKey key = scratch.sub("Scheduler");
    std::string missing = test::uniqueName("KZO No Such Service ");
    TerminalSchedulerSettings s;
    s.dat = "C:\\KZO\\System.jsf";
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_SERVICE_DOES_NOT_EXIST),
              writeTerminalSystemSettings(s, "C:\\KZO\\", HKEY_CURRENT_USER, key.c_str(),
                                          missing.c_str(), scratch.sub("RunServices").c_str()));
    EXPECT_EQ(RegValue::string("C:\\KZO\\System.jsf"), key.stored("DAT"));
    TerminalSchedulerSettings read;
    readTerminalSystemSettings(read, HKEY_CURRENT_USER, key.c_str(), missing.c_str());
    EXPECT_FALSE(read.autoStart);
}

TEST(TerminalSystemSettings, AKeyThatCannotBeCreatedIsError1011AfterTheAutostartStep) {
    ScratchKey scratch;
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

constexpr const char* kWin98Helper = "settings_win98_helper.exe";

// Runs the helper program and returns its exit code.
DWORD runWin98Helper(const std::string& arguments) {
    test::ChildProcess helper(test::quoted(test::buildTreeProgram(kWin98Helper)) + " " + arguments);
    return helper.waitForExit(30000).value_or(0xFFFFFFFF);
}

TEST(TerminalSystemSettings, On95To98TheRunServicesEntryStandsForTheService) {
    // Wine presents 95/98/Me to the helper.
    test::SavedKey appDefaults(HKEY_CURRENT_USER, std::string("Software\\Wine\\AppDefaults\\") + kWin98Helper);
    appDefaults.setString("Version", "win98");
    ASSERT_EQ(0u, runWin98Helper("platform")) << "the helper runs as a 95/98/Me program";

    ScratchKey scratch;
    RegKey key = scratch.sub("Scheduler");
    RegKey runServices = scratch.sub("RunServices");
    // A service of that name exists but is left alone on 95/98/Me.
    ScratchService service(SERVICE_DEMAND_START);
    using test::quoted;
    std::string read = "read " + quoted(key.path()) + " " + quoted(service.name());
    std::string write = "write " + quoted(key.path()) + " " + quoted(service.name()) + " " +
                        quoted(runServices.path());

    EXPECT_EQ(0u, runWin98Helper(write + " 1 " + quoted("C:\\KZO")));
    EXPECT_EQ(RegValue::string("\"C:\\KZO\\tickr.exe\" /s"), runServices.stored("KZOScheduler"));
    EXPECT_EQ(RegValue::dword(1), key.stored("AutoStart"));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), service.startType());
    EXPECT_EQ(1u, runWin98Helper(read)) << "AutoStart as stored, not the service's";

    EXPECT_EQ(0u, runWin98Helper(write + " 0 " + quoted("C:\\KZO")));
    EXPECT_EQ(RegValue{}, runServices.stored("KZOScheduler"));
    EXPECT_EQ(0u, runWin98Helper(read));
}

}  // namespace
}  // namespace kzo
