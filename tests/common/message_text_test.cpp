// The filling and the bound of the Executor's message texts.
#include <gtest/gtest.h>

#include <string>

#include "message_text.h"

namespace kzo {
namespace {

TEST(MessageText, FillsEachPlaceholderInOrder) {
    EXPECT_EQ("It's time to execute \"Backup\" task :\nbackup.exe\n\nRun it ?",
              fillMessage("It's time to execute \"%s\" task :\n%s\n\nRun it ?", {"Backup", "backup.exe"}));
    EXPECT_EQ("a-b-c", fillMessage("%s-%s-%s", {"a", "b", "c"}));
}

TEST(MessageText, OnlyPercentSIsAPlaceholder) {
    // Values are never read as formats, and a format asking for more values
    // than given, or for other kinds, reads nothing beyond them.
    EXPECT_EQ("100% of %d: %n", fillMessage("100%% of %d: %s", {"%n"}));
    EXPECT_EQ("one, ", fillMessage("%s, %s", {"one"}));
    EXPECT_EQ("end %", fillMessage("end %", {}));
    EXPECT_EQ("x", fillMessage("x", {"unused"}));
}

TEST(MessageText, FillsOneNumber) {
    EXPECT_EQ("Profile 3", fillNumber("Profile %u", 3));
    EXPECT_EQ(" 0 profiles.", fillNumber(" %u profiles.", 0));
    EXPECT_EQ("Task 12", fillNumber("Task %d", 12));
    // Only the first number placeholder; nothing else is read as a format.
    EXPECT_EQ("7 and %u, 100% %s", fillNumber("%d and %u, 100%% %s", 7));
    EXPECT_EQ("none", fillNumber("none", 5));
    EXPECT_EQ("end %", fillNumber("end %", 5));
}

TEST(MessageText, IsCutToTheBufferAtWholeCharacters) {
    std::string longCommand(2000, 'c');
    std::string text = fillMessage("Unable to execute \"%s\" task :\n%s\n%s", {"T", longCommand, "why"});
    EXPECT_EQ(kMessageTextLength, text.size());
    EXPECT_EQ(0u, text.find("Unable to execute \"T\" task :\ncc"));

    // Never between the bytes of a line break or of a double-byte character.
    EXPECT_EQ("ab", fillMessage("ab\r\ncd", {}, 3));
    EXPECT_EQ("ab\r\n", fillMessage("ab\r\ncd", {}, 4));
    auto lead = [](unsigned char c) { return c == 0x82; };
    EXPECT_EQ("ab", fillMessage("ab\x82\xA0", {}, 3, lead));
    EXPECT_EQ("ab\x82\xA0", fillMessage("ab\x82\xA0z", {}, 4, lead));
    EXPECT_EQ("", fillMessage("%s", {"abc"}, 0));
}

}  // namespace
}  // namespace kzo
