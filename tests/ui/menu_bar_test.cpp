// CMenuBar in a small frame with a rebar, on a thread of its own whose message
// loop asks the bar first, as the Terminal's does. The test's thread types
// into it by posting the messages the keyboard would produce, and reads what
// the frame saw (popups opening, commands).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "menu_bar.h"
#include "test_support.h"
#include "ui_test_resource.h"
#include "ui_test_support.h"

namespace kzo {
namespace {

constexpr LPARAM kAltDown = 0x20380001;
constexpr LPARAM kAltUp = static_cast<LPARAM>(0xC0380001u);

// What the frame saw.
struct Seen {
    std::mutex lock;
    std::vector<HMENU> popups;
    std::vector<int> commands;
};
Seen seen;

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITMENUPOPUP && !HIWORD(lParam)) {
        std::lock_guard<std::mutex> guard(seen.lock);
        seen.popups.push_back(reinterpret_cast<HMENU>(wParam));
    }
    if (message == WM_COMMAND) {
        std::lock_guard<std::mutex> guard(seen.lock);
        seen.commands.push_back(LOWORD(wParam));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        {
            std::lock_guard<std::mutex> guard(seen.lock);
            seen.popups.clear();
            seen.commands.clear();
        }
        ui.run([this] {
            INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
            InitCommonControlsEx(&init);
            HINSTANCE module = GetModuleHandleA(nullptr);
            WNDCLASSA wc = {};
            wc.lpfnWndProc = frameProc;
            wc.hInstance = module;
            wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
            wc.lpszClassName = "KZOTestFrame";
            RegisterClassA(&wc);
            frame = CreateWindowA(wc.lpszClassName, "Menu bar test", WS_OVERLAPPEDWINDOW, 40, 40, 420, 240, nullptr,
                                  LoadMenuA(module, MAKEINTRESOURCEA(IDR_TEST_MENU)), module, nullptr);
            rebar = CreateWindowExA(0, REBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | RBS_VARHEIGHT | RBS_BANDBORDERS |
                                    CCS_NODIVIDER | CCS_TOP, 0, 0, 0, 0, frame, nullptr, module, nullptr);
            bar = std::make_unique<CMenuBar>();
            created = bar->create(frame, rebar, module, IDR_TEST_MENU);
            if (created) {
                REBARBANDINFOA band = {};
                band.cbSize = sizeof band;
                band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_IDEALSIZE;
                band.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
                band.hwndChild = bar->hwnd();
                band.cxMinChild = static_cast<UINT>(bar->idealSize().cx);
                band.cyMinChild = static_cast<UINT>(bar->idealSize().cy);
                band.cxIdeal = band.cxMinChild;
                SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
            }
            ShowWindow(frame, SW_SHOW);
            SetForegroundWindow(frame);
        });
        ui.filter([this](MSG& msg) { return bar && bar->preTranslateMessage(msg); });
        ASSERT_TRUE(created);
    }
    void TearDown() override {
        ui.run([] { EndMenu(); });
        ui.run([this] {
            bar.reset();
            DestroyWindow(frame);
        });
    }

    // Tracking state * 100 + hot button, read on the bar's thread after every
    // message posted before.
    int state() {
        int value = -1;
        ui.run([&] { value = bar->trackingState() * 100 + bar->hotButton(); });
        return value;
    }
    HMENU popup(int index) const { return GetSubMenu(bar->menu(), index); }
    // Waits until the frame saw this popup open as the count-th popup.
    bool opened(int index, std::size_t count) {
        return test::waitUntil([&] {
            std::lock_guard<std::mutex> guard(seen.lock);
            return seen.popups.size() >= count && seen.popups[count - 1] == popup(index);
        });
    }
    std::size_t popupCount() {
        std::lock_guard<std::mutex> guard(seen.lock);
        return seen.popups.size();
    }
    void altWith(char letter) {
        PostMessageA(frame, WM_SYSKEYDOWN, VK_MENU, kAltDown);
        PostMessageA(frame, WM_SYSCHAR, static_cast<WPARAM>(letter), kAltDown);
    }
    void altAlone() {
        PostMessageA(frame, WM_SYSKEYDOWN, VK_MENU, kAltDown);
        PostMessageA(frame, WM_SYSKEYUP, VK_MENU, kAltUp);
    }
    void key(int vk) { test::postKey(frame, vk); }

    test::UiThread ui;
    HWND frame = nullptr;
    HWND rebar = nullptr;
    std::unique_ptr<CMenuBar> bar;
    bool created = false;
};

TEST_F(MenuBarTest, TakesTheFrameMenuAndAnswersForIt) {
    EXPECT_EQ(5, bar->buttonCount());
    ASSERT_TRUE(test::waitUntil([&] { return GetMenu(frame) == nullptr; }));
    EXPECT_EQ(reinterpret_cast<LRESULT>(bar->menu()), SendMessageA(frame, CMenuBar::getMenuMessage(), 0, 0));
}

TEST_F(MenuBarTest, AltWithTheMnemonicOfTheSecondMenuOpensIt) {
    altWith('s');
    ASSERT_TRUE(opened(1, 1));
    EXPECT_EQ(201, state());
    ui.run([] { EndMenu(); });
    EXPECT_EQ(-1, state());
}

TEST_F(MenuBarTest, AltAloneMakesTheFirstButtonHotAndArrowsSkipTheDisabledMenu) {
    altAlone();
    EXPECT_EQ(100, state());
    key(VK_LEFT);
    EXPECT_EQ(104, state());  // wrapped to Help
    key(VK_RIGHT);
    key(VK_RIGHT);
    EXPECT_EQ(101, state());
    key(VK_RIGHT);
    EXPECT_EQ(103, state());  // past the disabled View
    PostMessageA(frame, WM_CHAR, 'q', 0);  // no menu uses it
    EXPECT_EQ(-1, state());
    altAlone();
    PostMessageA(frame, WM_CHAR, 'v', 0);  // View is disabled
    EXPECT_EQ(-1, state());
    PostMessageA(frame, WM_SYSKEYDOWN, VK_F10, 0x00440001);
    EXPECT_EQ(100, state());
    key(VK_ESCAPE);
    EXPECT_EQ(-1, state());
    EXPECT_EQ(0u, popupCount());
}

TEST_F(MenuBarTest, AButtonWithoutPopupSendsItsCommandToTheFrame) {
    altWith('g');
    ASSERT_TRUE(test::waitUntil([&] {
        std::lock_guard<std::mutex> guard(seen.lock);
        return !seen.commands.empty();
    }));
    std::lock_guard<std::mutex> guard(seen.lock);
    EXPECT_EQ(ID_TEST_GO, seen.commands.front());
}

TEST_F(MenuBarTest, LeftAndRightInAnOpenMenuSwitchMenusWrappingAround) {
    altWith('f');
    ASSERT_TRUE(opened(0, 1));
    key(VK_RIGHT);
    ASSERT_TRUE(opened(1, 2));
    key(VK_RIGHT);  // onto "Go", which has no popup
    EXPECT_EQ(103, state());
    key(VK_RIGHT);  // on to Help, which opens
    ASSERT_TRUE(opened(4, 3));
    key(VK_RIGHT);
    ASSERT_TRUE(opened(0, 4));
    key(VK_LEFT);
    ASSERT_TRUE(opened(4, 5));
    key(VK_ESCAPE);  // back to the hot button
    EXPECT_EQ(104, state());
}

// Windows 95 and NT 4.0 have no EndMenu: the menu's owner is told to cancel
// the menu instead, and the switch works the same.
TEST_F(MenuBarTest, WithoutEndMenuTheSwitchCancelsTheMenuThroughItsOwner) {
    test::HiddenFunctions olderSystem{"EndMenu"};
    altWith('f');
    ASSERT_TRUE(opened(0, 1));
    key(VK_RIGHT);
    ASSERT_TRUE(opened(1, 2));
    key(VK_LEFT);
    ASSERT_TRUE(opened(0, 3));
    key(VK_ESCAPE);
    EXPECT_EQ(100, state());
}

TEST_F(MenuBarTest, TheMouseMovingOntoAnotherButtonSwitchesMenusAndAClickOnTheOpenOneClosesIt) {
    altWith('s');
    ASSERT_TRUE(opened(1, 1));
    auto pointAt = [&](int index) {
        RECT r = bar->buttonRect(index);
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(bar->hwnd(), &p);
        SetCursorPos(p.x, p.y);
        return p;
    };
    pointAt(4);
    PostMessageA(frame, WM_MOUSEMOVE, 0, 0);
    ASSERT_TRUE(opened(4, 2));
    POINT help = pointAt(4);
    ScreenToClient(frame, &help);
    PostMessageA(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(help.x, help.y));
    EXPECT_TRUE(test::waitUntil([&] { return state() == -1; }));
    EXPECT_EQ(2u, popupCount());
}

}  // namespace
}  // namespace kzo
