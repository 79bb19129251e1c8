#include "background_window.h"

#include <string>

#include "resource.h"
#include "string_table.h"
#include "win_handles.h"

namespace kzo {

namespace {

constexpr COLORREF kHeadingColour = RGB(9, 79, 192);
constexpr int kBannerWidth = 450;
constexpr int kBannerHeight = 90;

// What the window paints, loaded when it is created.
struct Background {
    UniqueBitmap banner;
    UniqueFont headingFont;
    UniqueFont listFont;
    std::string heading;
    std::string features;
};

UniqueFont arial(int height, int weight) {
    return UniqueFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
}

void paintBanner(HDC dc, HBITMAP banner) {
    if (!banner) return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return;
    HGDIOBJ old = SelectObject(memory, banner);
    BitBlt(dc, 0, 0, kBannerWidth, kBannerHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void paint(HWND window, const Background& background) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paintBanner(dc, background.banner.get());
    SetBkMode(dc, TRANSPARENT);

    HGDIOBJ oldFont = SelectObject(dc, background.headingFont.get());
    SetTextColor(dc, kHeadingColour);
    TextOutA(dc, 90, 170, background.heading.c_str(), static_cast<int>(background.heading.size()));

    SelectObject(dc, background.listFont.get());
    SetTextColor(dc, RGB(0, 0, 0));
    RECT list = {110, 200, 640, 480};
    DrawTextA(dc, background.features.c_str(), static_cast<int>(background.features.size()), &list,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* background = reinterpret_cast<Background*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE: {
        auto* created = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
        return 0;
    }
    case WM_PAINT:
        if (!background) break;
        paint(window, *background);
        return 0;
    case WM_DESTROY:
        delete background;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND createBackgroundWindow(HINSTANCE module) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = module;
    windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_SETUP));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kBackgroundClass;
    if (!RegisterClassA(&windowClass)) return nullptr;

    auto* background = new Background;
    background->banner.reset(static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    background->headingFont = arial(18, FW_BOLD);
    background->listFont = arial(14, FW_NORMAL);
    background->heading = loadString(IDS_FEATURES_HEADING);
    background->features = loadString(IDS_FEATURES, std::string(), 2047);

    HWND window = CreateWindowExA(0, kBackgroundClass, "KZO Scheduler Setup", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  module, background);
    if (!window) delete background;
    return window;
}

}  // namespace kzo
