// The menu bar's rules: neighbours with wrap-around and skipping, mnemonics,
// and the keys of the hot state.
#include <gtest/gtest.h>

#include <vector>

#include "menu_bar_logic.h"

namespace kzo {
namespace {

TEST(MenuBarLogicTest, NeighbourWrapsAroundAndSkipsUnusableButtons) {
    struct Case {
        std::vector<bool> usable;
        int from, step, expected;
    };
    const Case cases[] = {
        {{true, true, true}, 0, 1, 1},
        {{true, true, true}, 2, 1, 0},
        {{true, true, true}, 0, -1, 2},
        {{true, false, true}, 0, 1, 2},
        {{true, false, false, true}, 3, 1, 0},
        {{true, false, false}, 0, 1, 0},  // the only usable one
        {{true, false, false}, 0, -1, 0},
        {{false, false}, 0, 1, -1},
        {{}, 0, 1, -1},
        {{false, true, true}, -1, 1, 1},  // from nowhere: the first
        {{true, true, false}, -1, -1, 1},  // or the last
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, neighbourButton(c.usable, c.from, c.step)) << c.from << " " << c.step;
}

TEST(MenuBarLogicTest, MnemonicOfAMenuText) {
    struct Case {
        const char* text;
        char key;
        int underline;
    };
    const Case cases[] = {
        {"&File", 'f', 0},        {"Ser&vices", 'v', 3},     {"Save && &Exit", 'e', 7},
        {"&&Both", '\0', -1},     {"Plain", '\0', -1},       {"Trailing&", '\0', -1},
        {"&Help", 'h', 0},        {"A&B&C", 'b', 1},         {"", '\0', -1},
    };
    for (const Case& c : cases) {
        Mnemonic m = mnemonicOf(c.text);
        EXPECT_EQ(c.key, m.key) << c.text;
        EXPECT_EQ(c.underline, m.underline) << c.text;
    }
}

TEST(MenuBarLogicTest, ATypedLetterFindsTheFirstUsableButtonWithItAsMnemonic) {
    const std::vector<char> mnemonics = {'f', 's', 'v', 'g', 'h', 's'};
    const std::vector<bool> all(6, true);
    const std::vector<bool> noView = {true, true, false, true, true, true};
    const std::vector<bool> noFirstS = {true, false, true, true, true, true};
    EXPECT_EQ(1, mnemonicButton(mnemonics, all, 'S'));
    EXPECT_EQ(1, mnemonicButton(mnemonics, all, 's'));
    EXPECT_EQ(-1, mnemonicButton(mnemonics, noView, 'v'));
    EXPECT_EQ(5, mnemonicButton(mnemonics, noFirstS, 's'));
    EXPECT_EQ(-1, mnemonicButton(mnemonics, all, 'x'));
    EXPECT_EQ(-1, mnemonicButton({'\0', 'f'}, {true, true}, '\0'));
}

}  // namespace
}  // namespace kzo
