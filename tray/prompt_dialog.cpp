#include "prompt_dialog.h"

#include "product_names.h"

#include <initializer_list>

#include "dialog_base.h"
#include "prompt_state.h"
#include "prompt_text.h"
#include "resource.h"
#include "struct_sizes.h"
#include "win_handles.h"

namespace kzo {
namespace {

constexpr int kCascadePixels = 20;
constexpr DWORD kFlashMs = 500;

class PromptDialog : public DialogBase {
public:
    PromptDialog(const char* text, PromptKind kind, bool topMost) : kind_(kind), topMost_(topMost) {
        wrapPromptText(text, text_, sizeof text_, systemLeadByte);
    }

    const char* text() const { return text_; }

protected:
    BOOL onInit() override {
        greySystemMenu();
        boldenHeading();
        SetDlgItemTextA(hwnd(), textId(), text_);
        SendDlgItemMessageA(hwnd(), iconId(), STM_SETIMAGE, IMAGE_ICON,
                            reinterpret_cast<LPARAM>(promptIcon()));
        cascade();
        if (promptActDlg()) activate();
        // The TopMost pair is system-modal; being topmost is what that means
        // since 32-bit Windows, made sure of here.
        SetWindowPos(hwnd(), topMost_ ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
        return TRUE;
    }

    void onDestroy() override {
        if (cascadeTaken_) releaseCascadeStep();
        cascadeTaken_ = false;
    }

    bool onCommand(int id, int, HWND) override {
        if (id != IDOK && id != IDCANCEL) return false;
        close(id);
        return true;
    }

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        if (message != WM_CTLCOLORSTATIC) return false;
        return paintOnWindowColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                   result);
    }

private:
    bool isWarning() const { return kind_ == PromptKind::Warning; }
    int textId() const { return isWarning() ? IDC_WARNING_TEXT : IDC_MESSAGE_TEXT; }
    int iconId() const { return isWarning() ? IDC_WARNING_ICON : IDC_MESSAGE_ICON; }

    // A dialog cannot be maximised, sized or restored.
    void greySystemMenu() {
        HMENU menu = GetSystemMenu(hwnd(), FALSE);
        if (!menu) return;
        MENUITEMINFOA info = {};
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_STATE;
        info.fState = MFS_GRAYED;
        for (UINT command : {SC_MAXIMIZE, SC_SIZE, SC_RESTORE})
            SetMenuItemInfoA(menu, command, FALSE, &info);
    }

    // The heading's font at weight 700, kept by the dialog object beyond its
    // window. Drawn unsmoothed like the dialog's own bitmap font: where the
    // bold face is a smoothed TrueType substitute, it reads blurred beside it.
    void boldenHeading() {
        HWND heading = item(IDC_HEADING);
        auto font = reinterpret_cast<HFONT>(SendMessageA(heading, WM_GETFONT, 0, 0));
        if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        LOGFONTA description;
        if (GetObjectA(font, sizeof description, &description) != sizeof description) return;
        description.lfWeight = FW_BOLD;
        description.lfQuality = NONANTIALIASED_QUALITY;
        boldFont_.reset(CreateFontIndirectA(&description));
        if (boldFont_) SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    }

    // DS_CENTER has centred the dialog; each dialog already open moves it 20
    // pixels further right and down.
    void cascade() {
        cascadeTaken_ = true;
        int step = takeCascadeStep();
        if (step == 0) return;
        RECT r;
        GetWindowRect(hwnd(), &r);
        SetWindowPos(hwnd(), nullptr, r.left + step * kCascadePixels, r.top + step * kCascadePixels,
                     0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Flashes the caption for half a second, then takes the focus from the
    // current application. The dialog is shown first (the dialog manager would
    // only show it after this handler), or the flash would not be seen.
    void activate() {
        ShowWindow(hwnd(), SW_SHOWNORMAL);
        UpdateWindow(hwnd());
        FlashWindow(hwnd(), TRUE);
        Sleep(kFlashMs);
        FlashWindow(hwnd(), FALSE);
        using SwitchToThisWindowFunction = void(WINAPI*)(HWND, BOOL);
        auto switchTo = boundFunction<SwitchToThisWindowFunction>(GetModuleHandleA("user32"),
                                                                  "SwitchToThisWindow");
        if (switchTo) {
            switchTo(hwnd(), TRUE);
            return;
        }
        ShowWindow(hwnd(), SW_RESTORE);
        BringWindowToTop(hwnd());
        SetActiveWindow(hwnd());
    }

    // The heading, the margin and the text lie on the window colour: the white
    // band at the top of the dialog.
    bool paintOnWindowColour(HDC dc, HWND control, INT_PTR& brush) {
        int id = GetDlgCtrlID(control);
        if (id != IDC_HEADING && id != IDC_MARGIN && id != textId()) return false;
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkMode(dc, OPAQUE);
        brush = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        return true;
    }

    void close(int button) {
        int result = IDOK;
        if (isWarning()) result = button == IDOK ? IDYES : IDNO;
        endDialog(result);
    }

    PromptKind kind_;
    bool topMost_;
    char text_[kPromptTextSize];
    UniqueFont boldFont_;
    bool cascadeTaken_ = false;
};

// The same question in a message box, when the dialog cannot be created.
int askInMessageBox(const char* text, PromptKind kind, bool topMost) {
    UINT style = MB_ICONINFORMATION | (kind == PromptKind::Warning ? MB_YESNO : MB_OK);
    if (topMost) style |= MB_TOPMOST | MB_SYSTEMMODAL;
    int answer = MessageBoxA(nullptr, text, kProductName, style);
    if (kind != PromptKind::Warning) return IDOK;
    return answer == IDYES ? IDYES : IDNO;
}

// The TopMost variant of each template follows it at + 2.
int promptTemplate(PromptKind kind, bool topMost) {
    int base = kind == PromptKind::Warning ? IDD_WARNING : IDD_MESSAGE;
    return base + (topMost ? 2 : 0);
}

}  // namespace

int showPrompt(HWND owner, const char* text, PromptKind kind) {
    bool topMost = promptTopMost();
    PromptDialog dialog(text, kind, topMost);
    INT_PTR result = dialog.runModal(GetModuleHandleA(nullptr), promptTemplate(kind, topMost), owner);
    if (result == -1) return askInMessageBox(dialog.text(), kind, topMost);
    return static_cast<int>(result);
}

}  // namespace kzo
