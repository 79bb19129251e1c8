#include "shutdown_keyword.h"

#include <iterator>

#include "platform_actions.h"

namespace kzo {

namespace {

struct ShutdownKeyword {
    std::string_view keyword;
    std::uint32_t exitMode;
};

// Searched in this order; the first exact match wins.
constexpr ShutdownKeyword kKeywords[] = {
    {"TURNOFF", kExitPowerOff},
    {"SHUTDOWN", kExitShutdown},
    {"REBOOT", kExitReboot},
    {"LOGOFF", kExitLogoff},
};

// Compared through the upper case of the ASCII letters: the keywords are plain
// ASCII, and the comparison does not depend on the thread's locale.
bool equalsUpperCased(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i]) return false;
    }
    return true;
}

}  // namespace

std::uint32_t exitModeForKeyword(std::string_view keyword) {
    for (const ShutdownKeyword& entry : kKeywords) {
        if (equalsUpperCased(keyword, entry.keyword)) return entry.exitMode;
    }
    return kExitPowerOff;
}

int shutdownKeywordIndex(std::string_view keyword) {
    for (int i = 0; i < static_cast<int>(std::size(kKeywords)); ++i) {
        if (equalsUpperCased(keyword, kKeywords[i].keyword)) return i;
    }
    return -1;
}

std::string_view shutdownKeywordAt(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kKeywords))) return {};
    return kKeywords[index].keyword;
}

bool remoteRestartsAfter(std::uint32_t exitMode) {
    return exitMode == kExitReboot || exitMode == kExitLogoff;
}

}  // namespace kzo
