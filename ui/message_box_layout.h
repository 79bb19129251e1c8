// The arithmetic of KZOMessageBox, free of windows.h: which buttons a type word
// asks for and in which order, the default button, what Escape answers, the
// check box and its result bits, and where everything sits in pixels.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kzo {

// The type word keeps the Windows message-box meaning of its low bits
// (button set 0x0F, icon 0xF0, default button 0xF00, system modal 0x1000,
// Help 0x4000) and adds these flags.
constexpr unsigned kMbCheckA = 0x01000000;     // check box, result bit 0x01000000
constexpr unsigned kMbCheckB = 0x02000000;     // check box, result bit 0x02000000
constexpr unsigned kMbYesToAll = 0x04000000;   // Yes/No sets: "Yes to All" after Yes
constexpr unsigned kMbNoToAll = 0x08000000;    // Yes/No sets: "No to All" after No
constexpr unsigned kMbEnglish = 0x10000000;    // built-in English button texts
constexpr unsigned kMbNoBeep = 0x80000000;

constexpr unsigned kMbButtonSetMask = 0x0000000F;
constexpr unsigned kMbIconMask = 0x000000F0;
constexpr unsigned kMbDefaultMask = 0x00000F00;
constexpr unsigned kMbIconStop = 0x00000010;
constexpr unsigned kMbSystemModal = 0x00001000;
constexpr unsigned kMbHelp = 0x00004000;
constexpr unsigned kMbCheckMask = kMbCheckA | kMbCheckB;

// Button identifiers, the results of the box (plus a check-box bit).
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
constexpr int kIdHelp = 9;  // never a result: Help leaves the box open
constexpr int kIdContinue = 10;
constexpr int kIdYesToAll = 11;
constexpr int kIdNoToAll = 12;

// The buttons of the box from left to right; Help comes last.
std::vector<int> messageBoxButtons(unsigned type);

// Index into messageBoxButtons of the default button: the type's 0x000..0x500
// code, or the first button when the code points beyond the buttons present.
std::size_t defaultButtonIndex(unsigned type, std::size_t buttonCount);

// What Escape and the close box answer: Cancel when the box has a Cancel
// button, OK when OK is its only answer, else 0 (ignored, and the system
// menu's Close is greyed).
int escapeAnswer(unsigned type);

// The bits added to the result when the check box is ticked; 0 when the type
// asks for no check box. Both variants asked for at once give one box whose
// tick sets both bits.
unsigned checkBoxResultBits(unsigned type);

// A system-modal stop message goes to the plain Windows message box.
bool showsPlainMessageBox(unsigned type);
// The type word handed to the plain box (this box's own flags removed, a
// button set the plain box lacks replaced by one it has), and its answer
// mapped back to this box's identifiers.
unsigned plainMessageBoxType(unsigned type);
int plainMessageBoxAnswer(unsigned type, int answer);

// String-table number and built-in English text of a button (a kId*).
unsigned buttonStringId(int buttonId);
const char* buttonEnglishText(int buttonId);
// Of the check box's text, for a type that asks for one.
unsigned checkBoxStringId(unsigned type);
const char* checkBoxEnglishText();

// The widest the text may be: half the screen + 100 pixels, or with an icon
// half the screen - the icon's width + 84.
int textWidthLimit(int screenWidth, int iconWidth);

struct MbRect {
    int x = 0, y = 0, cx = 0, cy = 0;
};

// What the layout needs to know, in pixels: the text as measured (wrapped at
// textWidthLimit), the icon (0 x 0 for none), the number of buttons and the
// check box's text width (negative for no check box).
struct MessageBoxMetrics {
    int textWidth = 0, textHeight = 0;
    int iconWidth = 0, iconHeight = 0;
    std::size_t buttonCount = 1;
    int checkBoxTextWidth = -1;
};

struct MessageBoxLayout {
    MbRect icon;  // empty without an icon
    MbRect text;
    std::vector<MbRect> buttons;
    MbRect checkBox;  // empty without a check box
    int clientWidth = 0, clientHeight = 0;
};

// Text at (16, 16), or right of an icon at (8, 8); buttons of 82 x 25, 88 apart,
// centred in a row 8 pixels below text and icon; the check box 37 pixels below
// the top of that row at x = 17; the client at least 70 high and 16 wider than
// every part (32 beside the button row).
MessageBoxLayout layoutMessageBox(const MessageBoxMetrics& metrics);

}  // namespace kzo
