#include "console_output.h"

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>

#include "system_error.h"

namespace kzo {

void useBinaryStdout() { _setmode(_fileno(stdout), _O_BINARY); }

void printConsole(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void printErrorMessage(const char* prefix, std::uint32_t error) {
    printConsole(std::string(prefix) + ": " + systemErrorText(error) + "\n");
}

}  // namespace kzo
