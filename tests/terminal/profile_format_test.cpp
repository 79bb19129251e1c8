// The profiles file's text: what a load makes of hand-edited files, and what a
// save writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile_format.h"

namespace kzo {
namespace {

using namespace std::string_literals;

std::string names(const std::vector<Profile>& profiles) {
    std::string out;
    for (const Profile& p : profiles) out += "[" + p.name + "|" + p.command + "|" + p.type + "|" + p.comment + "]";
    return out;
}

TEST(ProfileParse, GroupsOfFourLinesWhateverTheFileLooksLike) {
    const std::string longLine(600, 'L');
    const std::string cut(511, 'L');
    struct Case {
        const char* what;
        std::string text;
        std::string parsed;
    } const cases[] = {
        {"empty", "", ""},
        {"one profile", "Edit\r\nnotepad.exe\r\nAPP\r\nA text editor\r\n", "[Edit|notepad.exe|APP|A text editor]"},
        {"seven lines: one profile", "a\r\nb\r\nAPP\r\nc\r\nd\r\ne\r\nf\r\n", "[a|b|APP|c]"},
        {"missing fourth line dropped", "a\r\nb\r\nAPP\r\nc\r\nd\r\ne\r\nMSG\r\n", "[a|b|APP|c]"},
        {"blanks trimmed", "  a  \r\n b \r\nsdn \r\n   \r\n", "[a|b|sdn|]"},
        {"empty fields", "\r\n\r\n\r\n\r\n", "[|||]"},
        {"LF-only line ends", "a\nb\nDOC\nc\n", "[a|b|DOC|c]"},
        {"CR-only line ends", "a\rb\rDOC\rc\r", "[a|b|DOC|c]"},
        {"a stray LF in a CR LF file is a blank", "a\nz\r\nb\r\nDOC\r\nc\r\n", "[a z|b|DOC|c]"},
        {"last line without its line end", "a\r\nb\r\nMSG\r\nlast", "[a|b|MSG|last]"},
        {"trailing blanks are no line", "a\r\nb\r\nMSG\r\nc\r\n  ", "[a|b|MSG|c]"},
        {"NUL bytes read as blanks", "na\0me\r\nb\0\r\nAPP\r\n\0c\r\n"s, "[na me|b|APP|c]"},
        {"600-character lines cut to 511", longLine + "\r\n" + longLine + "\r\nAPP\r\n" + longLine + "\r\n",
         "[" + cut + "|" + cut + "|APP|" + cut + "]"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.parsed, names(parseProfiles(c.text))) << c.what;
    for (const Profile& p : parseProfiles("a\r\nb\r\nc\r\nd\r\n")) EXPECT_EQ(1, p.inUse);
}

TEST(ProfileParse, CutNeverSplitsADoubleByteCharacter) {
    // 510 single bytes, then a double-byte character across the 511th place.
    std::string line = std::string(510, 'a') + "\x81\x40" + "zz";
    auto leadByte = [](unsigned char c) { return c == 0x81; };
    std::vector<Profile> p = parseProfiles(line + "\r\nb\r\nAPP\r\nc\r\n", leadByte);
    ASSERT_EQ(1u, p.size());
    EXPECT_EQ(std::string(510, 'a'), p[0].name);
}

TEST(ProfileFormat, WritesTheProfilesInUseAsFourCrLfLines) {
    std::vector<Profile> profiles = {
        {"Edit", "notepad.exe", "APP", "Two|lines", 1},
        {"Gone", "x.exe", "APP", "", 0},
        {"Off", "SHUTDOWN", "SDN", "", 1},
        {"Odd", "a\r\nb", "MSG", "c\nd", 1},
    };
    EXPECT_EQ("Edit\r\nnotepad.exe\r\nAPP\r\nTwo|lines\r\n"
              "Off\r\nSHUTDOWN\r\nSDN\r\n\r\n"
              "Odd\r\na  b\r\nMSG\r\nc d\r\n",
              formatProfiles(profiles));
    EXPECT_EQ("", formatProfiles({}));
    EXPECT_EQ("", formatProfiles({{"Gone", "x", "APP", "", 0}}));

    std::vector<Profile> back = parseProfiles(formatProfiles(profiles));
    ASSERT_EQ(3u, back.size());
    EXPECT_EQ("Two|lines", back[0].comment);
    EXPECT_EQ("", back[1].comment);
    EXPECT_EQ("a  b", back[2].command);
}

TEST(ProfileTypes, CodesReadUpperCasedAndTrimmed) {
    struct Case {
        const char* code;
        int index;
    } const cases[] = {{"APP", 0}, {"DOC", 1}, {"msg", 2}, {"sdn ", 3}, {"  Sdn", 3},
                       {"XYZ", 0}, {"", 0},    {"S DN", 0}, {"SDNX", 0}};
    for (const Case& c : cases) EXPECT_EQ(c.index, profileTypeIndex(c.code)) << "'" << c.code << "'";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(i, profileTypeIndex(profileTypeCode(i)));
    EXPECT_EQ("APP", profileTypeCode(4));
    EXPECT_EQ("APP", profileTypeCode(-1));
}

TEST(ProfilePicker, CommentBarsBecomeLineBreaksAndTheDialogWantsNameAndCommand) {
    EXPECT_EQ("Two\rwords", pickedComment("Two|words"));
    EXPECT_EQ("\r\r", pickedComment("||"));

    ProfileEntry ok = checkProfileEntry("  Edit ", " notepad.exe ", " note ");
    EXPECT_EQ(0, ok.messageId);
    EXPECT_EQ("Edit", ok.name);
    EXPECT_EQ("notepad.exe", ok.command);
    EXPECT_EQ("note", ok.comment);
    EXPECT_EQ(kMsgNoProfileNameOrCommand, checkProfileEntry("  ", "a", "").messageId);
    EXPECT_EQ(kMsgNoProfileNameOrCommand, checkProfileEntry("a", "", "").messageId);
}

}  // namespace
}  // namespace kzo
