// The menu bar's keyboard and switching rules, free of windows.h: moving to the
// neighbouring button with wrap-around past hidden and disabled ones, the
// mnemonic of an item text, the button a typed letter opens, and what a key
// does while a button is hot.
#pragma once

#include <string>
#include <vector>

namespace kzo {

// The next usable button from `from` in direction step (+1 right/down, -1
// left/up), wrapping around; `from` itself when it is the only usable one;
// -1 when none is usable.
int neighbourButton(const std::vector<bool>& usable, int from, int step);

// The mnemonic of a menu text: the character after a single "&" ("&&" is a
// literal ampersand), lower-cased ('\0' when there is none), and its position
// in the text as shown (the ampersands removed; -1 when none).
struct Mnemonic {
    char key = '\0';
    int underline = -1;
};
Mnemonic mnemonicOf(const std::string& text);

// The first usable button whose mnemonic is the typed character, compared
// without regard to case; -1 when none.
int mnemonicButton(const std::vector<char>& mnemonics, const std::vector<bool>& usable, char typed);

// What a key does while a button is hot (tracking state 1). Keys are Windows
// virtual-key codes.
enum class HotKeyAction { None, Leave, Previous, Next, Open };
HotKeyAction hotKeyAction(int virtualKey, bool vertical);

}  // namespace kzo
