// Target lists and shutdown keywords over any text: the list's entries are the
// text's comma-separated parts without their outer blanks, none empty, none
// lost; a keyword selects its exit mode only when it is that keyword in any
// case, and anything else powers off.
//
// Input: the text.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "platform_actions.h"
#include "shutdown_keyword.h"
#include "target_list.h"

namespace {

using namespace kzo;

std::string without(std::string_view text, std::string_view drop) {
    std::string out;
    for (char c : text)
        if (drop.find(c) == std::string_view::npos) out += c;
    return out;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

void checkTargetList(std::string_view text) {
    std::vector<std::string> entries = splitTargetList(text);
    std::string joined;
    std::size_t searchFrom = 0;
    for (const std::string& entry : entries) {
        FUZZ_CHECK(!entry.empty());
        FUZZ_CHECK(entry.front() != ' ' && entry.back() != ' ');
        FUZZ_CHECK(entry.find(',') == std::string::npos);
        // In the text's order, each as it stands there.
        std::size_t at = text.find(entry, searchFrom);
        FUZZ_CHECK(at != std::string_view::npos);
        searchFrom = at + entry.size();
        joined += entry;
    }
    // Only commas and blanks are dropped: no character of a target is lost.
    FUZZ_CHECK(without(joined, " ") == without(text, " ,"));
    std::size_t commas = 0;
    for (char c : text) commas += c == ',';
    FUZZ_CHECK(entries.size() <= commas + 1);
}

void checkKeyword(std::string_view text) {
    std::uint32_t mode = exitModeForKeyword(text);
    std::string upper = upperAscii(text);
    switch (mode) {
        case kExitShutdown: FUZZ_CHECK(upper == "SHUTDOWN"); break;
        case kExitReboot: FUZZ_CHECK(upper == "REBOOT"); break;
        case kExitLogoff: FUZZ_CHECK(upper == "LOGOFF"); break;
        case kExitPowerOff:
            FUZZ_CHECK(upper != "SHUTDOWN" && upper != "REBOOT" && upper != "LOGOFF");
            break;
        default: FUZZ_CHECK(!"an exit mode of the four");
    }
    FUZZ_CHECK(remoteRestartsAfter(mode) == (mode == kExitReboot || mode == kExitLogoff));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    checkTargetList(text);
    checkKeyword(text);
    // The Command field of a Shut down task: at most 511 characters, cut at its NUL.
    checkKeyword(text.substr(0, text.find('\0')).substr(0, 511));
    return 0;
}
