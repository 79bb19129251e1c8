// The message box's arithmetic: buttons and their order, the default button,
// Escape, the check box's result bits, the plain-box fallback and the layout.
#include <gtest/gtest.h>

#include <vector>

#include "message_box_layout.h"

namespace kzo {
namespace {

TEST(MessageBoxLayoutTest, ButtonSetsAndTheirOrder) {
    struct Case {
        unsigned type;
        std::vector<int> buttons;
    };
    const Case cases[] = {
        {0, {kIdOk}},
        {1, {kIdOk, kIdCancel}},
        {2, {kIdAbort, kIdRetry, kIdIgnore}},
        {3, {kIdYes, kIdNo, kIdCancel}},
        {3 | kMbYesToAll | kMbNoToAll, {kIdYes, kIdYesToAll, kIdNo, kIdNoToAll, kIdCancel}},
        {4, {kIdYes, kIdNo}},
        {4 | kMbYesToAll | kMbNoToAll, {kIdYes, kIdYesToAll, kIdNo, kIdNoToAll}},
        {4 | kMbYesToAll, {kIdYes, kIdYesToAll, kIdNo}},
        {4 | kMbNoToAll, {kIdYes, kIdNo, kIdNoToAll}},
        {5, {kIdRetry, kIdCancel}},
        {8, {kIdContinue, kIdAbort}},
        {6, {kIdOk}},
        {7, {kIdOk}},
        {9, {kIdOk}},
        {15, {kIdOk}},
        {1 | kMbYesToAll | kMbNoToAll, {kIdOk, kIdCancel}},  // only Yes/No sets get them
        {0 | kMbHelp, {kIdOk, kIdHelp}},
        {3 | kMbYesToAll | kMbHelp | 0x30, {kIdYes, kIdYesToAll, kIdNo, kIdCancel, kIdHelp}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.buttons, messageBoxButtons(c.type)) << std::hex << c.type;
}

TEST(MessageBoxLayoutTest, DefaultButtonBeyondTheButtonsIsTheFirst) {
    struct Case {
        unsigned type;
        std::size_t index;
    };
    const Case cases[] = {
        {1 | 0x300, 0}, {1 | 0x100, 1}, {1 | 0x200, 0},
        {3 | kMbYesToAll | kMbNoToAll | 0x400, 4}, {3 | kMbYesToAll | kMbNoToAll | 0x500, 0},
        {4 | 0x100, 1}, {0 | kMbHelp | 0x100, 1}, {2 | 0xF00, 0}, {0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.index, defaultButtonIndex(c.type, messageBoxButtons(c.type).size())) << std::hex << c.type;
}

TEST(MessageBoxLayoutTest, EscapeAnswersCancelOrOkOrNothing) {
    struct Case {
        unsigned type;
        int answer;
    };
    const Case cases[] = {
        {0, kIdOk}, {0 | kMbHelp, kIdOk}, {6, kIdOk}, {15, kIdOk},
        {1, kIdCancel}, {3, kIdCancel}, {3 | kMbYesToAll | kMbNoToAll, kIdCancel}, {5, kIdCancel},
        {2, 0}, {4, 0}, {4 | kMbYesToAll | kMbNoToAll, 0}, {8, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.answer, escapeAnswer(c.type)) << std::hex << c.type;
}

TEST(MessageBoxLayoutTest, CheckBoxResultBitsAndText) {
    struct Case {
        unsigned type;
        unsigned bits;
        unsigned stringId;
    };
    const Case cases[] = {
        {4, 0, 0},
        {4 | kMbCheckA, 0x01000000, 9010},
        {4 | kMbCheckB | kMbYesToAll, 0x02000000, 9011},
        {0 | kMbCheckA | kMbCheckB, 0x03000000, 9010},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.bits, checkBoxResultBits(c.type)) << std::hex << c.type;
        if (c.bits) {
            EXPECT_EQ(c.stringId, checkBoxStringId(c.type)) << std::hex << c.type;
        }
    }
    EXPECT_STREQ("&Don't display this message again", checkBoxEnglishText());
}

TEST(MessageBoxLayoutTest, SystemModalStopGoesToThePlainBoxWithItsOwnButtons) {
    EXPECT_TRUE(showsPlainMessageBox(0x1010));
    EXPECT_TRUE(showsPlainMessageBox(0x1014 | kMbCheckB));
    EXPECT_FALSE(showsPlainMessageBox(0x1030));  // exclamation
    EXPECT_FALSE(showsPlainMessageBox(0x0010));
    EXPECT_FALSE(showsPlainMessageBox(0x1000));
    struct Case {
        unsigned type;
        unsigned plain;
    };
    const Case cases[] = {
        {0x1010 | 4 | kMbCheckB | kMbYesToAll | kMbNoBeep, 0x1014},
        {0x1010 | 8, 0x1011},
        {0x1010 | 6 | kMbHelp, 0x5010},
        {0x1010 | 2 | 0x200, 0x1212},
    };
    for (const Case& c : cases) EXPECT_EQ(c.plain, plainMessageBoxType(c.type)) << std::hex << c.type;
    EXPECT_EQ(kIdContinue, plainMessageBoxAnswer(0x1018, kIdOk));
    EXPECT_EQ(kIdAbort, plainMessageBoxAnswer(0x1018, kIdCancel));
    EXPECT_EQ(kIdCancel, plainMessageBoxAnswer(0x1011, kIdCancel));
}

TEST(MessageBoxLayoutTest, TextWidthLimit) {
    EXPECT_EQ(612, textWidthLimit(1024, 0));
    EXPECT_EQ(564, textWidthLimit(1024, 32));
    EXPECT_EQ(452, textWidthLimit(800, 32));
}

MbRect rect(int x, int y, int cx, int cy) { return MbRect{x, y, cx, cy}; }
bool same(const MbRect& a, const MbRect& b) { return a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy; }

TEST(MessageBoxLayoutTest, LayoutOfTextIconButtonsAndCheckBox) {
    struct Case {
        const char* what;
        MessageBoxMetrics metrics;
        MbRect text, icon, firstButton, lastButton, checkBox;
        int width, height;
    };
    const Case cases[] = {
        {"one line, one button: the minimum height",
         {100, 13, 0, 0, 1, -1},
         rect(16, 16, 100, 13), rect(0, 0, 0, 0), rect(25, 37, 82, 25), rect(25, 37, 82, 25), rect(0, 0, 0, 0), 132, 70},
        {"icon, two lines, four buttons: the row sets the width",
         {200, 26, 32, 32, 4, -1},
         rect(56, 16, 200, 26), rect(8, 8, 32, 32), rect(16, 50, 82, 25), rect(280, 50, 82, 25), rect(0, 0, 0, 0), 378, 83},
        {"icon taller than the text",
         {300, 13, 32, 32, 2, -1},
         rect(56, 16, 300, 13), rect(8, 8, 32, 32), rect(101, 48, 82, 25), rect(189, 48, 82, 25), rect(0, 0, 0, 0), 372, 81},
        {"check box below the row",
         {300, 13, 0, 0, 2, 180},
         rect(16, 16, 300, 13), rect(0, 0, 0, 0), rect(81, 37, 82, 25), rect(169, 37, 82, 25), rect(17, 74, 240, 16), 332, 98},
        {"check box wider than the text",
         {40, 13, 0, 0, 1, 300},
         rect(16, 16, 40, 13), rect(0, 0, 0, 0), rect(175, 37, 82, 25), rect(175, 37, 82, 25), rect(17, 74, 400, 16), 433, 98},
        {"a short check box text still holds the mark",
         {200, 13, 0, 0, 1, 30},
         rect(16, 16, 200, 13), rect(0, 0, 0, 0), rect(75, 37, 82, 25), rect(75, 37, 82, 25), rect(17, 74, 54, 16), 232, 98},
        {"tall text",
         {100, 300, 0, 0, 1, -1},
         rect(16, 16, 100, 300), rect(0, 0, 0, 0), rect(25, 324, 82, 25), rect(25, 324, 82, 25), rect(0, 0, 0, 0), 132, 357},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageBoxLayout l = layoutMessageBox(c.metrics);
        EXPECT_TRUE(same(c.text, l.text));
        EXPECT_TRUE(same(c.icon, l.icon));
        ASSERT_EQ(c.metrics.buttonCount, l.buttons.size());
        EXPECT_TRUE(same(c.firstButton, l.buttons.front()));
        EXPECT_TRUE(same(c.lastButton, l.buttons.back()));
        EXPECT_TRUE(same(c.checkBox, l.checkBox));
        EXPECT_EQ(c.width, l.clientWidth);
        EXPECT_EQ(c.height, l.clientHeight);
    }
}

}  // namespace
}  // namespace kzo
