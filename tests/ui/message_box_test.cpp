// KZOMessageBox shown for real, on a thread of its own, and answered from the
// test's thread as a user would: by its buttons, Escape, Enter and the close box.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "kzo_message_box.h"
#include "program_driver.h"
#include "test_support.h"
#include "ui_resource.h"
#include "ui_test_support.h"

namespace kzo {
namespace {

constexpr std::uint32_t kWaitMs = 10000;

class RunningBox {
public:
    RunningBox(unsigned type, const char* caption = nullptr, const std::string& text = "Delete the task ?")
        : caption_(caption ? caption : test::uniqueName("KZO box ")), text_(text) {
        const std::string shown = caption ? windowCaption(caption) : caption_;
        result_ = std::async(std::launch::async, [this, type, caption] {
            return KZOMessageBox(nullptr, text_.c_str(), caption ? caption : caption_.c_str(), type | kMbNoBeep);
        });
        test::waitUntil([&] { return !test::ownDialogs(shown).empty(); }, kWaitMs, 10);
        std::vector<HWND> boxes = test::ownDialogs(shown);
        window_ = boxes.empty() ? nullptr : boxes.front();
    }
    // A box left open by a failed check is answered with its first button.
    ~RunningBox() {
        while (result_.valid() && result_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            for (const test::DialogButton& b : test::pushButtons(window_))
                PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(b.id), 0);
    }
    RunningBox(const RunningBox&) = delete;
    RunningBox& operator=(const RunningBox&) = delete;

    HWND window() const { return window_; }
    // The answer, or -100 when the box is still open at the deadline.
    int result() {
        if (result_.valid()) {
            if (result_.wait_for(std::chrono::milliseconds(kWaitMs)) != std::future_status::ready) return -100;
            answer_ = result_.get();
        }
        return answer_;
    }
    void click(int id) const { PostMessageA(GetDlgItem(window_, id), BM_CLICK, 0, 0); }
    void key(int vk) const { test::postKey(test::focusOf(window_), vk); }

private:
    // An empty caption shows the program's title (the test program's string
    // 57344).
    static std::string windowCaption(const char* caption) { return *caption ? caption : "UI Tests"; }

    std::string caption_;
    std::string text_;
    HWND window_ = nullptr;
    int answer_ = -100;
    std::future<int> result_;
};

std::vector<int> buttonIds(HWND box) {
    std::vector<int> ids;
    for (const test::DialogButton& b : test::pushButtons(box)) ids.push_back(b.id);
    return ids;
}

std::vector<std::string> buttonTexts(HWND box) {
    std::vector<std::string> texts;
    for (const test::DialogButton& b : test::pushButtons(box)) texts.push_back(b.text);
    return texts;
}

TEST(KZOMessageBoxTest, YesNoWithBothAllButtonsAndCheckBoxReturnsTheTickedBit) {
    RunningBox box(MB_YESNO | MB_ICONQUESTION | kMbYesToAll | kMbNoToAll | kMbCheckB);
    ASSERT_NE(nullptr, box.window());
    EXPECT_EQ((std::vector<std::string>{"&Yes", "Yes to &All", "&No", "No to A&ll"}), buttonTexts(box.window()));
    EXPECT_EQ((std::vector<int>{kIdYes, kIdYesToAll, kIdNo, kIdNoToAll}), buttonIds(box.window()));
    HWND check = GetDlgItem(box.window(), IDC_UI_MB_CHECK);
    ASSERT_NE(nullptr, check);
    EXPECT_EQ("&Don't display this message again", test::windowText(check));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(check, BM_GETCHECK, 0, 0));
    EXPECT_EQ(GetDlgItem(box.window(), kIdYes), test::focusOf(box.window()));

    box.click(IDC_UI_MB_CHECK);
    box.click(kIdYes);
    EXPECT_EQ(kIdYes | static_cast<int>(kMbCheckB), box.result());
}

TEST(KZOMessageBoxTest, EscapeAndTheCloseBoxFollowTheButtonSet) {
    enum Action { EscapeKey, CloseBox };
    struct Case {
        unsigned type;
        Action action;
        int expected;  // 0: the box stays open
        const char* what;
    };
    const Case cases[] = {
        {MB_OK, EscapeKey, kIdOk, "OK, Escape"},
        {MB_YESNOCANCEL | kMbYesToAll, CloseBox, kIdCancel, "Yes/No/Cancel, close box"},
        {MB_YESNO, EscapeKey, 0, "Yes/No, Escape"},
        {8 | MB_ICONINFORMATION, CloseBox, 0, "Continue/Abort, close box"},
        {MB_OK | kMbCheckA, EscapeKey, kIdOk, "OK with check box, Escape"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunningBox box(c.type);
        ASSERT_NE(nullptr, box.window());
        const bool closeGreyed =
            (GetMenuState(GetSystemMenu(box.window(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
        EXPECT_EQ(c.expected == 0, closeGreyed);
        if (c.action == EscapeKey)
            box.key(VK_ESCAPE);
        else
            PostMessageA(box.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        if (c.expected) {
            EXPECT_EQ(c.expected, box.result());
            continue;
        }
        // Posted after the Escape: only reaches a box that is still open.
        const int last = buttonIds(box.window()).back();
        PostMessageA(box.window(), WM_COMMAND, static_cast<WPARAM>(last), 0);
        EXPECT_EQ(last, box.result());
    }
}

TEST(KZOMessageBoxTest, EnterPressesTheDefaultButtonOrTheFirstBeyondTheButtons) {
    struct Case {
        unsigned type;
        int expected;
    };
    const Case cases[] = {
        {MB_OKCANCEL | MB_DEFBUTTON4, kIdOk},
        {MB_YESNO | kMbYesToAll | kMbNoToAll | MB_DEFBUTTON3, kIdNo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        RunningBox box(c.type);
        ASSERT_NE(nullptr, box.window());
        EXPECT_EQ(GetDlgItem(box.window(), c.expected), test::focusOf(box.window()));
        box.key(VK_RETURN);
        EXPECT_EQ(c.expected, box.result());
    }
}

TEST(KZOMessageBoxTest, AnEmptyCaptionShowsTheProgramTitle) {
    RunningBox box(MB_OK, "");
    ASSERT_NE(nullptr, box.window());
    EXPECT_EQ("UI Tests", test::windowText(box.window()));
    box.click(kIdOk);
    EXPECT_EQ(kIdOk, box.result());
}

}  // namespace
}  // namespace kzo
