// Shut down tasks: the local computer turned off, shut down, restarted or logged
// off, and remote computers shut down or restarted with a notice.
//
// Everything goes through PlatformActions. Nothing is shown to the user: a
// privilege that cannot be enabled or a rejected shutdown ends that entry
// silently and the rest of the list is still served. The first such failure is
// handed back for the run history when the caller asks for it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform_actions.h"

namespace kzo {

constexpr const char* kRemoteShutdownNotice = "The computer is about to shut down.";
constexpr std::uint32_t kRemoteShutdownSeconds = 20;
constexpr std::uint32_t kLocalShutdownDelayMs = 3000;

// The shutdown runner: the keyword gives the exit mode (shutdown_keyword.h); an
// empty list shuts down the local computer; otherwise each entry in order: "."
// the local computer, an entry containing "*" every computer of the browse list
// (the local one included, through the remote path), anything else that remote
// computer. Returns 0. firstError, when given, receives the Windows error of
// the first entry refused (1314 for a privilege not held), or 0.
int runShutdown(PlatformActions& actions, std::string_view keyword, std::string_view computers,
                std::uint32_t* firstError = nullptr);

// ERROR_PRIVILEGE_NOT_HELD: the privilege a shutdown needs cannot be enabled.
constexpr std::uint32_t kErrorPrivilegeNotHeld = 1314;

// On NT enables SeShutdownPrivilege (gives up, returning 0, when it cannot),
// waits 3000 ms and calls ExitWindowsEx with the mode plus EWX_FORCE. Returns
// 1 when the call succeeded, else 0; error, when given, receives why not.
int shutdownLocal(PlatformActions& actions, std::uint32_t exitMode, std::uint32_t* error = nullptr);

// On NT enables SeRemoteShutdownPrivilege (gives up, returning 0, when it
// cannot), then InitiateSystemShutdownA with the 20-second notice, applications
// forced closed, and a restart for REBOOT and LOGOFF. Returns 1 when the call
// succeeded, else 0, and error as shutdownLocal (95/98/Me do not support it;
// the failure is ignored). An empty name, which the system would take for the
// local computer, is not shut down.
int shutdownRemote(PlatformActions& actions, std::uint32_t exitMode, const char* computer,
                   std::uint32_t* error = nullptr);

// Every computer of the browse list, through the remote path. False when
// netapi32 or NetServerEnum is missing. firstError as for runShutdown.
bool shutdownBrowseList(PlatformActions& actions, std::uint32_t exitMode,
                        std::uint32_t* firstError = nullptr);

}  // namespace kzo
