// The wrapping and cutting of prompt texts, checked against lines as a reader
// of the dialog would count them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "prompt_text.h"

namespace kzo {
namespace {

std::string wrap(const std::string& text, std::size_t size = kPromptTextSize,
                 LeadByteTest isLeadByte = nullptr) {
    std::vector<char> out(size + 1, '#');  // one guard byte past the buffer
    std::size_t length = wrapPromptText(text.c_str(), out.data(), size, isLeadByte);
    EXPECT_EQ('#', out[size]) << "wrote past the buffer of " << size;
    if (size == 0) return std::string();
    EXPECT_EQ('\0', out[length]) << "not terminated at the returned length " << length;
    EXPECT_EQ(std::strlen(out.data()), length);
    return std::string(out.data(), length);
}

std::string chars(std::size_t n, char c = 'a') { return std::string(n, c); }

TEST(PromptTextWrap, BreaksAfterFiftyCharactersWithoutBlankOrLineBreak) {
    struct Case {
        std::string text, expected;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"Run it ?", "Run it ?"},
        {chars(49), chars(49)},
        {chars(50), chars(50) + "\n"},
        {chars(120), chars(50) + "\n" + chars(50) + "\n" + chars(20)},
        // A blank starts the count again: a line of words is left alone.
        {chars(40) + " " + chars(40), chars(40) + " " + chars(40)},
        {chars(49) + " " + chars(60), chars(49) + " " + chars(50) + "\n" + chars(10)},
        // So does a line break of any form.
        {chars(45) + "\n" + chars(45), chars(45) + "\n" + chars(45)},
        {chars(45) + "\r\n" + chars(45), chars(45) + "\r\n" + chars(45)},
        {chars(45) + "\r" + chars(45), chars(45) + "\r" + chars(45)},
        // Any other character counts, a tab too.
        {chars(30) + "\t" + chars(30), chars(30) + "\t" + chars(19) + "\n" + chars(11)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, wrap(c.text)) << "text of " << c.text.size() << " characters";
}

TEST(PromptTextWrap, WrapsALongCommandOfTheWarningPrompt) {
    std::string command = "C:\\Program" + chars(60, 'x') + "\\tool.exe";
    std::string text = "It's time to execute \"Backup\" task :\n" + command + "\n\nRun it ?";
    std::string expected = "It's time to execute \"Backup\" task :\n" + command.substr(0, 50) +
                           "\n" + command.substr(50) + "\n\nRun it ?";
    EXPECT_EQ(expected, wrap(text));
}

TEST(PromptTextWrap, NullTextIsEmpty) {
    char out[8] = "x";
    EXPECT_EQ(0u, wrapPromptText(nullptr, out, sizeof out));
    EXPECT_STREQ("", out);
}

// Shift-JIS-like lead bytes for the tests: 0x81 to 0x9F.
bool testLeadByte(unsigned char c) { return c >= 0x81 && c <= 0x9F; }

TEST(PromptTextWrap, NeverSplitsADoubleByteCharacter) {
    const std::string wide = "\x82\xA0";  // one character, two bytes, counted as two
    // 49 + 2 reaches the width inside the character: the break follows it.
    EXPECT_EQ(chars(49) + wide + "\n" + "b", wrap(chars(49) + wide + "b", kPromptTextSize, testLeadByte));
    // 25 wide characters fill a line exactly.
    std::string line;
    for (int i = 0; i < 25; ++i) line += wide;
    EXPECT_EQ(line + "\n" + wide, wrap(line + wide, kPromptTextSize, testLeadByte));
    // A lead byte at the end of the text has no trail byte to keep with it.
    EXPECT_EQ("ab\x82", wrap("ab\x82", kPromptTextSize, testLeadByte));
}

TEST(PromptTextCut, TextThatFitsIsKeptWhole) {
    // 11 lines of 50 and their breaks take 561; 38 more make the 599 that fit.
    std::string text = chars(550) + chars(38, ' ');
    std::string result = wrap(text);
    EXPECT_EQ(599u, result.size());
    EXPECT_EQ(text.substr(0, 50) + "\n", result.substr(0, 51));
    EXPECT_EQ(std::string::npos, result.find("..."));
}

TEST(PromptTextCut, LongerTextIsCutWithAMarkerWithinTheBuffer) {
    std::string words;
    while (words.size() < 1023) words += "word ";
    std::string result = wrap(words.substr(0, 1023));
    EXPECT_EQ(599u, result.size());
    EXPECT_EQ(words.substr(0, 596) + "...", result);

    // One character more than fits after wrapping: the inserted breaks count.
    std::string cut = wrap(chars(550) + chars(39, ' '));
    EXPECT_EQ(599u, cut.size());
    EXPECT_EQ("...", cut.substr(596));
}

TEST(PromptTextCut, NeverSplitsALineBreakPairOrADoubleByteCharacter) {
    // Budget of 10 - 1 - 3 = 6 characters before the marker.
    EXPECT_EQ("abcde...", wrap("abcde\r\nfghijk", 10));
    EXPECT_EQ("abcde...", wrap("abcde\x82\xA0ghijk", 10, testLeadByte));
    EXPECT_EQ("abcdef...", wrap("abcdef\x82\xA0ghijk", 10, testLeadByte));
}

TEST(PromptTextCut, TinyBuffersStayTerminated) {
    EXPECT_EQ("", wrap("abc", 1));
    EXPECT_EQ("ab", wrap("abc", 3));
    EXPECT_EQ("...", wrap("abcd", 4));
    EXPECT_EQ("abc", wrap("abc", 4));
    EXPECT_EQ("", wrap("abc", 0));
}

}  // namespace
}  // namespace kzo
