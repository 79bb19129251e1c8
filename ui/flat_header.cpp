#include "flat_header.h"

#include <commctrl.h>

#include "win_handles.h"

namespace kzo {
namespace {

void fill(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
    RECT r = {left, top, right, bottom};
    if (right > left && bottom > top) FillRect(dc, &r, brush);
}

// The raised border the header draws (two pixels on every side) painted over.
void flatten(HDC dc, const RECT& r, HBRUSH face) {
    fill(dc, r.left, r.top, r.right, r.top + 2, face);
    fill(dc, r.left, r.bottom - 2, r.right, r.bottom, face);
    fill(dc, r.left, r.top, r.left + 2, r.bottom, face);
    fill(dc, r.right - 2, r.top, r.right, r.bottom, face);
}

}  // namespace

bool FlatHeader::attachToListView(HWND listView) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    if (!header) return false;
    if (!attach(header)) return false;
    InvalidateRect(header, nullptr, TRUE);
    return true;
}

bool FlatHeader::themed() const {
    // uxtheme exists from XP on; bound at run time.
    using GetWindowThemeFn = HANDLE(WINAPI*)(HWND);
    static HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    static auto getWindowTheme = boundFunction<GetWindowThemeFn>(uxtheme, "GetWindowTheme");
    return getWindowTheme && getWindowTheme(hwnd()) != nullptr;
}

void FlatHeader::paintFlat(HDC dc) {
    RECT client = {};
    GetClientRect(hwnd(), &client);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    HBRUSH light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
    const int count = static_cast<int>(SendMessageA(hwnd(), HDM_GETITEMCOUNT, 0, 0));
    int lastRight = client.left;
    for (int i = 0; i < count; ++i) {
        RECT item = {};
        if (!SendMessageA(hwnd(), HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
        flatten(dc, item, face);
        if (item.right > lastRight) lastRight = item.right;
    }
    RECT filler = {lastRight, client.top, client.right, client.bottom};
    flatten(dc, filler, face);

    fill(dc, client.left, client.top, client.right, client.top + 1, light);
    fill(dc, client.left, client.bottom - 1, client.right, client.bottom, shadow);
    for (int i = 0; i < count; ++i) {
        RECT item = {};
        if (!SendMessageA(hwnd(), HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
        if (item.right <= item.left) continue;  // a hidden column
        fill(dc, item.right - 2, client.top + 2, item.right - 1, client.bottom - 2, light);
        fill(dc, item.right - 1, client.top + 2, item.right, client.bottom - 2, shadow);
    }
}

LRESULT FlatHeader::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT || themed()) return callNext(message, wParam, lParam);
    // The header paints itself (texts, bitmaps, sort arrows); its borders are
    // then painted over.
    LRESULT result = callNext(message, wParam, lParam);
    HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : GetDC(hwnd());
    paintFlat(dc);
    if (!wParam) ReleaseDC(hwnd(), dc);
    return result;
}

}  // namespace kzo
