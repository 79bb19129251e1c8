#include "menu_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "late_user_calls.h"
#include "menu_bar_logic.h"
#include "struct_sizes.h"

namespace kzo {
namespace {

constexpr char kBarClass[] = "KZOMenuBar";
constexpr int kTextRoom = 10;      // beside a button's text
constexpr int kMaxItemText = 256;

// The bar whose popup is open on this thread, for the message-filter hook.
thread_local CMenuBar* activeBar = nullptr;

bool registerBarClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, kBarClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kBarClass;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool systemFlag(UINT action) {
    BOOL value = FALSE;
    return SystemParametersInfoA(action, 0, &value, 0) && value;
}

bool keyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// Paints the part of the parent (the rebar) behind the bar where a visual
// style draws it; false where the system has none.
bool paintParentBackground(HWND window, HDC dc, const RECT& r) {
    using Fn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
    using ActiveFn = BOOL(WINAPI*)();
    static HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    static auto draw = boundFunction<Fn>(uxtheme, "DrawThemeParentBackground");
    static auto active = boundFunction<ActiveFn>(uxtheme, "IsAppThemed");
    return draw && active && active() && SUCCEEDED(draw(window, dc, &r));
}

}  // namespace

UINT CMenuBar::setMenuNullMessage() {
    static UINT message = RegisterWindowMessageA("CMenuBar::MB_SET_MENU_NULL");
    return message;
}

UINT CMenuBar::getMenuMessage() {
    static UINT message = RegisterWindowMessageA("CMenuBar::WM_GETMENU");
    return message;
}

CMenuBar::CMenuBar() : frameHook_(*this) {}

CMenuBar::~CMenuBar() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (activeBar == this) activeBar = nullptr;
    frameHook_.detach();
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    if (menu_) DestroyMenu(menu_);
}

bool CMenuBar::create(HWND frame, HWND parent, HINSTANCE module, int menuId) {
    if (window_ || !IsWindow(frame) || !IsWindow(parent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registerBarClass(instance, barProc)) return false;
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(menuId));
    if (!menu) return false;
    frame_ = frame;
    menu_ = menu;
    loadButtons();
    measure();
    const SIZE size = idealSize();
    window_ = CreateWindowExA(0, kBarClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, size.cx, size.cy,
                              parent, nullptr, instance, this);
    if (!window_) {
        DWORD error = GetLastError();
        DestroyMenu(menu_);
        menu_ = nullptr;
        frame_ = nullptr;
        buttons_.clear();
        SetLastError(error);
        return false;
    }
    frameHook_.attach(frame);
    if (GetMenu(frame))
        PostMessageA(window_, setMenuNullMessage(), reinterpret_cast<WPARAM>(frame), 0);
    return true;
}

void CMenuBar::loadButtons() {
    buttons_.clear();
    const int count = GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        char text[kMaxItemText + 1] = {};
        MENUITEMINFOA info = {};
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_TYPE | MIIM_SUBMENU | MIIM_ID | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = kMaxItemText;
        if (!GetMenuItemInfoA(menu_, static_cast<UINT>(i), TRUE, &info)) continue;
        Button button;
        if (!(info.fType & MFT_SEPARATOR)) button.text = text;
        button.popup = info.hSubMenu;
        button.command = info.wID;
        button.mnemonic = mnemonicOf(button.text).key;
        button.enabled = !(info.fState & MFS_DISABLED) && !(info.fType & MFT_SEPARATOR);
        buttons_.push_back(button);
    }
}

void CMenuBar::measure() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font_.reset(CreateFontIndirectA(&metrics.lfMenuFont));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    for (Button& button : buttons_) {
        RECT r = {0, 0, 0, 0};
        if (!button.text.empty())
            DrawTextA(dc, button.text.c_str(), static_cast<int>(button.text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
        button.width = button.text.empty() ? 0 : r.right - r.left + kTextRoom;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    buttonHeight_ = tm.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
}

bool CMenuBar::vertical() const {
    HWND parent = window_ ? GetParent(window_) : nullptr;
    return parent && (GetWindowLongPtrA(parent, GWL_STYLE) & CCS_VERT) != 0;
}

SIZE CMenuBar::idealSize() const {
    SIZE size = {0, buttonHeight_};
    if (vertical()) {
        size.cy = 0;
        for (const Button& b : buttons_) {
            size.cx = std::max(size.cx, static_cast<LONG>(b.width));
            if (b.width > 0) size.cy += buttonHeight_;
        }
        return size;
    }
    for (const Button& b : buttons_) size.cx += b.width;
    return size;
}

RECT CMenuBar::buttonRect(int index) const {
    RECT r = {};
    if (index < 0 || index >= buttonCount()) return r;
    const bool down = vertical();
    const SIZE whole = idealSize();
    int offset = 0;
    for (int i = 0; i < index; ++i)
        if (buttons_[static_cast<std::size_t>(i)].width > 0)
            offset += down ? buttonHeight_ : buttons_[static_cast<std::size_t>(i)].width;
    const int width = buttons_[static_cast<std::size_t>(index)].width;
    if (down)
        r = {0, offset, whole.cx, width > 0 ? offset + buttonHeight_ : offset};
    else
        r = {offset, 0, offset + width, buttonHeight_};
    return r;
}

int CMenuBar::hitTest(POINT client) const {
    for (int i = 0; i < buttonCount(); ++i) {
        RECT r = buttonRect(i);
        if (PtInRect(&r, client)) return i;
    }
    return -1;
}

int CMenuBar::hitTestScreen(POINT screen) const {
    if (!window_ || WindowFromPoint(screen) != window_) return -1;
    ScreenToClient(window_, &screen);
    return hitTest(screen);
}

std::vector<bool> CMenuBar::usable() const {
    std::vector<bool> result;
    for (int i = 0; i < buttonCount(); ++i) {
        const Button& b = buttons_[static_cast<std::size_t>(i)];
        // The frame may enable and disable top-level items at any time.
        UINT state = GetMenuState(menu_, static_cast<UINT>(i), MF_BYPOSITION);
        bool enabled = b.enabled && state != static_cast<UINT>(-1) && !(state & (MF_DISABLED | MF_GRAYED));
        result.push_back(enabled && b.width > 0);
    }
    return result;
}

void CMenuBar::updateBand() {
    HWND rebar = GetParent(window_);
    char className[64] = {};
    GetClassNameA(rebar, className, sizeof className);
    if (lstrcmpiA(className, REBARCLASSNAMEA) != 0) return;
    const SIZE size = idealSize();
    const int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = kRebarBandInfoSize;
        band.fMask = RBBIM_CHILD;
        if (!SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band))) continue;
        if (band.hwndChild != window_) continue;
        band.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
        band.cxMinChild = static_cast<UINT>(size.cx);
        band.cyMinChild = static_cast<UINT>(size.cy);
        band.cxIdeal = static_cast<UINT>(size.cx);
        SendMessageA(rebar, RB_SETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band));
    }
}

void CMenuBar::paintButton(HDC dc, int index) {
    const Button& b = buttons_[static_cast<std::size_t>(index)];
    if (b.width <= 0) return;
    RECT r = buttonRect(index);
    const bool open = state_ == 2 && hot_ == index;
    const bool hot = (state_ == 1 && hot_ == index) || (state_ == 0 && mouseHot_ == index);
    const bool enabled = usable()[static_cast<std::size_t>(index)] && frameActive_;
    COLORREF text = GetSysColor(enabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT);
    if ((open || hot) && enabled && systemFlag(SPI_GETFLATMENU)) {
        // The flat menus of XP: the highlight colour, framed.
        FillRect(dc, &r, GetSysColorBrush(COLOR_MENUHILIGHT));
        FrameRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (open) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        OffsetRect(&r, 1, 1);
    } else if (hot && enabled) {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }
    UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    if (!showCues_ && !systemFlag(SPI_GETKEYBOARDCUES)) format |= DT_HIDEPREFIX;
    SetTextColor(dc, text);
    DrawTextA(dc, b.text.c_str(), static_cast<int>(b.text.size()), &r, format);
}

void CMenuBar::paint(HDC dc) {
    RECT client = {};
    GetClientRect(window_, &client);
    if (!paintParentBackground(window_, dc, client)) FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < buttonCount(); ++i) paintButton(dc, i);
    SelectObject(dc, old);
}

void CMenuBar::setHot(int index, int state) {
    state_ = state;
    hot_ = index;
    if (window_) {
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
    }
}

void CMenuBar::enterHotState() {
    const int first = neighbourButton(usable(), -1, 1);
    if (first < 0) return;
    menuMode_ = false;
    showCues_ = true;
    setHot(first, 1);
}

void CMenuBar::leaveHotState() {
    menuMode_ = false;
    if (state_ != 1) return;
    showCues_ = false;
    setHot(-1, 0);
}

void CMenuBar::setActive(bool active) {
    if (frameActive_ == active) return;
    frameActive_ = active;
    if (!active) leaveHotState();
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void CMenuBar::openButton(int index, bool byKeyboard) {
    if (index < 0 || index >= buttonCount() || !usable()[static_cast<std::size_t>(index)]) return;
    const Button& b = buttons_[static_cast<std::size_t>(index)];
    if (b.popup) {
        trackPopups(index, byKeyboard);
        return;
    }
    showCues_ = false;
    setHot(-1, 0);
    PostMessageA(frame_, WM_COMMAND, MAKEWPARAM(b.command, 0), 0);
}

void CMenuBar::trackPopups(int index, bool byKeyboard) {
    menuMode_ = false;
    for (;;) {
        const Button& b = buttons_[static_cast<std::size_t>(index)];
        if (!b.popup) {
            // Switched onto a button without popup: it stays hot, and moving on
            // from it opens the next menu.
            if (byKeyboard) {
                showCues_ = true;
                setHot(index, 1);
                menuMode_ = true;
            } else {
                showCues_ = false;
                setHot(-1, 0);
            }
            return;
        }
        if (byKeyboard) showCues_ = true;
        setHot(index, 2);
        RECT r = buttonRect(index);
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        TPMPARAMS params = {sizeof params, r};
        const bool down = vertical();
        UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | (down ? TPM_HORIZONTAL : TPM_VERTICAL);

        openPopup_ = currentMenu_ = b.popup;
        selectedOpensSubmenu_ = false;
        pendingSwitch_ = -1;
        escapedAtTop_ = false;
        // Opened from the keyboard, the popup shows its first item selected.
        if (byKeyboard) PostMessageA(frame_, WM_KEYDOWN, VK_DOWN, 0);
        activeBar = this;
        hook_ = SetWindowsHookExA(WH_MSGFILTER, menuFilter, nullptr, GetCurrentThreadId());
        TrackPopupMenuEx(b.popup, flags, down ? r.right : r.left, down ? r.top : r.bottom, frame_, &params);
        if (hook_) UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
        activeBar = nullptr;
        openPopup_ = currentMenu_ = nullptr;
        if (!window_) return;  // destroyed while the menu was open
        if (pendingSwitch_ >= 0) {
            index = pendingSwitch_;
            byKeyboard = pendingByKeyboard_;
            continue;
        }
        if (escapedAtTop_) {
            // Escape on the bar's own popup goes back to the hot button.
            showCues_ = true;
            setHot(index, 1);
        } else {
            showCues_ = false;
            setHot(-1, 0);
        }
        return;
    }
}

void CMenuBar::switchDuringMenu(int index, bool byKeyboard) {
    if (index < 0 || index == hot_) return;
    pendingSwitch_ = index;
    pendingByKeyboard_ = byKeyboard;
    endMenu(frame_);
}

bool CMenuBar::filterMenuMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam == VK_LEFT && currentMenu_ == openPopup_) {
            switchDuringMenu(neighbourButton(usable(), hot_, -1), true);
            return true;
        }
        if (msg.wParam == VK_RIGHT && !selectedOpensSubmenu_) {
            switchDuringMenu(neighbourButton(usable(), hot_, 1), true);
            return true;
        }
        if (msg.wParam == VK_ESCAPE && currentMenu_ == openPopup_) escapedAtTop_ = true;
        return false;
    case WM_MOUSEMOVE: {
        const int over = hitTestScreen(msg.pt);
        if (over < 0 || over == hot_ || !usable()[static_cast<std::size_t>(over)]) return false;
        switchDuringMenu(over, false);
        return true;
    }
    case WM_LBUTTONDOWN: {
        const int over = hitTestScreen(msg.pt);
        if (over < 0) return false;
        if (over == hot_) {
            pendingSwitch_ = -1;
            endMenu(frame_);
        } else {
            switchDuringMenu(over, false);
        }
        return true;
    }
    default:
        return false;
    }
}

LRESULT CALLBACK CMenuBar::menuFilter(int code, WPARAM wParam, LPARAM lParam) {
    CMenuBar* bar = activeBar;
    if (code == MSGF_MENU && bar && lParam) {
        try {
            if (bar->filterMenuMessage(*reinterpret_cast<const MSG*>(lParam))) return TRUE;
        } catch (...) {
        }
    }
    return CallNextHookEx(bar ? bar->hook_ : nullptr, code, wParam, lParam);
}

bool CMenuBar::openByMnemonic(char typed) {
    std::vector<char> mnemonics;
    for (const Button& b : buttons_) mnemonics.push_back(b.mnemonic);
    const int index = mnemonicButton(mnemonics, usable(), typed);
    if (index < 0) return false;
    openButton(index, true);
    return true;
}

bool CMenuBar::hotStateKey(const MSG& msg) {
    const HotKeyAction action = hotKeyAction(static_cast<int>(msg.wParam), vertical());
    switch (action) {
    case HotKeyAction::Leave:
        leaveHotState();
        return true;
    case HotKeyAction::Previous:
    case HotKeyAction::Next: {
        const int next = neighbourButton(usable(), hot_, action == HotKeyAction::Next ? 1 : -1);
        if (menuMode_ && next >= 0 && buttons_[static_cast<std::size_t>(next)].popup) {
            menuMode_ = false;
            openButton(next, true);
        } else {
            setHot(next, 1);
        }
        return true;
    }
    case HotKeyAction::Open:
        menuMode_ = false;
        openButton(hot_, true);
        return true;
    case HotKeyAction::None:
        break;
    }
    // A letter comes back as WM_CHAR; every other key is the bar's while hot.
    TranslateMessage(&msg);
    return true;
}

bool CMenuBar::preTranslateMessage(MSG& msg) {
    if (!window_ || !frame_ || (msg.hwnd != frame_ && !IsChild(frame_, msg.hwnd))) return false;
    try {
        switch (msg.message) {
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_MENU) {
                if (!(msg.lParam & (1 << 30))) altAlone_ = true;
                return false;
            }
            altAlone_ = false;
            if (msg.wParam == VK_F10 && !keyDown(VK_SHIFT) && !keyDown(VK_CONTROL)) {
                if (state_ == 1)
                    leaveHotState();
                else
                    enterHotState();
                return true;
            }
            return false;
        case WM_SYSKEYUP:
            if (msg.wParam == VK_MENU && altAlone_) {
                altAlone_ = false;
                if (state_ == 1)
                    leaveHotState();
                else
                    enterHotState();
                return true;
            }
            // The release of the F10 the bar took (Shift+F10 is the context menu's).
            return (msg.wParam == VK_F10 && !keyDown(VK_SHIFT) && !keyDown(VK_CONTROL)) || state_ == 1;
        case WM_SYSCHAR:
            altAlone_ = false;
            if (msg.wParam == ' ') {
                leaveHotState();
                return false;  // the system menu
            }
            if (openByMnemonic(static_cast<char>(msg.wParam))) return true;
            if (state_ == 1) {
                leaveHotState();
                return true;
            }
            return false;
        case WM_KEYDOWN:
            altAlone_ = false;
            return state_ == 1 && hotStateKey(msg);
        case WM_CHAR:
            if (state_ != 1) return false;
            if (!openByMnemonic(static_cast<char>(msg.wParam))) leaveHotState();
            return true;
        case WM_KEYUP:
            return state_ == 1;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
            altAlone_ = false;
            if (msg.hwnd != window_) leaveHotState();
            return false;
        default:
            return false;
        }
    } catch (...) {
        return false;
    }
}

LRESULT CMenuBar::frameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == getMenuMessage()) return reinterpret_cast<LRESULT>(menu_);
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        if (window_) SendMessageA(window_, message, wParam, lParam);
        break;
    case WM_NCACTIVATE:
        setActive(wParam != FALSE);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) leaveHotState();
        altAlone_ = false;
        break;
    case WM_MENUSELECT:
        if (!(HIWORD(wParam) == 0xFFFF && lParam == 0)) {
            currentMenu_ = reinterpret_cast<HMENU>(lParam);
            selectedOpensSubmenu_ = (HIWORD(wParam) & MF_POPUP) != 0;
        }
        break;
    default:
        break;
    }
    return frameHook_.callNext(message, wParam, lParam);
}

LRESULT CMenuBar::FrameHook::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return bar_.frameMessage(message, wParam, lParam);
}

LRESULT CMenuBar::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == setMenuNullMessage()) {
        SetMenu(reinterpret_cast<HWND>(wParam), nullptr);
        return 0;
    }
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        paint(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE: {
        if (!trackingLeave_) {
            trackingLeave_ = trackMouseLeave(window_);
        }
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int over = hitTest(p);
        if (state_ == 1 && over >= 0 && usable()[static_cast<std::size_t>(over)]) {
            setHot(over, 1);
        } else if (over != mouseHot_) {
            mouseHot_ = over;
            InvalidateRect(window_, nullptr, TRUE);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        mouseHot_ = -1;
        InvalidateRect(window_, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        mouseHot_ = -1;
        openButton(hitTest(p), false);
        return 0;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        measure();
        updateBand();
        InvalidateRect(window_, nullptr, TRUE);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK CMenuBar::barProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        reinterpret_cast<CMenuBar*>(create->lpCreateParams)->window_ = window;
    }
    auto* bar = reinterpret_cast<CMenuBar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!bar) return DefWindowProcA(window, message, wParam, lParam);
    try {
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            bar->window_ = nullptr;
            return DefWindowProcA(window, message, wParam, lParam);
        }
        return bar->handle(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace kzo
