// The prompt wrapping over any text, any buffer size and both kinds of code
// page: nothing written past the buffer, always terminated, breaks only
// inserted and only where a line has grown to its width, and a cut text is the
// wrapped text's longest start of whole units that fits, marked with "...".
//
// Input: the code-page flag, the buffer size (2 bytes), then the text (cut at
// its first NUL).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "prompt_text.h"

namespace {

using namespace kzo;

constexpr std::size_t kGuard = 32;
constexpr char kGuardByte = '#';

// A double-byte code page's lead bytes, as in the East Asian code pages.
bool eastAsianLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

std::string wrapInto(const char* text, std::size_t outSize, LeadByteTest lead) {
    std::vector<char> out(outSize + kGuard, kGuardByte);
    std::size_t length = wrapPromptText(text, out.data(), outSize, lead);
    for (std::size_t i = outSize; i < out.size(); ++i) FUZZ_CHECK(out[i] == kGuardByte);
    if (outSize == 0) {
        FUZZ_CHECK(length == 0);
        return std::string();
    }
    FUZZ_CHECK(length < outSize);
    FUZZ_CHECK(out[length] == '\0');
    FUZZ_CHECK(std::strlen(out.data()) == length);
    return std::string(out.data(), length);
}

std::string withoutLineFeeds(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    LeadByteTest lead = (input.byte() & 1) ? eastAsianLeadByte : nullptr;
    std::size_t outSize = input.number<std::uint16_t>() % 1200;
    std::string_view rest = input.rest();
    std::string text(rest.substr(0, rest.find('\0')));

    // Room for any wrapping: nothing is cut.
    std::string full = wrapInto(text.c_str(), 2 * text.size() + 8, lead);
    FUZZ_CHECK(withoutLineFeeds(full) == withoutLineFeeds(text));
    FUZZ_CHECK(full.size() >= text.size());
    int count = 0;
    for (std::size_t at = 0; at < full.size();) {
        std::size_t unit = textUnitLength(full, at, lead);
        char c = full[at];
        if (c == ' ' || c == '\n' || c == '\r') {
            count = 0;
        } else {
            count += static_cast<int>(unit);
            // A double-byte character may take a line one past its width.
            FUZZ_CHECK(count <= kPromptWrapWidth + 1);
        }
        at += unit;
    }

    std::string cut = wrapInto(text.c_str(), outSize, lead);
    if (outSize > 0) {
        std::size_t limit = outSize - 1;
        if (full.size() <= limit) {
            FUZZ_CHECK(cut == full);
        } else {
            bool marked = limit >= 3;
            std::string kept = cut;
            if (marked) {
                FUZZ_CHECK(kept.size() >= 3 && kept.compare(kept.size() - 3, 3, "...") == 0);
                kept.resize(kept.size() - 3);
                limit -= 3;
            }
            FUZZ_CHECK(full.compare(0, kept.size(), kept) == 0);
            FUZZ_CHECK(kept.size() <= limit);
            FUZZ_CHECK(kept.size() + textUnitLength(full, kept.size(), lead) > limit);
        }
    }
    FUZZ_CHECK(wrapInto(nullptr, 1 + outSize % 8, lead).empty());
    return 0;
}
