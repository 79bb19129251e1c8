// kzotask.exe: the tasks of a schedule from the command line (see
// kzoTaskUsageText). Prints what runKzoTask says: text for a console in the
// console's code page, anything else (a file, a pipe) in the system's, as the
// schedule holds it. Exit codes: see KzoTaskExit.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kzotask_run.h"
#include "task_options.h"
#include "terminal_settings.h"

namespace {

class ConsoleOutput final : public kzo::ToolOutput {
public:
    void out(const std::string& text) override { write(stdout, STD_OUTPUT_HANDLE, text); }
    void err(const std::string& text) override { write(stderr, STD_ERROR_HANDLE, text); }

private:
    static void write(FILE* stream, DWORD handle, const std::string& text) {
        DWORD mode = 0;
        if (!text.empty() && GetConsoleMode(GetStdHandle(handle), &mode)) {
            std::string shown(text);
            CharToOemBuffA(text.data(), &shown[0], static_cast<DWORD>(text.size()));
            std::fwrite(shown.data(), 1, shown.size(), stream);
        } else {
            std::fwrite(text.data(), 1, text.size(), stream);
        }
        std::fflush(stream);
    }
};

std::string programFolder() {
    char path[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    return kzo::folderOf(std::string(path, length));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    ConsoleOutput output;
    kzo::KzoTaskEnvironment environment;
    environment.programFolder = programFolder();
    try {
        return kzo::runKzoTask(arguments, output, environment);
    } catch (...) {
        output.err("kzotask: not enough memory to go on.\n");
        return kzo::kTaskWindows;
    }
}
