// The scheduler settings: which schedule file an executor runs, whether it is
// active, how often it reloads, how it reports and where it logs. They live under
// SOFTWARE\Veldmark\KZO Scheduler 4\Scheduler, in HKEY_LOCAL_MACHINE for the
// System Scheduler and HKEY_CURRENT_USER for a User Scheduler.
//
// Every function takes the root key and the subkey, the production key by
// default, so tests work in a scratch key.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace kzo {

constexpr const char* kSchedulerKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler";

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
    int refreshTime = 10;  // 1..60
    bool hlp = true;
};

// The executor read. A missing key, a missing value, a value of the wrong type
// or size, and an out-of-range RefreshTime each fall back to the default; never
// an error.
SchedulerSettings readExecutorSettings(HKEY root, const char* subkey = kSchedulerKey);

// The executor's write of "Active" (creates the key when needed). Returns 0 or
// the Windows error code.
std::uint32_t writeActive(HKEY root, bool active, const char* subkey = kSchedulerKey);

}  // namespace kzo
