#include "menu_bar_logic.h"

#include <cctype>

namespace kzo {
namespace {

// Virtual-key codes (winuser.h), spelled out to keep this file free of it.
constexpr int kVkReturn = 0x0D;
constexpr int kVkEscape = 0x1B;
constexpr int kVkSpace = 0x20;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;
constexpr int kVkF10 = 0x79;

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

int neighbourButton(const std::vector<bool>& usable, int from, int step) {
    const int count = static_cast<int>(usable.size());
    if (count == 0 || step == 0) return -1;
    if (from < 0 || from >= count) from = step > 0 ? -1 : count;
    int index = from;
    for (int i = 0; i < count; ++i) {
        index = ((index + step) % count + count) % count;
        if (usable[static_cast<std::size_t>(index)]) return index;
    }
    return -1;
}

Mnemonic mnemonicOf(const std::string& text) {
    Mnemonic m;
    int shown = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            ++shown;
            continue;
        }
        if (i + 1 >= text.size()) break;
        if (text[i + 1] == '&') {  // a literal ampersand
            ++i;
            ++shown;
            continue;
        }
        if (m.key == '\0') {
            m.key = lower(text[i + 1]);
            m.underline = shown;
        }
    }
    return m;
}

int mnemonicButton(const std::vector<char>& mnemonics, const std::vector<bool>& usable, char typed) {
    const char key = lower(typed);
    if (key == '\0') return -1;
    for (std::size_t i = 0; i < mnemonics.size() && i < usable.size(); ++i)
        if (usable[i] && mnemonics[i] == key) return static_cast<int>(i);
    return -1;
}

HotKeyAction hotKeyAction(int virtualKey, bool vertical) {
    switch (virtualKey) {
    case kVkEscape:
    case kVkF10:
        return HotKeyAction::Leave;
    case kVkSpace:
    case kVkReturn:
        return HotKeyAction::Open;
    case kVkLeft:
        return vertical ? HotKeyAction::Open : HotKeyAction::Previous;
    case kVkRight:
        return vertical ? HotKeyAction::Open : HotKeyAction::Next;
    case kVkUp:
        return vertical ? HotKeyAction::Previous : HotKeyAction::Open;
    case kVkDown:
        return vertical ? HotKeyAction::Next : HotKeyAction::Open;
    default:
        return HotKeyAction::None;
    }
}

}  // namespace kzo
