#include "terminal_start.h"

#include "executor_boxes.h"
#include "executor_command_line.h"
#include "launchers.h"
#include "resource.h"

namespace kzo {

std::uint32_t startTerminal(const std::string& terminalPath, const char* arguments) {
    std::string command = quotedCommand(terminalPath, arguments ? arguments : "");
    return launchApplication(command.c_str(), kCurrentFolder, "", 0, 0, false);
}

bool openTerminal(const std::string& terminalPath) {
    if (startTerminal(terminalPath) == 0) return true;
    reportError(executorText(IDS_TERMINAL_FAILED));
    return false;
}

}  // namespace kzo
