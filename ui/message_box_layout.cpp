#include "message_box_layout.h"

#include <algorithm>

#include "ui_resource.h"

namespace kzo {
namespace {

unsigned buttonSet(unsigned type) { return type & kMbButtonSetMask; }

bool hasButton(unsigned type, int id) {
    std::vector<int> buttons = messageBoxButtons(type);
    return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

constexpr int kMargin = 16;
constexpr int kIconOrigin = 8;
constexpr int kIconGap = 8;
constexpr int kButtonWidth = 82;
constexpr int kButtonHeight = 25;
constexpr int kButtonPitch = 88;
constexpr int kRowGap = 8;
constexpr int kBottomGap = 8;
constexpr int kMinClientHeight = 70;
constexpr int kCheckBoxX = 17;
constexpr int kCheckBoxBelowRow = 37;
constexpr int kCheckBoxHeight = 16;
// The check mark and its gap need this much beside the text, however short.
constexpr int kCheckMarkRoom = 24;

struct ButtonText {
    int id;
    unsigned stringId;
    const char* english;
};

const ButtonText kButtonTexts[] = {
    {kIdOk, IDS_UI_MB_OK, "OK"},
    {kIdCancel, IDS_UI_MB_CANCEL, "Cancel"},
    {kIdIgnore, IDS_UI_MB_IGNORE, "&Ignore"},
    {kIdRetry, IDS_UI_MB_RETRY, "&Retry"},
    {kIdAbort, IDS_UI_MB_ABORT, "&Abort"},
    {kIdHelp, IDS_UI_MB_HELP, "&Help"},
    {kIdYes, IDS_UI_MB_YES, "&Yes"},
    {kIdNo, IDS_UI_MB_NO, "&No"},
    {kIdContinue, IDS_UI_MB_CONTINUE, "&Continue"},
    {kIdYesToAll, IDS_UI_MB_YES_TO_ALL, "Yes to &All"},
    {kIdNoToAll, IDS_UI_MB_NO_TO_ALL, "No to A&ll"},
};

const ButtonText* findText(int id) {
    for (const ButtonText& t : kButtonTexts)
        if (t.id == id) return &t;
    return nullptr;
}

}  // namespace

std::vector<int> messageBoxButtons(unsigned type) {
    std::vector<int> buttons;
    auto yesNo = [&] {
        buttons.push_back(kIdYes);
        if (type & kMbYesToAll) buttons.push_back(kIdYesToAll);
        buttons.push_back(kIdNo);
        if (type & kMbNoToAll) buttons.push_back(kIdNoToAll);
    };
    switch (buttonSet(type)) {
    case 1: buttons = {kIdOk, kIdCancel}; break;
    case 2: buttons = {kIdAbort, kIdRetry, kIdIgnore}; break;
    case 3:
        yesNo();
        buttons.push_back(kIdCancel);
        break;
    case 4: yesNo(); break;
    case 5: buttons = {kIdRetry, kIdCancel}; break;
    case 8: buttons = {kIdContinue, kIdAbort}; break;
    default: buttons = {kIdOk}; break;
    }
    if (type & kMbHelp) buttons.push_back(kIdHelp);
    return buttons;
}

std::size_t defaultButtonIndex(unsigned type, std::size_t buttonCount) {
    std::size_t index = (type & kMbDefaultMask) >> 8;
    return index < buttonCount ? index : 0;
}

int escapeAnswer(unsigned type) {
    if (hasButton(type, kIdCancel)) return kIdCancel;
    // Every set but the ones listed shows OK alone: Escape can only mean OK.
    std::vector<int> buttons = messageBoxButtons(type & ~kMbHelp);
    if (buttons.size() == 1 && buttons[0] == kIdOk) return kIdOk;
    return 0;
}

unsigned checkBoxResultBits(unsigned type) { return type & kMbCheckMask; }

bool showsPlainMessageBox(unsigned type) {
    return (type & kMbIconMask) == kMbIconStop && (type & kMbSystemModal) != 0;
}

unsigned plainMessageBoxType(unsigned type) {
    unsigned plain = type & 0x00FFFFF0u;
    switch (buttonSet(type)) {
    case 0: case 1: case 2: case 3: case 4: case 5: return plain | buttonSet(type);
    case 8: return plain | 1;  // Continue, Abort as OK, Cancel
    default: return plain;     // OK
    }
}

int plainMessageBoxAnswer(unsigned type, int answer) {
    if (buttonSet(type) != 8) return answer;
    if (answer == kIdOk) return kIdContinue;
    if (answer == kIdCancel) return kIdAbort;
    return answer;
}

unsigned buttonStringId(int buttonId) {
    const ButtonText* t = findText(buttonId);
    return t ? t->stringId : 0;
}

const char* buttonEnglishText(int buttonId) {
    const ButtonText* t = findText(buttonId);
    return t ? t->english : "";
}

unsigned checkBoxStringId(unsigned type) {
    return (type & kMbCheckA) ? IDS_UI_MB_CHECK_A : IDS_UI_MB_CHECK_B;
}

const char* checkBoxEnglishText() { return "&Don't display this message again"; }

int textWidthLimit(int screenWidth, int iconWidth) {
    if (iconWidth > 0) return screenWidth / 2 - iconWidth + 84;
    return screenWidth / 2 + 100;
}

MessageBoxLayout layoutMessageBox(const MessageBoxMetrics& m) {
    MessageBoxLayout layout;
    const bool icon = m.iconWidth > 0 && m.iconHeight > 0;
    int contentBottom = 0;
    int contentRight = 0;
    if (icon) {
        layout.icon = {kIconOrigin, kIconOrigin, m.iconWidth, m.iconHeight};
        contentBottom = kIconOrigin + m.iconHeight;
        contentRight = kIconOrigin + m.iconWidth;
    }
    const int textX = kMargin + (icon ? m.iconWidth + kIconGap : 0);
    layout.text = {textX, kMargin, std::max(m.textWidth, 0), std::max(m.textHeight, 0)};
    contentBottom = std::max(contentBottom, layout.text.y + layout.text.cy);
    contentRight = std::max(contentRight, layout.text.x + layout.text.cx);

    // The row sits 8 below the content, but never so high that the client's
    // minimum height would leave a gap under it.
    const int count = static_cast<int>(std::max<std::size_t>(m.buttonCount, 1));
    const int rowWidth = count * kButtonPitch - (kButtonPitch - kButtonWidth);
    const int rowTop = std::max(contentBottom + kRowGap, kMinClientHeight - kBottomGap - kButtonHeight);

    int width = std::max(contentRight + kMargin, rowWidth + 2 * kMargin);
    int height = rowTop + kButtonHeight + kBottomGap;
    if (m.checkBoxTextWidth >= 0) {
        const int boxWidth = m.checkBoxTextWidth + std::max(m.checkBoxTextWidth / 3, kCheckMarkRoom);
        layout.checkBox = {kCheckBoxX, rowTop + kCheckBoxBelowRow, boxWidth, kCheckBoxHeight};
        width = std::max(width, kCheckBoxX + boxWidth + kMargin);
        height = layout.checkBox.y + kCheckBoxHeight + kBottomGap;
    }
    height = std::max(height, kMinClientHeight);

    const int rowLeft = (width - rowWidth) / 2;
    for (int i = 0; i < count; ++i)
        layout.buttons.push_back({rowLeft + i * kButtonPitch, rowTop, kButtonWidth, kButtonHeight});
    layout.clientWidth = width;
    layout.clientHeight = height;
    return layout;
}

}  // namespace kzo
