// The Executor's starts of the Terminal program: from the tray menu, at
// start-up without a schedule, for the About box, and to convert a schedule
// file of an older format.
#pragma once

#include <cstdint>
#include <string>

namespace kzo {

// Starts the Terminal with arguments (" /ABOUT", or none) through the
// application launcher, in the Executor's current folder (".\\"), without a
// fallback, kill or quit time. Returns 0 or the Windows error code.
std::uint32_t startTerminal(const std::string& terminalPath, const char* arguments = "");

// Starts the Terminal; when it cannot be started, beeps and shows "Unable to run
// KZO Terminal." (7508). True when it started.
bool openTerminal(const std::string& terminalPath);

}  // namespace kzo
