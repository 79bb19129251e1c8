// The command lines of the Executor and of the System Executor over any text:
// the mode switch, the Terminal's path and folder files taken from whatever
// command line a program is started with, and the service's arguments.
//
// Input: the text; for the service, its NUL-separated parts are the arguments.
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "executor_command_line.h"
#include "fuzz_input.h"

namespace {

using namespace kzo;

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

void checkExecutor(std::string_view text) {
    std::string_view trimmed = text;
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
    FUZZ_CHECK(isSystemModeArgument(text) == (upperAscii(trimmed) == "/S"));

    // The Terminal lies in the Executor's folder, as the command line names it.
    std::string path = terminalPathFrom(text);
    FUZZ_CHECK(endsWith(path, kTerminalProgram));
    std::string_view folder(path.data(), path.size() - std::string_view(kTerminalProgram).size());
    FUZZ_CHECK(folder.empty() || std::string_view(":/\\").find(folder.back()) != std::string_view::npos);
    FUZZ_CHECK(folder.find('"') == std::string_view::npos);
    FUZZ_CHECK(folder.find(" /") == std::string_view::npos);
    FUZZ_CHECK(text.find(folder) != std::string_view::npos);

    std::string file = terminalFolderFile(path, "\\kzo.hlp");
    FUZZ_CHECK(endsWith(file, "\\kzo.hlp"));
    std::string_view fileFolder(file.data(), file.size() - 8);
    FUZZ_CHECK(fileFolder == "." || path.compare(0, fileFolder.size(), fileFolder) == 0);
    std::string anyFolder = terminalFolderFile(text, "\\x");
    FUZZ_CHECK(endsWith(anyFolder, "\\x"));

    FUZZ_CHECK(quotedCommand(text, " /ABOUT") == "\"" + std::string(text) + "\" /ABOUT");
}

void checkService(std::string_view text) {
    std::vector<std::string> args;
    for (std::size_t start = 0; start <= text.size() && args.size() < 4;) {
        std::size_t end = text.find('\0', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) args.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    ServiceCommand command = parseServiceCommand(args);
    if (args.empty()) {
        FUZZ_CHECK(command == ServiceCommand::RunService);
        return;
    }
    const std::string& arg = args.front();
    bool oneSwitch = args.size() == 1 && arg.size() == 2 && (arg[0] == '/' || arg[0] == '-');
    char letter = oneSwitch ? upperAscii(arg.substr(1))[0] : 0;
    ServiceCommand expected = letter == 'R'   ? ServiceCommand::Register
                              : letter == 'U' ? ServiceCommand::Unregister
                              : letter == 'D' ? ServiceCommand::Debug
                                              : ServiceCommand::Usage;
    FUZZ_CHECK(command == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    checkExecutor(text);
    checkService(text);
    return 0;
}
