#include "button_strip.h"

#include <commctrl.h>

#include "late_user_calls.h"
#include "string_table.h"
#include "struct_sizes.h"

namespace kzo {
namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);

std::string tipText(int stringId) {
    std::string text = loadString(static_cast<unsigned>(stringId));
    std::size_t lineFeed = text.find('\n');
    return lineFeed == std::string::npos ? text : text.substr(lineFeed + 1);
}

}  // namespace

ButtonStrip::~ButtonStrip() { teardown(); }

int ButtonStrip::setup(HWND staticControl, int count, int bitmapId, const int* commandIds,
                       const int* tooltipStringIds, int imageWidth, int imageHeight) {
    if (count <= 0 || count > kMaxButtons || !commandIds) return 1;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return 2;
    int result = setupWith(staticControl, count, bitmap, commandIds, tooltipStringIds, imageWidth, imageHeight);
    DeleteObject(bitmap);
    return result;
}

int ButtonStrip::setup(HWND staticControl, int count, HBITMAP bitmap, const int* commandIds,
                       const int* tooltipStringIds, int imageWidth, int imageHeight) {
    if (count <= 0 || count > kMaxButtons || !commandIds) return 1;
    if (!bitmap) return 2;
    // The image list blackens the mask colour of the bitmap it is given.
    HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!copy) return 2;
    int result = setupWith(staticControl, count, copy, commandIds, tooltipStringIds, imageWidth, imageHeight);
    DeleteObject(copy);
    return result;
}

int ButtonStrip::setupWith(HWND control, int count, HBITMAP bitmap, const int* commandIds,
                           const int* tooltipStringIds, int imageWidth, int imageHeight) {
    DWORD pid = 0;
    if (!IsWindow(control) || (GetWindowThreadProcessId(control, &pid), pid != GetCurrentProcessId())) return 3;
    if (imageWidth <= 0 || imageHeight <= 0) return 2;
    HIMAGELIST images = ImageList_Create(imageWidth, imageHeight, ILC_COLOR24 | ILC_MASK, count, 0);
    if (!images) return 2;
    ImageList_AddMasked(images, bitmap, kMaskColour);

    teardown();
    images_ = images;
    for (int i = 0; i < count; ++i) {
        Button button;
        button.command = commandIds[i];
        if (tooltipStringIds) button.tip = tipText(tooltipStringIds[i]);
        buttons_.push_back(button);
    }
    attach(control);
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, " ToolTip ", WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    for (int i = 0; i < count && tooltip_; ++i) {
        if (buttons_[static_cast<std::size_t>(i)].tip.empty()) continue;
        TOOLINFOA tool = {};
        tool.cbSize = kToolInfoSize;
        tool.hwnd = control;
        tool.uId = static_cast<UINT_PTR>(i);
        tool.rect = buttonRect(i);
        tool.lpszText = const_cast<char*>(buttons_[static_cast<std::size_t>(i)].tip.c_str());
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    InvalidateRect(control, nullptr, TRUE);
    return 0;
}

void ButtonStrip::teardown() {
    HWND control = hwnd();
    detach();
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
    tooltip_ = nullptr;
    if (images_) ImageList_Destroy(images_);
    images_ = nullptr;
    buttons_.clear();
    pressed_ = -1;
    trackingLeave_ = false;
    if (control) InvalidateRect(control, nullptr, TRUE);
}

void ButtonStrip::onDetached() {
    tooltip_ = nullptr;  // destroyed with the strip
    pressed_ = -1;
}

ButtonStrip::State ButtonStrip::state(int index) const {
    if (index < 0 || index >= count()) return Flat;
    return buttons_[static_cast<std::size_t>(index)].state;
}

RECT ButtonStrip::buttonRect(int index) const {
    RECT r = {};
    if (index < 0 || index >= count() || !hwnd()) return r;
    RECT client = {};
    GetClientRect(hwnd(), &client);
    InflateRect(&client, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    const int side = client.bottom - client.top;
    r.left = client.right - (count() - index) * side;
    r.right = r.left + side;
    r.top = client.top;
    r.bottom = client.bottom;
    return r;
}

int ButtonStrip::hit(int x, int y) const {
    POINT p = {x, y};
    for (int i = 0; i < count(); ++i) {
        RECT r = buttonRect(i);
        if (PtInRect(&r, p)) return i;
    }
    return -1;
}

void ButtonStrip::setStates(int hot, int pressed) {
    bool changed = false;
    for (int i = 0; i < count(); ++i) {
        State next = i == pressed ? Pressed : i == hot ? Hot : Flat;
        Button& button = buttons_[static_cast<std::size_t>(i)];
        if (button.state != next) {
            button.state = next;
            changed = true;
        }
    }
    if (changed) InvalidateRect(hwnd(), nullptr, FALSE);
}

void ButtonStrip::paint(HDC dc) {
    RECT client = {};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT);
    int imageWidth = 0, imageHeight = 0;
    ImageList_GetIconSize(images_, &imageWidth, &imageHeight);
    const bool enabled = IsWindowEnabled(hwnd()) != FALSE;
    for (int i = 0; i < count(); ++i) {
        RECT r = buttonRect(i);
        const State s = buttons_[static_cast<std::size_t>(i)].state;
        if (enabled && s == Hot) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        if (enabled && s == Pressed) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        const int shift = enabled && s == Pressed ? 1 : 0;
        const int x = r.left + (r.right - r.left - imageWidth) / 2 + shift;
        const int y = r.top + (r.bottom - r.top - imageHeight) / 2 + shift;
        if (enabled) {
            ImageList_Draw(images_, i, dc, x, y, ILD_TRANSPARENT);
        } else if (HICON icon = ImageList_GetIcon(images_, i, ILD_TRANSPARENT)) {
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, imageWidth, imageHeight,
                       DST_ICON | DSS_DISABLED);
            DestroyIcon(icon);
        }
    }
}

void ButtonStrip::updateToolRects() {
    if (!tooltip_) return;
    for (int i = 0; i < count(); ++i) {
        TOOLINFOA tool = {};
        tool.cbSize = kToolInfoSize;
        tool.hwnd = hwnd();
        tool.uId = static_cast<UINT_PTR>(i);
        tool.rect = buttonRect(i);
        SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ButtonStrip::relayToTooltip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) return;
    MSG msg = {};
    msg.hwnd = hwnd();
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(GetMessageTime());
    DWORD pos = GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(pos));
    msg.pt.y = static_cast<short>(HIWORD(pos));
    SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void ButtonStrip::onMouseMove(int x, int y) {
    if (!trackingLeave_) {
        trackingLeave_ = trackMouseLeave(hwnd());
    }
    if (!IsWindowEnabled(hwnd())) return;
    const int over = hit(x, y);
    if (pressed_ >= 0)
        setStates(-1, over == pressed_ ? pressed_ : -1);
    else
        setStates(over, -1);
}

void ButtonStrip::onButtonDown(int x, int y) {
    if (!IsWindowEnabled(hwnd())) return;
    const int over = hit(x, y);
    if (over < 0) return;
    pressed_ = over;
    SetCapture(hwnd());
    setStates(-1, over);
}

void ButtonStrip::onButtonUp(int x, int y) {
    if (pressed_ < 0) return;
    const int pressed = pressed_;
    pressed_ = -1;
    if (GetCapture() == hwnd()) ReleaseCapture();
    setStates(-1, -1);
    if (hit(x, y) != pressed) return;
    HWND strip = hwnd();
    const int command = buttons_[static_cast<std::size_t>(pressed)].command;
    SendMessageA(GetParent(strip), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), reinterpret_cast<LPARAM>(strip));
}

LRESULT ButtonStrip::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
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
    case WM_MOUSEMOVE:
        relayToTooltip(message, wParam, lParam);
        onMouseMove(x, y);
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (pressed_ < 0) setStates(-1, -1);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        relayToTooltip(message, wParam, lParam);
        onButtonDown(x, y);
        return 0;
    case WM_LBUTTONUP:
        relayToTooltip(message, wParam, lParam);
        onButtonUp(x, y);
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_ >= 0 && reinterpret_cast<HWND>(lParam) != hwnd()) {
            pressed_ = -1;
            setStates(-1, -1);
        }
        return 0;
    case WM_SIZE:
        updateToolRects();
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    case WM_ENABLE:
        pressed_ = -1;
        setStates(-1, -1);
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    case WM_DESTROY:
        if (tooltip_) DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        break;
    default:
        break;
    }
    return callNext(message, wParam, lParam);
}

}  // namespace kzo
