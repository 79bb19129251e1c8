// Shut down tasks: the local computer turned off, shut down, restarted or logged
// off, and remote computers shut down or restarted with a notice.
//
// Everything goes through PlatformActions. Nothing is reported: a privilege that
// cannot be enabled or a rejected shutdown ends that entry silently and the rest
// of the list is still served.
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
// computer. Returns 0.
int runShutdown(PlatformActions& actions, std::string_view keyword, std::string_view computers);

// On NT enables SeShutdownPrivilege (gives up, returning 0, when it cannot),
// waits 3000 ms and calls ExitWindowsEx with the mode plus EWX_FORCE. Returns
// the call's result.
int shutdownLocal(PlatformActions& actions, std::uint32_t exitMode);

// On NT enables SeRemoteShutdownPrivilege (gives up, returning 0, when it
// cannot), then InitiateSystemShutdownA with the 20-second notice, applications
// forced closed, and a restart for REBOOT and LOGOFF. Returns the call's result
// (95/98/Me do not support it; the failure is ignored). An empty name, which
// the system would take for the local computer, is not shut down.
int shutdownRemote(PlatformActions& actions, std::uint32_t exitMode, const char* computer);

// Every computer of the browse list, through the remote path. False when
// netapi32 or NetServerEnum is missing.
bool shutdownBrowseList(PlatformActions& actions, std::uint32_t exitMode);

}  // namespace kzo
