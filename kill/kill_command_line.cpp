#include "kill_command_line.h"

namespace kzo {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view fileNameOf(std::string_view path) {
    std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// A process id, or 0 when the text is not one.
std::uint32_t processId(std::string_view text) {
    if (text.empty() || text.size() > 10) return 0;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value <= 0xFFFFFFFFu ? static_cast<std::uint32_t>(value) : 0;
}

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

KillCommand usage(std::string error) {
    KillCommand command;
    command.action = KillCommand::Action::Usage;
    command.error = std::move(error);
    return command;
}

}  // namespace

KillCommand parseKillCommand(const std::vector<std::string>& arguments) {
    KillCommand command;
    command.action = KillCommand::Action::Kill;
    for (const std::string& argument : arguments) {
        if (argument.empty()) continue;
        if (argument[0] == '/' || argument[0] == '-') {
            std::string_view option = std::string_view(argument).substr(1);
            if (equalNoCase(option, "f")) {
                command.force = true;
            } else if (option == "?" || equalNoCase(option, "h") || equalNoCase(option, "-help")) {
                command.action = KillCommand::Action::Help;
                return command;
            } else {
                return usage("Unknown option " + argument + ".");
            }
            continue;
        }
        KillTarget target;
        if (isDigits(argument)) {
            target.byId = true;
            target.id = processId(argument);
            if (target.id == 0) return usage(argument + " is not a process id.");
        } else {
            target.imageName = argument;
        }
        command.targets.push_back(target);
    }
    if (command.targets.empty()) return usage("No process named.");
    return command;
}

bool imageNameMatches(std::string_view named, std::string_view image) {
    std::string_view file = fileNameOf(image);
    std::string_view wanted = fileNameOf(named);
    if (wanted.empty()) return false;
    if (equalNoCase(wanted, file)) return true;
    if (wanted.find('.') != std::string_view::npos) return false;
    return file.size() == wanted.size() + 4 && equalNoCase(file.substr(0, wanted.size()), wanted) &&
           equalNoCase(file.substr(wanted.size()), ".exe");
}

int killExitCode(std::size_t targetsWithoutProcess, std::size_t notEnded) {
    if (notEnded > 0) return kKillNotEnded;
    if (targetsWithoutProcess > 0) return kKillNotFound;
    return kKillEnded;
}

std::string killUsageText() {
    return "Ends processes by image name or process id.\n"
           "\n"
           "KILL [/F] name|id [name|id ...]\n"
           "\n"
           "  name  the image name of the processes, such as notepad.exe (\".exe\" may be\n"
           "        left out); every process of that name is ended\n"
           "  id    a process id, such as 1234\n"
           "  /F    terminate at once; without /F each process is first asked to close\n"
           "        (WM_CLOSE to its windows) and terminated when it still runs after\n"
           "        5 seconds\n"
           "\n"
           "Exit codes: 0 every process found was ended, 1 wrong arguments, 2 a name or\n"
           "id matched no process (the others were ended), 3 a process could not be\n"
           "ended.\n";
}

}  // namespace kzo
