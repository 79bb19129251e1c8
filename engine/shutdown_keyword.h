// The keywords of a Shut down task (its Command) and the exit modes they stand
// for.
#pragma once

#include <cstdint>
#include <string_view>

namespace kzo {

// The exit mode (kExitPowerOff, kExitShutdown, kExitReboot or kExitLogoff) of a
// keyword: "TURNOFF", "SHUTDOWN", "REBOOT" or "LOGOFF" compared in upper case,
// exactly, without trimming. Anything else powers off.
std::uint32_t exitModeForKeyword(std::string_view keyword);

// Whether a remote computer shut down with this exit mode restarts afterwards:
// REBOOT and LOGOFF restart it, TURNOFF and SHUTDOWN leave it off.
bool remoteRestartsAfter(std::uint32_t exitMode);

// The place of a keyword, compared as exitModeForKeyword compares it, in the
// order TURNOFF 0, SHUTDOWN 1, REBOOT 2, LOGOFF 3 (the order of the Terminal's
// Shut Down Windows choices); -1 for any other text.
int shutdownKeywordIndex(std::string_view keyword);

// The keyword at that place in upper case; an empty text outside 0..3.
std::string_view shutdownKeywordAt(int index);

}  // namespace kzo
