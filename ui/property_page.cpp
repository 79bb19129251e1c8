#include "property_page.h"

#include <shellapi.h>

#include <utility>

#include "struct_sizes.h"
#include "win_handles.h"

namespace kzo {

PROPSHEETPAGEA PropertyPage::page(HINSTANCE module, int templateId, const char* tabTitle) {
    title_ = tabTitle ? tabTitle : "";
    PROPSHEETPAGEA p = {};
    p.dwSize = commonControlsKnow471() ? kPropSheetPageSize471 : kPropSheetPageSize400;
    p.dwFlags = PSP_DEFAULT | (tabTitle ? PSP_USETITLE : 0);
    p.hInstance = module;
    p.pszTemplate = MAKEINTRESOURCEA(templateId);
    p.pszTitle = tabTitle ? title_.c_str() : nullptr;
    p.pfnDlgProc = dialogProc;
    p.lParam = reinterpret_cast<LPARAM>(this);
    return p;
}

bool commonControlsKnow471() {
    // DllGetVersion came with comctl32 4.71.
    return boundAddress(GetModuleHandleA("comctl32.dll"), "DllGetVersion") != nullptr;
}

std::vector<HPROPSHEETPAGE> createPages(const std::vector<PROPSHEETPAGEA>& pages) {
    std::vector<HPROPSHEETPAGE> handles;
    for (const PROPSHEETPAGEA& description : pages) {
        PROPSHEETPAGEA page = description;
        if (!commonControlsKnow471()) page.dwSize = kPropSheetPageSize400;
        HPROPSHEETPAGE handle = CreatePropertySheetPageA(&page);
        if (!handle) {
            for (HPROPSHEETPAGE made : handles) DestroyPropertySheetPage(made);
            return {};
        }
        handles.push_back(handle);
    }
    return handles;
}

std::exception_ptr PropertyPage::takeFailure() { return std::exchange(failure_, nullptr); }

bool PropertyPage::onCommand(int, int, HWND) { return false; }
bool PropertyPage::onNotify(const NMHDR&, LRESULT&) { return false; }
bool PropertyPage::onDropFiles(HDROP) { return false; }
bool PropertyPage::onMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void PropertyPage::setModified(bool modified) {
    if (HWND s = sheet()) SendMessageA(s, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd_), 0);
}

void PropertyPage::setWizardButtons(DWORD flags) {
    if (HWND s = sheet()) PostMessageA(s, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

INT_PTR CALLBACK PropertyPage::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PropertyPage*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<PropertyPage*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    if (self && message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return FALSE;
    }
    if (!self || self->failure_) return FALSE;
    try {
        return self->route(message, wParam, lParam);
    } catch (...) {
        self->failure_ = std::current_exception();
        // A modal sheet ends as if cancelled; a child sheet's host asks failed().
        if (HWND s = self->sheet()) PostMessageA(s, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return FALSE;
    }
}

bool PropertyPage::pageNotification(const NMHDR& header, LRESULT& answer) {
    switch (header.code) {
    case PSN_SETACTIVE: answer = onSetActive() ? 0 : -1; return true;
    case PSN_KILLACTIVE: answer = onKillActive() ? FALSE : TRUE; return true;
    case PSN_APPLY: answer = onApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; return true;
    case PSN_WIZNEXT: answer = onWizardNext(); return true;
    case PSN_WIZBACK: answer = onWizardBack(); return true;
    case PSN_WIZFINISH: answer = onWizardFinish() ? FALSE : TRUE; return true;
    case PSN_QUERYCANCEL: answer = onQueryCancel() ? FALSE : TRUE; return true;
    case PSN_RESET: onReset(); answer = 0; return true;
    case PSN_HELP: onHelp(); answer = 0; return true;
    default: return false;
    }
}

INT_PTR PropertyPage::route(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInit();
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        LRESULT answer = 0;
        const bool fromSheet = header.hwndFrom == sheet();
        if (!(fromSheet && pageNotification(header, answer)) && !onNotify(header, answer)) return FALSE;
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    case WM_DROPFILES: {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        onDropFiles(drop);
        DragFinish(drop);
        return TRUE;
    }
    case WM_DESTROY:
        onDestroy();
        return FALSE;
    default: {
        INT_PTR result = FALSE;
        return onMessage(message, wParam, lParam, result) ? result : FALSE;
    }
    }
}

namespace {

void rethrowPageFailure(const std::vector<PROPSHEETPAGEA>& pages) {
    for (const PROPSHEETPAGEA& p : pages)
        if (auto* page = reinterpret_cast<PropertyPage*>(p.lParam))
            if (std::exception_ptr failure = page->takeFailure()) std::rethrow_exception(failure);
}

INT_PTR runSheet(HWND owner, const std::string& caption, std::vector<PROPSHEETPAGEA>& pages, DWORD flags) {
    std::vector<HPROPSHEETPAGE> handles = createPages(pages);
    if (handles.empty()) return -1;
    PROPSHEETHEADERA header = {};
    header.dwSize = kPropSheetHeaderSize400;
    header.dwFlags = flags;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.phpage = handles.data();
    INT_PTR result = PropertySheetA(&header);
    rethrowPageFailure(pages);
    return result;
}

// The sheet's own dialog template turned into a child's: no caption or frame,
// a tab stop, a control parent (so that Tab walks into its pages).
int CALLBACK childSheetCallback(HWND, UINT message, LPARAM lParam) {
    if (message != PSCB_PRECREATE || !lParam) return 0;
    auto* words = reinterpret_cast<WORD*>(lParam);
    DWORD* style;
    DWORD* exStyle;
    if (words[0] == 1 && words[1] == 0xFFFF) {  // DLGTEMPLATEEX: version, signature, help id, ex style, style
        exStyle = reinterpret_cast<DWORD*>(words + 4);
        style = reinterpret_cast<DWORD*>(words + 6);
    } else {
        style = &reinterpret_cast<DLGTEMPLATE*>(lParam)->style;
        exStyle = &reinterpret_cast<DLGTEMPLATE*>(lParam)->dwExtendedStyle;
    }
    *style &= ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME);
    *style |= WS_CHILD | WS_TABSTOP | DS_CONTROL | WS_CLIPSIBLINGS;
    *exStyle &= ~static_cast<DWORD>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_APPWINDOW);
    *exStyle |= WS_EX_CONTROLPARENT;
    return 0;
}

}  // namespace

INT_PTR runPropertySheet(HWND owner, const std::string& caption, std::vector<PROPSHEETPAGEA> pages,
                         DWORD extraFlags, bool withApply) {
    return runSheet(owner, caption, pages, extraFlags | (withApply ? 0 : PSH_NOAPPLYNOW));
}

INT_PTR runWizard(HWND owner, const std::string& caption, std::vector<PROPSHEETPAGEA> pages, DWORD extraFlags) {
    return runSheet(owner, caption, pages, PSH_WIZARD | extraFlags);
}

HWND createChildSheet(HWND dialog, HWND placeholder, POINT offset, const std::vector<PROPSHEETPAGEA>& sheetPages,
                      int startPage, bool hotTrackTabs) {
    if (!IsWindow(dialog) || sheetPages.empty()) return nullptr;
    std::vector<HPROPSHEETPAGE> pages = createPages(sheetPages);
    if (pages.empty()) return nullptr;
    PROPSHEETHEADERA header = {};
    header.dwSize = kPropSheetHeaderSize400;
    header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.hwndParent = dialog;
    header.hInstance = GetModuleHandleA(nullptr);
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = static_cast<UINT>(startPage >= 0 && startPage < static_cast<int>(pages.size()) ? startPage : 0);
    header.phpage = pages.data();
    header.pfnCallback = childSheetCallback;
    HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    if (!sheet || sheet == reinterpret_cast<HWND>(-1)) return nullptr;

    // The host dialog has its own OK, Cancel and Help.
    for (int id : {IDOK, IDCANCEL, IDHELP, 0x3021 /* Apply */})
        if (HWND button = GetDlgItem(sheet, id)) {
            ShowWindow(button, SW_HIDE);
            EnableWindow(button, FALSE);
        }
    HWND tab = PropSheet_GetTabControl(sheet);
    RECT tabRect = {};
    if (tab) {
        GetWindowRect(tab, &tabRect);
        MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&tabRect), 2);
        if (hotTrackTabs) SetWindowLongPtrA(tab, GWL_STYLE, GetWindowLongPtrA(tab, GWL_STYLE) | TCS_HOTTRACK);
    }
    RECT place = {};
    if (placeholder) {
        GetWindowRect(placeholder, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    }
    RECT client = {};
    GetClientRect(sheet, &client);
    const int width = tab ? tabRect.right + tabRect.left : client.right;
    const int height = tab ? tabRect.bottom + tabRect.top : client.bottom;
    SetWindowPos(sheet, placeholder ? placeholder : HWND_TOP, place.left + offset.x, place.top + offset.y, width,
                 height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return sheet;
}

bool applyChildSheet(HWND sheet) {
    return IsWindow(sheet) && SendMessageA(sheet, PSM_APPLY, 0, 0) != FALSE;
}

void cancelChildSheet(HWND sheet) {
    if (IsWindow(sheet)) SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

}  // namespace kzo
