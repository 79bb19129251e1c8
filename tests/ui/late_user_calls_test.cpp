// The leave of the mouse is reported by each of the means the systems have:
// TrackMouseEvent, comctl32's _TrackMouseEvent, and the timer of Windows 95.
#include <gtest/gtest.h>

#include <windows.h>

#include "late_user_calls.h"
#include "test_support.h"

namespace kzo {
namespace {

int gLeaves = 0;

LRESULT CALLBACK countLeaves(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSELEAVE) ++gLeaves;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Pumps this thread's messages until the count of leaves reaches wanted or
// the time is up.
bool pumpUntilLeaves(int wanted, std::uint32_t ms) {
    return test::waitUntil(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            return gLeaves >= wanted;
        },
        ms, 10);
}

TEST(TrackMouseLeave, EachMeansReportsTheLeaveOnceTheCursorIsOut) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = countLeaves;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KZOLeaveTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "leave", WS_POPUP | WS_VISIBLE, 300, 300, 120,
                                  80, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    UpdateWindow(window);
    for (int hidden = 0; hidden < 3; ++hidden) {
        SCOPED_TRACE(hidden == 0 ? "TrackMouseEvent" : hidden == 1 ? "_TrackMouseEvent" : "the timer");
        test::HiddenFunctions olderSystem = hidden == 0   ? test::HiddenFunctions{}
                                            : hidden == 1 ? test::HiddenFunctions{"TrackMouseEvent"}
                                                          : test::HiddenFunctions{"TrackMouseEvent", "_TrackMouseEvent"};
        gLeaves = 0;
        SetCursorPos(360, 340);  // inside
        pumpUntilLeaves(1, 100);
        gLeaves = 0;
        ASSERT_TRUE(trackMouseLeave(window));
        EXPECT_FALSE(pumpUntilLeaves(1, 300)) << "a leave while the cursor is inside";
        SetCursorPos(20, 20);
        EXPECT_TRUE(pumpUntilLeaves(1, 3000));
        EXPECT_FALSE(pumpUntilLeaves(2, 300)) << "one leave, not one per check";
    }
    DestroyWindow(window);
}

}  // namespace
}  // namespace kzo
