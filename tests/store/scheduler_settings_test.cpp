// The executors' read of their settings and their write of "Active", on the
// real registry under Wine, in a scratch key.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "scheduler_settings.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

// The scratch key with values set raw, in any type and size.
class SettingsKey {
public:
    SettingsKey() {
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, scratch_.path().c_str(), 0,
                                                 nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(),
                                                 nullptr));
    }
    const char* path() const { return scratch_.path().c_str(); }
    HKEY key() const { return key_.get(); }

    void raw(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_.get(), name, 0, type,
                                                static_cast<const BYTE*>(data), size));
    }
    void dword(const char* name, DWORD value) { raw(name, REG_DWORD, &value, sizeof value); }
    void text(const char* name, const std::string& value, DWORD type = REG_SZ) {
        raw(name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
    }
    SchedulerSettings read() const { return readExecutorSettings(HKEY_CURRENT_USER, path()); }

private:
    test::ScratchKey scratch_;
    UniqueKey key_;
};

void expectExecutorDefaults(const SchedulerSettings& s) {
    EXPECT_EQ("", s.dat);
    EXPECT_EQ("", s.log);
    EXPECT_EQ("", s.wav);
    EXPECT_FALSE(s.logF);
    EXPECT_TRUE(s.active);
    EXPECT_FALSE(s.warn);
    EXPECT_FALSE(s.repErr);
    EXPECT_FALSE(s.ampm);
    EXPECT_FALSE(s.noIcon);
    EXPECT_TRUE(s.topMost);
    EXPECT_FALSE(s.actDlg);
    EXPECT_EQ(10, s.refreshTime);
    EXPECT_TRUE(s.hlp);
}

TEST(ExecutorSettings, AMissingKeyOrAnEmptyKeyGivesEveryDefault) {
    test::ScratchKey missing;
    expectExecutorDefaults(readExecutorSettings(HKEY_CURRENT_USER, missing.path().c_str()));
    SettingsKey empty;
    expectExecutorDefaults(empty.read());
}

TEST(ExecutorSettings, StoredValuesAreUsed) {
    SettingsKey k;
    k.text("DAT", "  C:\\Sched\\my user.jsf ");
    k.text("LOG", "%TEMP%\\usr.log");
    k.text("WAV", "C:\\ding.wav");
    const char* flags[] = {"LogF", "Warn", "RepErr", "AMPM", "NoIcon", "ActDlg"};
    for (const char* name : flags) k.dword(name, 1);
    k.dword("Active", 0);
    k.dword("TopMost", 0);
    k.dword("Hlp", 0);
    k.dword("RefreshTime", 60);
    SchedulerSettings s = k.read();
    EXPECT_EQ("C:\\Sched\\my user.jsf", s.dat) << "trimmed of blanks";
    EXPECT_EQ("%TEMP%\\usr.log", s.log) << "not expanded";
    EXPECT_EQ("C:\\ding.wav", s.wav);
    EXPECT_TRUE(s.logF && s.warn && s.repErr && s.ampm && s.noIcon && s.actDlg);
    EXPECT_FALSE(s.active || s.topMost || s.hlp);
    EXPECT_EQ(60, s.refreshTime);
}

TEST(ExecutorSettings, RefreshTimeOutside1To60BecomesTen) {
    struct Case {
        DWORD stored;
        int read;
    } cases[] = {{0, 10}, {1, 1}, {30, 30}, {60, 60}, {61, 10}, {0xFFFFFFFF, 10}};
    for (const Case& c : cases) {
        SettingsKey k;
        k.dword("RefreshTime", c.stored);
        EXPECT_EQ(c.read, k.read().refreshTime) << "stored " << c.stored;
    }
}

TEST(ExecutorSettings, AnyNonZeroFlagReadsAsSet) {
    SettingsKey k;
    k.dword("Warn", 7);
    k.dword("RepErr", 0x80000000);
    k.dword("TopMost", 0);
    SchedulerSettings s = k.read();
    EXPECT_TRUE(s.warn);
    EXPECT_TRUE(s.repErr);
    EXPECT_FALSE(s.topMost);
}

TEST(ExecutorSettings, DwordsOfTheWrongTypeOrSizeFallBackToTheirDefaults) {
    SettingsKey k;
    WORD twoBytes = 0;
    k.raw("Active", REG_DWORD, &twoBytes, sizeof twoBytes);
    DWORD zero = 0;
    k.raw("TopMost", REG_BINARY, &zero, sizeof zero);
    unsigned long long eightBytes = 1;
    k.raw("Warn", REG_DWORD, &eightBytes, sizeof eightBytes);
    k.text("RefreshTime", "30");
    k.raw("AMPM", REG_DWORD_BIG_ENDIAN, &zero, sizeof zero);
    SchedulerSettings s = k.read();
    EXPECT_TRUE(s.active) << "a 2-byte DWORD";
    EXPECT_TRUE(s.topMost) << "REG_BINARY";
    EXPECT_FALSE(s.warn) << "an 8-byte DWORD";
    EXPECT_EQ(10, s.refreshTime) << "a string";
    EXPECT_FALSE(s.ampm);
}

TEST(ExecutorSettings, LoggingNeedsALogFile) {
    struct Case {
        const char* what;
        const char* log;  // nullptr: no value
        bool logF;
    } cases[] = {
        {"no LOG", nullptr, false},
        {"LOG of blanks", "   ", false},
        {"empty LOG", "", false},
        {"a LOG", "C:\\usr.log", true},
    };
    for (const Case& c : cases) {
        SettingsKey k;
        k.dword("LogF", 1);
        if (c.log) k.text("LOG", c.log);
        EXPECT_EQ(c.logF, k.read().logF) << c.what;
    }
}

TEST(ExecutorSettings, AScheduleFileCountsOnlyAsANonBlankRegSzThatFits) {
    struct Case {
        const char* what;
        std::string stored;
        DWORD type;
        std::string read;
    } cases[] = {
        {"blanks only", "   ", REG_SZ, ""},
        {"REG_EXPAND_SZ", "C:\\a.jsf", REG_EXPAND_SZ, ""},
        {"REG_MULTI_SZ", "C:\\a.jsf", REG_MULTI_SZ, ""},
        {"300 characters", std::string(300, 'd'), REG_SZ, ""},
        {"260 characters", std::string(260, 'd'), REG_SZ, ""},
        {"259 characters", std::string(259, 'd'), REG_SZ, std::string(259, 'd')},
        {"259 with blanks around", "  " + std::string(255, 'd') + "  ", REG_SZ,
         std::string(255, 'd')},
    };
    for (const Case& c : cases) {
        SettingsKey k;
        k.text("DAT", c.stored, c.type);
        k.text("WAV", c.stored, c.type);
        SchedulerSettings s = k.read();
        EXPECT_EQ(c.read, s.dat) << c.what;
        EXPECT_EQ(c.read, s.wav) << c.what;
    }
}

TEST(ExecutorSettings, AStringStoredWithoutItsTerminatingZeroIsRead) {
    SettingsKey k;
    std::string path = "C:\\a.jsf";
    k.raw("DAT", REG_SZ, path.data(), static_cast<DWORD>(path.size()));
    std::string full(260, 'f');
    k.raw("WAV", REG_SZ, full.data(), static_cast<DWORD>(full.size()));
    SchedulerSettings s = k.read();
    EXPECT_EQ(path, s.dat);
    EXPECT_EQ("", s.wav) << "260 characters without a zero do not fit";
}

TEST(ExecutorActive, WritesOnlyActiveAndCreatesTheKey) {
    test::ScratchKey scratch;
    std::string subkey = scratch.sub("Scheduler");
    ASSERT_EQ(0u, writeActive(HKEY_CURRENT_USER, false, subkey.c_str()));
    EXPECT_FALSE(readExecutorSettings(HKEY_CURRENT_USER, subkey.c_str()).active);
    ASSERT_EQ(0u, writeActive(HKEY_CURRENT_USER, true, subkey.c_str()));

    UniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, key.put()));
    DWORD values = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, &values, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(1u, values);
    DWORD type = 0, data = 0, size = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key.get(), "Active", nullptr, &type,
                                              reinterpret_cast<BYTE*>(&data), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(1u, data);
}

TEST(ExecutorActive, FailsWhenTheKeyCannotBeCreated) {
    test::ScratchKey scratch;
    std::string subkey = scratch.volatileSub("Volatile") + "\\Scheduler";
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_CHILD_MUST_BE_VOLATILE),
              writeActive(HKEY_CURRENT_USER, true, subkey.c_str()));
}

}  // namespace
}  // namespace kzo
