#include "command_line.h"

#include "service_names.h"

namespace kzo {

ServiceCommand parseServiceCommand(const std::vector<std::string>& args) {
    if (args.empty()) return ServiceCommand::RunService;
    if (args.size() > 1) return ServiceCommand::Usage;
    const std::string& arg = args.front();
    if (arg.size() != 2 || (arg[0] != '/' && arg[0] != '-')) return ServiceCommand::Usage;
    switch (arg[1]) {
        case 'r':
        case 'R':
            return ServiceCommand::Register;
        case 'u':
        case 'U':
            return ServiceCommand::Unregister;
        case 'd':
        case 'D':
            return ServiceCommand::Debug;
        default:
            return ServiceCommand::Usage;
    }
}

std::string usageText() {
    return std::string(kConsoleTitle) +
           "\n\r"
           "Arguments:\n\r"
           " /r        Register service\n\r"
           " /u        Unregister service\n\r"
           " /d        Run as a regular application\n\r";
}

}  // namespace kzo
