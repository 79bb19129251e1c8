#include "launch_plan.h"

#include <cstring>

#include "blanks.h"

namespace kzo {

KillQuitPlan planKillQuit(std::int32_t killAfter, std::int32_t quitAfter) {
    KillQuitPlan plan;
    const std::int64_t kill = killAfter, quit = quitAfter;
    if (kill <= 0 && quit <= 0) return plan;
    if (kill > 0 && quit >= kill) {
        plan.terminateAtMs = kill * 1000;
        return plan;
    }
    if (quit > 0) plan.closeAtMs = quit * 1000;
    if (kill > 0) plan.terminateAtMs = kill * 1000;
    return plan;
}

DocumentStart parseDocumentText(const char* text, const char* folder) {
    constexpr std::size_t kDocumentBuffer = 512;
    std::string copy(text, strnlen(text, kDocumentBuffer - 1));
    DocumentStart start;
    std::size_t bar = copy.find('|');
    if (bar == std::string::npos) {
        start.verb = "Open";
        start.file = copy;
    } else {
        start.verb = trimBlanks(std::string_view(copy).substr(0, bar));
        start.file = trimBlanks(std::string_view(copy).substr(bar + 1));
    }
    if (folder && folder[0]) {
        start.directory = folder;
    } else {
        std::size_t last = start.file.find_last_of("\\/:");
        if (last != std::string::npos && last > 0) start.directory = start.file.substr(0, last + 1);
    }
    return start;
}

}  // namespace kzo
