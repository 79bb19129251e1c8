// The hyperlink label on a real static control (hover and capture, its
// clipboard and shortcut commands) and the About box that shows two of them.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>

#include "about_box.h"
#include "hyperlink.h"
#include "test_support.h"
#include "ui_resource.h"
#include "ui_test_support.h"

namespace kzo {
namespace {

class HyperLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = CreateWindowA("Static", "Links", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        label = CreateWindowA("Static", "https://www.veldmark.example/kzo", WS_CHILD | WS_VISIBLE, 10, 10, 200, 16,
                              parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(link.create(label, "https://www.veldmark.example/kzo"));
    }
    void TearDown() override { DestroyWindow(parent); }
    void move(int x, int y) { SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

    HWND parent = nullptr;
    HWND label = nullptr;
    HyperLink link;
};

TEST_F(HyperLinkTest, TurnsRedWhileTheMouseIsOverItAndNoticesItLeaving) {
    EXPECT_EQ(HyperLink::kUnvisited, link.colour());
    move(5, 5);
    EXPECT_EQ(HyperLink::kHover, link.colour());
    EXPECT_EQ(label, GetCapture());
    move(-5, 30);
    EXPECT_EQ(HyperLink::kUnvisited, link.colour());
    EXPECT_NE(label, GetCapture());
}

TEST_F(HyperLinkTest, AddToDesktopWritesAnInternetShortcutNamedAfterTheLabel) {
    char desktop[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, TRUE));
    const std::string file = std::string(desktop) + "\\https___www.veldmark.example_kzo.URL";
    DeleteFileA(file.c_str());
    link.command(ID_UI_LINK_DESKTOP);
    EXPECT_EQ("[InternetShortcut]\r\nURL=https://www.veldmark.example/kzo\r\n", test::readFile(file));
    DeleteFileA(file.c_str());
}

TEST(AboutBoxTest, ShowsTheProductAndRunsCreditsUntilOk) {
    std::atomic<int> credits{0};
    auto result = std::async(std::launch::async, [&] {
        return showAboutBox(GetModuleHandleA(nullptr), nullptr, [&] { ++credits; });
    });
    HWND box = nullptr;
    test::waitUntil([&] {
        std::vector<HWND> found = test::ownDialogs("About");
        box = found.empty() ? nullptr : found.front();
        return box != nullptr;
    });
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("KZO Scheduler, Version 6.30, Build 677", test::windowText(GetDlgItem(box, IDC_UI_ABOUT_PRODUCT)));
    EXPECT_EQ("17 Dec 2001", test::windowText(GetDlgItem(box, IDC_UI_ABOUT_DATE)));
    EXPECT_EQ(GetDlgItem(box, IDOK), test::focusOf(box));
    SendMessageA(GetDlgItem(box, IDC_UI_ABOUT_CREDITS), BM_CLICK, 0, 0);
    EXPECT_EQ(1, credits.load());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(std::future_status::ready, result.wait_for(std::chrono::seconds(10)));
    EXPECT_EQ(IDOK, result.get());
}

}  // namespace
}  // namespace kzo
