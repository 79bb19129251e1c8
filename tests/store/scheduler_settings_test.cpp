// The executors' read of their settings and their write of "Active", on the
// real registry under Wine, in a scratch key.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "scheduler_settings.h"
#include "test_registry.h"
#include "win_handles.h"

namespace kzo {
namespace {

using test::RegValue;
using test::ScratchKey;

SchedulerSettings readFrom(const ScratchKey& key) {
    return readExecutorSettings(HKEY_CURRENT_USER, key.c_str());
}

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
    EXPECT_TRUE(s.history) << "the run history is kept unless turned off";
}

TEST(ExecutorSettings, AMissingKeyOrAnEmptyKeyGivesEveryDefault) {
    ScratchKey k;
    expectExecutorDefaults(readFrom(k));
    k.create();
    expectExecutorDefaults(readFrom(k));
}

TEST(ExecutorSettings, StoredValuesAreUsed) {
    ScratchKey k;
    k.setString("DAT", "  C:\\Sched\\my user.jsf ");
    k.setString("LOG", "%TEMP%\\usr.log");
    k.setString("WAV", "C:\\ding.wav");
    const char* flags[] = {"LogF", "Warn", "RepErr", "AMPM", "NoIcon", "ActDlg"};
    for (const char* name : flags) k.setDword(name, 1);
    k.setDword("Active", 0);
    k.setDword("TopMost", 0);
    k.setDword("Hlp", 0);
    k.setDword("History", 0);
    k.setDword("RefreshTime", 60);
    SchedulerSettings s = readFrom(k);
    EXPECT_EQ("C:\\Sched\\my user.jsf", s.dat) << "trimmed of blanks";
    EXPECT_EQ("%TEMP%\\usr.log", s.log) << "not expanded";
    EXPECT_EQ("C:\\ding.wav", s.wav);
    EXPECT_TRUE(s.logF && s.warn && s.repErr && s.ampm && s.noIcon && s.actDlg);
    EXPECT_FALSE(s.active || s.topMost || s.hlp || s.history);
    EXPECT_EQ(60, s.refreshTime);
}

TEST(ExecutorSettings, RefreshTimeOutside1To60BecomesTen) {
    struct Case {
        DWORD stored;
        int read;
    } cases[] = {{0, 10}, {1, 1}, {30, 30}, {60, 60}, {61, 10}, {0xFFFFFFFF, 10}};
    for (const Case& c : cases) {
        ScratchKey k;
        k.setDword("RefreshTime", c.stored);
        EXPECT_EQ(c.read, readFrom(k).refreshTime) << "stored " << c.stored;
    }
}

TEST(ExecutorSettings, AnyNonZeroFlagReadsAsSet) {
    ScratchKey k;
    k.setDword("Warn", 7);
    k.setDword("RepErr", 0x80000000);
    k.setDword("TopMost", 0);
    SchedulerSettings s = readFrom(k);
    EXPECT_TRUE(s.warn);
    EXPECT_TRUE(s.repErr);
    EXPECT_FALSE(s.topMost);
}

TEST(ExecutorSettings, DwordsOfTheWrongTypeOrSizeFallBackToTheirDefaults) {
    ScratchKey k;
    WORD twoBytes = 0;
    k.setRaw("Active", REG_DWORD, &twoBytes, sizeof twoBytes);
    DWORD zero = 0;
    k.setRaw("TopMost", REG_BINARY, &zero, sizeof zero);
    unsigned long long eightBytes = 1;
    k.setRaw("Warn", REG_DWORD, &eightBytes, sizeof eightBytes);
    k.setString("RefreshTime", "30");
    k.setRaw("AMPM", REG_DWORD_BIG_ENDIAN, &zero, sizeof zero);
    SchedulerSettings s = readFrom(k);
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
        ScratchKey k;
        k.setDword("LogF", 1);
        if (c.log) k.setString("LOG", c.log);
        EXPECT_EQ(c.logF, readFrom(k).logF) << c.what;
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
        ScratchKey k;
        k.setString("DAT", c.stored, c.type);
        k.setString("WAV", c.stored, c.type);
        SchedulerSettings s = readFrom(k);
        EXPECT_EQ(c.read, s.dat) << c.what;
        EXPECT_EQ(c.read, s.wav) << c.what;
    }
}

TEST(ExecutorSettings, AStringStoredWithoutItsTerminatingZeroIsRead) {
    ScratchKey k;
    std::string path = "C:\\a.jsf";
    k.setRaw("DAT", REG_SZ, path.data(), static_cast<DWORD>(path.size()));
    std::string full(260, 'f');
    k.setRaw("WAV", REG_SZ, full.data(), static_cast<DWORD>(full.size()));
    SchedulerSettings s = readFrom(k);
    EXPECT_EQ(path, s.dat);
    EXPECT_EQ("", s.wav) << "260 characters without a zero do not fit";
}

TEST(ExecutorActive, WritesOnlyActiveAndCreatesTheKey) {
    ScratchKey scratch;
    test::RegKey key = scratch.sub("Scheduler");
    ASSERT_EQ(0u, writeActive(HKEY_CURRENT_USER, false, key.c_str()));
    EXPECT_FALSE(readExecutorSettings(HKEY_CURRENT_USER, key.c_str()).active);
    ASSERT_EQ(0u, writeActive(HKEY_CURRENT_USER, true, key.c_str()));

    UniqueKey handle;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, handle.put()));
    DWORD values = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(handle.get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, &values, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(1u, values);
    EXPECT_EQ(RegValue::dword(1), key.stored("Active"));
}

TEST(ExecutorActive, FailsWhenTheKeyCannotBeCreated) {
    ScratchKey scratch;
    std::string subkey = scratch.volatileSub("Volatile") + "\\Scheduler";
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_CHILD_MUST_BE_VOLATILE),
              writeActive(HKEY_CURRENT_USER, true, subkey.c_str()));
}

}  // namespace
}  // namespace kzo
