// The autostart entries of the Executor program: the user's Run entry for the
// User Scheduler and, on 95/98/Me, the machine's RunServices entry for the
// System Scheduler, both named "KZOScheduler".
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace kzo {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServicesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kAutostartValue = "KZOScheduler";

// The quoted path of "tickr.exe" in folder (with or without its closing
// backslash), followed by " /s" for the System Scheduler.
std::string executorCommandLine(const std::string& folder, bool systemScheduler);

// Sets the entry to command under root\key (created when missing), or removes
// it; removing an entry that is not there succeeds. Returns 0 or the Windows
// error code.
std::uint32_t setAutostartEntry(HKEY root, const char* key, const std::string& command);
std::uint32_t removeAutostartEntry(HKEY root, const char* key);

}  // namespace kzo
