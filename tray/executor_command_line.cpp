#include "executor_command_line.h"

#include <cctype>

#include "blanks.h"

namespace kzo {

namespace {

constexpr std::string_view kSeparators = ":/\\";

}  // namespace

bool isSystemModeArgument(std::string_view arguments) {
    std::string trimmed = trimBlanks(arguments);
    for (char& c : trimmed) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return trimmed == "/S";
}

std::string terminalPathFrom(std::string_view commandLine) {
    std::string_view path = commandLine.substr(0, commandLine.find(" /"));
    std::size_t open = path.find('"');
    if (open != std::string_view::npos) {
        path.remove_prefix(open + 1);
        path = path.substr(0, path.find('"'));
    }
    std::size_t last = path.find_last_of(kSeparators);
    std::string result(last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1));
    return result + kTerminalProgram;
}

std::string terminalFolderFile(std::string_view terminalPath, std::string_view name) {
    std::size_t last = terminalPath.find_last_of(kSeparators);
    std::string folder;
    if (last != std::string_view::npos)
        folder = terminalPath.substr(0, terminalPath[last] == ':' ? last + 1 : last);
    if (folder.empty()) folder = ".";
    return folder + std::string(name);
}

std::string quotedCommand(std::string_view program, std::string_view arguments) {
    std::string command = "\"";
    command += program;
    command += '"';
    command += arguments;
    return command;
}

}  // namespace kzo
