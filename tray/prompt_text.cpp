#include "prompt_text.h"

#include <cstring>
#include <string>

namespace kzo {
namespace {

constexpr char kCutMarker[] = "...";
constexpr std::size_t kCutMarkerLength = sizeof kCutMarker - 1;

// Length of the unit at s (s points at a character, not at the terminator).
std::size_t unitLength(const char* s, LeadByteTest isLeadByte) {
    if (s[0] == '\r' && s[1] == '\n') return 2;
    if (isLeadByte && isLeadByte(static_cast<unsigned char>(s[0])) && s[1] != '\0') return 2;
    return 1;
}

bool resetsCount(char c) { return c == ' ' || c == '\n' || c == '\r'; }

std::string wrapped(const char* text, LeadByteTest isLeadByte) {
    std::string result;
    int count = 0;
    for (const char* s = text; *s != '\0';) {
        std::size_t length = unitLength(s, isLeadByte);
        result.append(s, length);
        if (resetsCount(*s)) {
            count = 0;
        } else {
            count += static_cast<int>(length);
            if (count >= kPromptWrapWidth) {
                result += '\n';
                count = 0;
            }
        }
        s += length;
    }
    return result;
}

// Length of the longest run of whole units of text not longer than limit. An
// inserted break is a unit of its own, so the units of the wrapped text are
// found with the same rules.
std::size_t wholeUnitsWithin(const std::string& text, std::size_t limit, LeadByteTest isLeadByte) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + unitLength(text.c_str() + end, isLeadByte);
        if (next > limit) break;
        end = next;
    }
    return end;
}

}  // namespace

std::size_t wrapPromptText(const char* text, char* out, std::size_t outSize,
                           LeadByteTest isLeadByte) {
    if (outSize == 0) return 0;
    std::string result = wrapped(text ? text : "", isLeadByte);
    std::size_t limit = outSize - 1;
    if (result.size() > limit) {
        bool marked = limit >= kCutMarkerLength;
        std::size_t kept =
            wholeUnitsWithin(result, marked ? limit - kCutMarkerLength : limit, isLeadByte);
        result.resize(kept);
        if (marked) result += kCutMarker;
    }
    std::memcpy(out, result.c_str(), result.size() + 1);
    return result.size();
}

}  // namespace kzo
