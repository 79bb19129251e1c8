// The scheduler settings: which schedule file an executor runs, whether it is
// active, how often it reloads, how it reports and where it logs. They live under
// SOFTWARE\Veldmark\KZO Scheduler 4\Scheduler, in HKEY_LOCAL_MACHINE for the
// System Scheduler and HKEY_CURRENT_USER for a User Scheduler.
//
// Every function takes the root key and the subkey, the production key by
// default, so tests work in a scratch key.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kzo {

constexpr const char* kSchedulerKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler";

constexpr int kDefaultRefreshTime = 10;

// String values are read into buffers of this many bytes: a longer value counts
// as missing.
constexpr std::size_t kExecutorStringSize = 260;
constexpr std::size_t kMaxSettingsStringSize = 1300;  // the Terminal's

// The values as an executor uses them, with the executors' defaults.
struct SchedulerSettings {
    std::string dat;  // schedule file, unexpanded; empty = no schedule
    std::string log;  // log file, unexpanded; empty = no log
    std::string wav;  // sound file, unexpanded; empty = default beep
    bool logF = false;
    bool active = true;
    bool warn = false;
    bool repErr = false;
    bool ampm = false;
    bool noIcon = false;
    bool topMost = true;
    bool actDlg = false;
    int refreshTime = kDefaultRefreshTime;  // 1..60
    bool hlp = true;
    // "History": keep the run history beside the schedule file (what became of
    // every launch), whatever LogF says.
    bool history = true;
};

// A stored RefreshTime, or the default when it is outside 1..60.
int validRefreshTime(std::uint32_t minutes);

// Reads the values of an open Scheduler key over settings, each value that is
// missing, of the wrong type or size, or out of range keeping what settings
// holds: DAT, LOG and WAV (REG_SZ, read into bufferSize bytes, trimmed, used
// when not empty), the DWORD flags, History among them (any non-zero value is
// 1), RefreshTime
// (outside 1..60 the default). A missing LOG clears LogF.
void readSchedulerValues(HKEY key, std::size_t bufferSize, SchedulerSettings& settings);

// The executor read. A missing key, a missing value, a value of the wrong type
// or size, and an out-of-range RefreshTime each fall back to the default; never
// an error.
SchedulerSettings readExecutorSettings(HKEY root, const char* subkey = kSchedulerKey);

// The executor's write of "Active" (creates the key when needed). Returns 0 or
// the Windows error code.
std::uint32_t writeActive(HKEY root, bool active, const char* subkey = kSchedulerKey);

}  // namespace kzo
