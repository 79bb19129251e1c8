#include "header_band.h"

namespace kzo {
namespace {

constexpr int kGapBelowDescription = 8;

RECT childRect(HWND dialog, HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

bool HeaderBand::attach(HWND dialog, int titleId, int descriptionId, int bottomMarkId) {
    HWND title = GetDlgItem(dialog, titleId);
    if (!title || !CSubclassWnd::attach(dialog)) return false;
    titleId_ = titleId;
    descriptionId_ = descriptionId;
    bottomMarkId_ = bottomMarkId;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(title, WM_GETFONT, 0, 0));
    LOGFONTA lf = {};
    if (GetObjectA(font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) {
        lf.lfWeight = FW_BOLD;
        bold_.reset(CreateFontIndirectA(&lf));
        SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
    }
    measureBand();
    InvalidateRect(dialog, nullptr, TRUE);
    return true;
}

void HeaderBand::measureBand() {
    HWND dialog = hwnd();
    if (HWND mark = bottomMarkId_ ? GetDlgItem(dialog, bottomMarkId_) : nullptr) {
        height_ = childRect(dialog, mark).top;
        return;
    }
    HWND lowest = GetDlgItem(dialog, descriptionId_);
    if (!lowest) lowest = GetDlgItem(dialog, titleId_);
    height_ = childRect(dialog, lowest).bottom + kGapBelowDescription;
}

void HeaderBand::repaintText(int id) {
    HWND control = GetDlgItem(hwnd(), id);
    if (!control) return;
    // A static does not erase what it drew before: the band below it is
    // repainted first.
    RECT r = childRect(hwnd(), control);
    InvalidateRect(hwnd(), &r, TRUE);
}

void HeaderBand::setTitle(const std::string& text) {
    if (!hwnd()) return;
    SetDlgItemTextA(hwnd(), titleId_, text.c_str());
    repaintText(titleId_);
}

void HeaderBand::setDescription(const std::string& text) {
    if (!hwnd()) return;
    SetDlgItemTextA(hwnd(), descriptionId_, text.c_str());
    repaintText(descriptionId_);
}

bool HeaderBand::insideBand(HWND control) const {
    RECT r = childRect(hwnd(), control);
    return r.bottom <= height_ + 1;
}

LRESULT HeaderBand::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        LRESULT result = callNext(message, wParam, lParam);
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client = {};
        GetClientRect(hwnd(), &client);
        RECT band = {client.left, client.top, client.right, height_};
        FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (!bottomMarkId_) {
            RECT line = {client.left, height_ - 1, client.right, height_ + 1};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        }
        return result;
    }
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (!insideBand(control)) break;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_SIZE:
        measureBand();
        break;
    default:
        break;
    }
    return callNext(message, wParam, lParam);
}

}  // namespace kzo
