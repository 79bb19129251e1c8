#include "about_box.h"

#include <utility>

#include "dialog_base.h"
#include "hyperlink.h"
#include "ui_resource.h"
#include "win_handles.h"

namespace kzo {
namespace {

constexpr int kProgramIcon = 128;

class AboutBox : public DialogBase {
public:
    AboutBox(HINSTANCE module, std::function<void()> credits, const char* mark)
        : module_(module), credits_(std::move(credits)), mark_(mark) {}

protected:
    BOOL onInit() override {
        if (mark_) SetPropA(hwnd(), mark_, reinterpret_cast<HANDLE>(1));
        HICON icon = LoadIconA(module_, MAKEINTRESOURCEA(kProgramIcon));
        SendDlgItemMessageA(hwnd(), IDC_UI_ABOUT_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(icon ? icon : LoadIconA(nullptr, IDI_APPLICATION)), 0);
        makeBold(item(IDC_UI_ABOUT_PRODUCT));
        home_.create(item(IDC_UI_ABOUT_HOME), kAboutHomePage);
        mail_.create(item(IDC_UI_ABOUT_MAIL), kAboutSupportMail);
        EnableWindow(item(IDC_UI_ABOUT_CREDITS), credits_ ? TRUE : FALSE);
        // OK has the focus, not the first link.
        SetFocus(item(IDOK));
        return FALSE;
    }

    void onDestroy() override {
        if (mark_) RemovePropA(hwnd(), mark_);
    }

    bool onCommand(int id, int, HWND) override {
        switch (id) {
        case IDOK:
        case IDCANCEL:
            endDialog(IDOK);
            return true;
        case IDC_UI_ABOUT_CREDITS:
            if (credits_) credits_();
            return true;
        default:
            return false;
        }
    }

private:
    void makeBold(HWND control) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        LOGFONTA lf = {};
        if (!GetObjectA(font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) return;
        lf.lfWeight = FW_BOLD;
        bold_.reset(CreateFontIndirectA(&lf));
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
    }

    HINSTANCE module_;
    std::function<void()> credits_;
    const char* mark_;
    UniqueFont bold_;  // outlives the dialog's controls
    HyperLink home_;
    HyperLink mail_;
};

}  // namespace

INT_PTR showAboutBox(HINSTANCE module, HWND owner, std::function<void()> credits, const char* mark) {
    AboutBox box(module, std::move(credits), mark);
    return box.runModal(module, IDD_UI_ABOUT, owner);
}

}  // namespace kzo
