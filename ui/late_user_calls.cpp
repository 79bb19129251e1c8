#include "late_user_calls.h"

#include "win_handles.h"

namespace kzo {

namespace {

using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

// One timer id per window: the leave is checked until it is seen once.
constexpr UINT_PTR kLeaveTimer = 0x4B5A;
constexpr UINT kLeaveCheckMs = 100;

void CALLBACK checkLeave(HWND window, UINT, UINT_PTR timer, DWORD) {
    POINT cursor;
    if (IsWindow(window) && GetCursorPos(&cursor) && WindowFromPoint(cursor) == window) return;
    KillTimer(window, timer);
    if (IsWindow(window)) PostMessageA(window, WM_MOUSELEAVE, 0, 0);
}

}  // namespace

bool trackMouseLeave(HWND window) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
    auto user = systemFunction<TrackMouseEventFn>("user32.dll", "TrackMouseEvent");
    if (user) return user(&track) != FALSE;
    auto controls = systemFunction<TrackMouseEventFn>("comctl32.dll", "_TrackMouseEvent");
    if (controls) return controls(&track) != FALSE;
    return SetTimer(window, kLeaveTimer, kLeaveCheckMs, checkLeave) != 0;
}

void endMenu(HWND menuOwner) {
    using EndMenuFn = BOOL(WINAPI*)();
    auto end = systemFunction<EndMenuFn>("user32.dll", "EndMenu");
    if (end) {
        end();
        return;
    }
    SendMessageA(menuOwner, WM_CANCELMODE, 0, 0);
}

}  // namespace kzo
