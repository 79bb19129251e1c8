// The button strip on a real static control: refusals, layout, a click that
// reaches the parent, a press released elsewhere, and its tooltip window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "button_strip.h"
#include "program_driver.h"
#include "ui_test_resource.h"

namespace kzo {
namespace {

std::vector<WPARAM> commands;

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) commands.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

const int kCommands[] = {ID_TEST_NEW, ID_TEST_EDIT, ID_TEST_DELETE};
const int kTips[] = {IDS_TEST_TIP_NEW, IDS_TEST_TIP_EDIT, IDS_TEST_TIP_DELETE};

class ButtonStripTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = parentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KZOTestStripParent";
        RegisterClassA(&wc);
        parent = CreateWindowA(wc.lpszClassName, "Strip", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 120, nullptr,
                               nullptr, wc.hInstance, nullptr);
        control = CreateWindowA("Static", "", WS_CHILD | WS_VISIBLE, 10, 10, 120, 24, parent, nullptr, wc.hInstance,
                                nullptr);
        ASSERT_NE(nullptr, control);
        commands.clear();
    }
    void TearDown() override { DestroyWindow(parent); }

    POINT centreOf(const ButtonStrip& strip, int index) const {
        RECT r = strip.buttonRect(index);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void mouse(UINT message, POINT p) { SendMessageA(control, message, 0, MAKELPARAM(p.x, p.y)); }
    WNDPROC procedure() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC)); }

    HWND parent = nullptr;
    HWND control = nullptr;
};

TEST_F(ButtonStripTest, RefusesACountOutOfRangeAndAMissingBitmapAndStaysEmpty) {
    const WNDPROC original = procedure();
    std::vector<int> many(21, ID_TEST_NEW);
    ButtonStrip strip;
    EXPECT_EQ(1, strip.setup(control, 21, IDB_TEST_STRIP, many.data(), nullptr));
    EXPECT_EQ(1, strip.setup(control, 0, IDB_TEST_STRIP, kCommands, kTips));
    EXPECT_EQ(2, strip.setup(control, 3, 9999, kCommands, kTips));
    EXPECT_EQ(2, strip.setup(control, 3, static_cast<HBITMAP>(nullptr), kCommands, kTips));
    EXPECT_EQ(0, strip.count());
    EXPECT_EQ(original, procedure());
    EXPECT_EQ(0, strip.setup(control, 20, IDB_TEST_STRIP, many.data(), nullptr));
    EXPECT_EQ(20, strip.count());
}

TEST_F(ButtonStripTest, AClickSendsTheParentTheCommandAndAPressReleasedElsewhereDoesNot) {
    ButtonStrip strip;
    ASSERT_EQ(0, strip.setup(control, 3, IDB_TEST_STRIP, kCommands, kTips));
    mouse(WM_MOUSEMOVE, centreOf(strip, 1));
    EXPECT_EQ(ButtonStrip::Hot, strip.state(1));
    mouse(WM_LBUTTONDOWN, centreOf(strip, 1));
    EXPECT_EQ(ButtonStrip::Pressed, strip.state(1));
    mouse(WM_LBUTTONUP, centreOf(strip, 1));
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(MAKEWPARAM(ID_TEST_EDIT, BN_CLICKED), commands[0]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ButtonStrip::Flat, strip.state(i)) << i;

    mouse(WM_LBUTTONDOWN, centreOf(strip, 2));
    mouse(WM_MOUSEMOVE, centreOf(strip, 0));
    EXPECT_EQ(ButtonStrip::Flat, strip.state(2));
    mouse(WM_LBUTTONUP, centreOf(strip, 0));
    EXPECT_EQ(1u, commands.size());
    mouse(WM_LBUTTONDOWN, {2, 2});  // beside the buttons
    mouse(WM_LBUTTONUP, {2, 2});
    EXPECT_EQ(1u, commands.size());
}

TEST_F(ButtonStripTest, HasItsTooltipWindow) {
    ButtonStrip strip;
    ASSERT_EQ(0, strip.setup(control, 3, IDB_TEST_STRIP, kCommands, kTips));
    // Its name (" ToolTip ") is not what it answers to WM_GETTEXT: the
    // current tip is.
    std::vector<HWND> tips = test::findWindows(GetCurrentProcessId(), TOOLTIPS_CLASSA, "", false);
    ASSERT_EQ(1u, tips.size());
    EXPECT_EQ(3, SendMessageA(tips[0], TTM_GETTOOLCOUNT, 0, 0));
}

}  // namespace
}  // namespace kzo
