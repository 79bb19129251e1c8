#include "hyperlink.h"

#include <objbase.h>
#include <intshcut.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "hyperlink_text.h"
#include "kzo_message_box.h"
#include "message_text.h"
#include "shell_folder.h"
#include "string_table.h"
#include "system_error.h"
#include "ui_resource.h"
#include "win_handles.h"

namespace kzo {
namespace {

constexpr GUID kClsidInternetShortcut = {0xFBF23B40, 0xE3F0, 0x101B, {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};
constexpr GUID kIidUniformResourceLocatorA = {
    0xFBF23B80, 0xE3F0, 0x101B, {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};
constexpr int kKeyboardMenuInset = 5;

HCURSOR handCursor() {
    static HCURSOR cursor = [] {
        HCURSOR system = LoadCursorA(nullptr, IDC_HAND);
        return system ? system : LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_UI_HAND));
    }();
    return cursor;
}

// COM on this thread for the length of one call, when it is not there yet.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

// The file made anew with exactly these bytes; false when it cannot be.
bool writeWholeFile(const std::string& path, const std::string& bytes) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool openThroughInternetShortcut(HWND window, const std::string& address) {
    ComScope com;
    IUniformResourceLocatorA* locator = nullptr;
    if (FAILED(CoCreateInstance(kClsidInternetShortcut, nullptr, CLSCTX_INPROC_SERVER, kIidUniformResourceLocatorA,
                                reinterpret_cast<void**>(&locator))) ||
        !locator)
        return false;
    bool opened = false;
    if (SUCCEEDED(locator->SetURL(address.c_str(), 0))) {
        URLINVOKECOMMANDINFOA info = {};
        info.dwcbSize = sizeof info;
        info.dwFlags = IURL_INVOKECOMMAND_FL_ALLOW_UI;
        info.hwndParent = window;
        info.pcszVerb = "open";
        opened = SUCCEEDED(locator->InvokeCommand(&info));
    }
    locator->Release();
    return opened;
}

}  // namespace

bool HyperLink::create(HWND staticControl, const std::string& address) {
    if (!attach(staticControl)) return false;
    address_ = address;
    visited_ = hover_ = pressed_ = false;
    makeFont();
    InvalidateRect(staticControl, nullptr, TRUE);
    return true;
}

COLORREF HyperLink::colour() const {
    if (hover_) return kHover;
    return visited_ ? kVisited : kUnvisited;
}

std::string HyperLink::labelText() const {
    int length = GetWindowTextLengthA(hwnd());
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    int n = GetWindowTextA(hwnd(), &text[0], length + 1);
    text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return text;
}

void HyperLink::makeFont() {
    HFONT base = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    LOGFONTA lf = {};
    if (!GetObjectA(base ? static_cast<HGDIOBJ>(base) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) return;
    lf.lfUnderline = TRUE;
    font_.reset(CreateFontIndirectA(&lf));
}

void HyperLink::paint(HDC dc) {
    RECT client = {};
    GetClientRect(hwnd(), &client);
    // The parent's background for statics, so the label sits on what is
    // around it (a white band, a dialog, a themed page).
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(hwnd()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    UINT format = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
    if ((style & SS_TYPEMASK) == SS_CENTER) format |= DT_CENTER;
    if ((style & SS_TYPEMASK) == SS_RIGHT) format |= DT_RIGHT;
    const std::string text = labelText();
    HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(hwnd()) ? colour() : GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, format);
    if (GetFocus() == hwnd()) {
        RECT textRect = client;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, format | DT_CALCRECT);
        // DT_CALCRECT keeps the left edge: move the box to where the text sits.
        const int width = textRect.right - textRect.left, height = textRect.bottom - textRect.top;
        if (format & DT_CENTER) textRect.left = client.left + (client.right - client.left - width) / 2;
        if (format & DT_RIGHT) textRect.left = client.right - width;
        textRect.top = client.top + (client.bottom - client.top - height) / 2;
        textRect.right = textRect.left + width;
        textRect.bottom = textRect.top + height;
        DrawFocusRect(dc, &textRect);
    }
    SelectObject(dc, old);
}

void HyperLink::setHover(bool hover) {
    if (hover_ == hover) return;
    hover_ = hover;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void HyperLink::onMouseMove(POINT client) {
    RECT r = {};
    GetClientRect(hwnd(), &r);
    const bool inside = PtInRect(&r, client) != FALSE;
    if (inside) {
        SetCursor(handCursor());
        if (!hover_) {
            setHover(true);
            SetCapture(hwnd());
        }
    } else if (hover_ && !pressed_) {
        setHover(false);
        if (GetCapture() == hwnd()) ReleaseCapture();
    } else if (hover_) {
        setHover(false);  // keep the capture until the button comes up
    }
}

void HyperLink::report(unsigned stringId, const char* english, const std::string& detail) {
    std::string text = fillMessage(loadString(stringId, english), {address_, detail});
    KZOMessageBox(GetParent(hwnd()), text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

bool HyperLink::open() {
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool opened = openThroughInternetShortcut(hwnd(), address_);
    DWORD error = 0;
    if (!opened) {
        auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(hwnd(), "open", address_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        opened = result > 32;
        if (!opened) error = result == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : lastErrorOr(static_cast<DWORD>(result));
    }
    SetCursor(old);
    if (!opened) {
        report(IDS_UI_LINK_OPEN_FAILED, "The address \"%s\" could not be opened.\r\n\r\n%s", systemErrorText(error));
        return false;
    }
    visited_ = true;
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}

void HyperLink::copyShortcut() {
    DWORD error = 0;
    if (OpenClipboard(hwnd())) {
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, address_.size() + 1);
        if (char* text = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr) {
            lstrcpynA(text, address_.c_str(), static_cast<int>(address_.size() + 1));
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_TEXT, memory)) {
                error = lastErrorOr(ERROR_CLIPBOARD_NOT_OPEN);
                GlobalFree(memory);
            }
        } else {
            error = ERROR_NOT_ENOUGH_MEMORY;
            if (memory) GlobalFree(memory);
        }
        CloseClipboard();
    } else {
        error = lastErrorOr(ERROR_CLIPBOARD_NOT_OPEN);
    }
    if (error) report(IDS_UI_LINK_CLIPBOARD_FAILED, "The address \"%s\" could not be copied.\r\n\r\n%s", systemErrorText(error));
}

void HyperLink::addShortcut(int folder) {
    std::string file;
    bool written = false;
    std::string path = shellFolderPath(folder, true);
    if (!path.empty()) {
        file = path + "\\" + internetShortcutFileName(labelText());
        written = writeWholeFile(file, internetShortcutContents(address_));
    }
    if (!written)
        report(IDS_UI_LINK_SHORTCUT_FAILED, "The shortcut to \"%s\" could not be created:\r\n%s",
               file.empty() ? std::string("(no folder)") : file);
}

void HyperLink::showContextMenu(LPARAM screenPoint) {
    POINT at = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) {  // from the keyboard
        at = {kKeyboardMenuInset, kKeyboardMenuInset};
        ClientToScreen(hwnd(), &at);
    }
    if (GetCapture() == hwnd()) ReleaseCapture();
    pressed_ = false;
    setHover(false);
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_UI_HYPERLINK));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    SetMenuDefaultItem(popup, ID_UI_LINK_OPEN, FALSE);
    const int chosen = static_cast<int>(
        TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, hwnd(), nullptr));
    DestroyMenu(menu);
    command(chosen);
}

void HyperLink::command(int id) {
    switch (id) {
    case ID_UI_LINK_OPEN: open(); break;
    case ID_UI_LINK_COPY: copyShortcut(); break;
    case ID_UI_LINK_FAVORITES: addShortcut(CSIDL_FAVORITES); break;
    case ID_UI_LINK_DESKTOP: addShortcut(CSIDL_DESKTOPDIRECTORY); break;
    case ID_UI_LINK_PROPERTIES: CHLinkSheet(labelText(), address_).run(GetParent(hwnd())); break;
    default: break;
    }
}

LRESULT HyperLink::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        paint(dc);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        SetCursor(handCursor());
        return TRUE;
    case WM_MOUSEMOVE:
        onMouseMove(p);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd()) {
            pressed_ = false;
            setHover(false);
        }
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        return 0;
    case WM_LBUTTONUP: {
        const bool click = pressed_ && hover_;
        pressed_ = false;
        if (!hover_ && GetCapture() == hwnd()) ReleaseCapture();
        if (click) open();
        return 0;
    }
    case WM_CONTEXTMENU:
        showContextMenu(lParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) open();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(hwnd(), nullptr, TRUE);
        return callNext(message, wParam, lParam);
    case WM_SETFONT: {
        LRESULT result = callNext(message, wParam, lParam);
        makeFont();
        InvalidateRect(hwnd(), nullptr, TRUE);
        return result;
    }
    case WM_SETTEXT: {
        LRESULT result = callNext(message, wParam, lParam);
        InvalidateRect(hwnd(), nullptr, TRUE);
        return result;
    }
    default:
        return callNext(message, wParam, lParam);
    }
}

BOOL CHLinkPage::onInit() {
    SetDlgItemTextA(hwnd(), IDC_UI_HLINK_NAME, name_.c_str());
    SetDlgItemTextA(hwnd(), IDC_UI_HLINK_ADDRESS, address_.c_str());
    SendDlgItemMessageA(hwnd(), IDC_UI_HLINK_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_APPLICATION)), 0);
    return TRUE;
}

INT_PTR CHLinkSheet::run(HWND owner) {
    std::vector<PROPSHEETPAGEA> pages = {page_.page(GetModuleHandleA(nullptr), IDD_UI_HLINK_PAGE)};
    return runPropertySheet(owner, name_, pages, PSH_PROPTITLE);
}

}  // namespace kzo
