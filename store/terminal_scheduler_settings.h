// The scheduler settings as the Terminal edits them: the user set (under
// HKEY_CURRENT_USER, with the user's Run entry) and the system set (under
// HKEY_LOCAL_MACHINE, with the service's start type on the NT family or the
// RunServices entry on 95/98/Me).
//
// Every function takes the root key, the subkey and the autostart places, the
// production ones by default, so tests work in scratch keys and services.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "autostart_entry.h"
#include "scheduler_settings.h"
#include "service_start_type.h"

namespace kzo {

// The error a system write reports when a key cannot be created (ERROR_CANTOPEN).
constexpr std::uint32_t kErrorCantOpenKey = 1011;

// The settings plus the Terminal's own two values. The Terminal's defaults
// differ from the executors' in RepErr, AutoStart and OneInst (all 1).
struct TerminalSchedulerSettings : SchedulerSettings {
    TerminalSchedulerSettings() { repErr = true; }
    bool autoStart = true;  // "&Run Scheduler automatically at system startup"
    bool oneInst = true;    // user set only: one Terminal at a time
};

// The Terminal read of the user set. DAT, LOG and WAV replace what settings
// holds only when found non-empty (so a default file name put there by the
// caller survives a missing DAT); every other value takes the stored value or
// the Terminal's default. A missing LOG clears LogF. Returns 0, or the error of
// opening the key (the values then all take their defaults).
std::uint32_t readTerminalUserSettings(TerminalSchedulerSettings& settings,
                                       HKEY root = HKEY_CURRENT_USER,
                                       const char* subkey = kSchedulerKey);

// The Terminal read of the system set: as the user read, OneInst left at its
// default. On the NT family AutoStart is then the service's: 1 when it starts
// automatically, 0 otherwise (also when it cannot be queried). Returns 0, or
// the error of opening the key.
std::uint32_t readTerminalSystemSettings(TerminalSchedulerSettings& settings,
                                         HKEY root = HKEY_LOCAL_MACHINE,
                                         const char* subkey = kSchedulerKey,
                                         const char* serviceName = kServiceName);

// The Terminal write of the user set, then the Run entry: the quoted
// "tickr.exe" of terminalFolder (the Terminal's own folder) with AutoStart,
// removed without. Returns 0 or the first Windows error code.
std::uint32_t writeTerminalUserSettings(const TerminalSchedulerSettings& settings,
                                        const std::string& terminalFolder,
                                        HKEY root = HKEY_CURRENT_USER,
                                        const char* subkey = kSchedulerKey,
                                        const char* runKey = kRunKey);

// The Terminal write of the system set (all but OneInst), then the autostart:
// on the NT family the service's start type (automatic or manual), on 95/98/Me
// the RunServices entry (the quoted "tickr.exe" and " /s"). The autostart step
// runs even when the key could not be created (remembered as 1011). Returns the
// autostart step's error, else the remembered one, else 0.
std::uint32_t writeTerminalSystemSettings(const TerminalSchedulerSettings& settings,
                                          const std::string& terminalFolder,
                                          HKEY root = HKEY_LOCAL_MACHINE,
                                          const char* subkey = kSchedulerKey,
                                          const char* serviceName = kServiceName,
                                          const char* runServicesKey = kRunServicesKey);

}  // namespace kzo
