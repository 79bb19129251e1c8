#include "prompt_text.h"

#include <cstring>
#include <string>
#include <string_view>

namespace kzo {
namespace {

constexpr char kCutMarker[] = "...";
constexpr std::size_t kCutMarkerLength = sizeof kCutMarker - 1;

bool resetsCount(char c) { return c == ' ' || c == '\n' || c == '\r'; }

std::string wrapped(std::string_view text, LeadByteTest isLeadByte) {
    std::string result;
    int count = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = textUnitLength(text, at, isLeadByte);
        result.append(text, at, length);
        if (resetsCount(text[at])) {
            count = 0;
        } else {
            count += static_cast<int>(length);
            if (count >= kPromptWrapWidth) {
                result += '\n';
                count = 0;
            }
        }
        at += length;
    }
    return result;
}

}  // namespace

std::size_t wrapPromptText(const char* text, char* out, std::size_t outSize,
                           LeadByteTest isLeadByte) {
    if (outSize == 0) return 0;
    std::string result = wrapped(text ? text : "", isLeadByte);
    std::size_t limit = outSize - 1;
    if (result.size() > limit) {
        bool marked = limit >= kCutMarkerLength;
        // An inserted break is a unit of its own, so the wrapped text's units
        // follow the same rules.
        std::size_t kept =
            wholeUnitsWithin(result, marked ? limit - kCutMarkerLength : limit, isLeadByte);
        result.resize(kept);
        if (marked) result += kCutMarker;
    }
    std::memcpy(out, result.c_str(), result.size() + 1);
    return result.size();
}

}  // namespace kzo
