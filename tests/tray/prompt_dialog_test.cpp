// The prompt dialogs, run for real and answered from the test's thread as a user
// would: by button, by Escape, by the close box. Each dialog runs on a thread of
// its own, as on the Executor's launch threads.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog_base.h"
#include "prompt_dialog.h"
#include "prompt_state.h"
#include "program_driver.h"
#include "resource.h"

namespace kzo {
namespace {

constexpr std::uint32_t kWaitMs = 10000;

// The visible prompt dialogs of this process (other test programs share the
// desktop).
std::vector<HWND> openPrompts() {
    return test::findWindows(GetCurrentProcessId(), "#32770", "KZO Scheduler", true);
}

// A prompt shown on its own thread, with the dialog window it opened.
class RunningPrompt {
public:
    RunningPrompt(const std::string& text, PromptKind kind) : text_(text) {
        std::vector<HWND> before = openPrompts();
        started_ = test::nowMs();
        result_ = std::async(std::launch::async,
                             [this, kind] { return showPrompt(nullptr, text_.c_str(), kind); });
        test::waitUntil(
            [&] {
                for (HWND w : openPrompts())
                    if (std::find(before.begin(), before.end(), w) == before.end()) window_ = w;
                return window_ != nullptr;
            },
            kWaitMs, 10);
    }

    // A dialog left open by a failed check is cancelled, or the test would hang
    // here waiting for its thread.
    ~RunningPrompt() {
        while (result_.valid() &&
               result_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            for (HWND w : openPrompts()) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    }
    RunningPrompt(const RunningPrompt&) = delete;
    RunningPrompt& operator=(const RunningPrompt&) = delete;

    HWND window() const { return window_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }

    // The dialog's return value, or -100 when it is still open at the deadline.
    int result() {
        if (!result_.valid()) return answer_;
        if (result_.wait_for(std::chrono::milliseconds(kWaitMs)) != std::future_status::ready)
            return -100;
        answer_ = result_.get();
        answeredAfterMs_ = test::nowMs() - started_;
        return answer_;
    }
    // Milliseconds from the call to its return, once result() has it.
    std::uint64_t answeredAfterMs() const { return answeredAfterMs_; }

    void click(int id) const { SendMessageA(control(id), BM_CLICK, 0, 0); }

private:
    std::string text_;
    std::uint64_t started_ = 0;
    std::uint64_t answeredAfterMs_ = 0;
    int answer_ = -100;
    HWND window_ = nullptr;
    std::future<int> result_;
};

RECT windowRect(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    return r;
}

class PromptDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetPromptState();
        setPromptOptions(false, false);
    }
    void TearDown() override { resetPromptState(); }
};

const char kBackupPrompt[] = "It's time to execute \"Backup\" task :\nC:\\Tools\\backup.exe /all\n\nRun it ?";

TEST_F(PromptDialogTest, AnswersOfTheWarningAndMessageDialogs) {
    enum Action { ClickYesOrOk, ClickNo, EscapeCommand, EscapeKey, CloseBox };
    struct Case {
        PromptKind kind;
        Action action;
        int expected;
        const char* what;
    };
    const Case cases[] = {
        {PromptKind::Warning, ClickYesOrOk, IDYES, "Warning, Yes"},
        {PromptKind::Warning, ClickNo, IDNO, "Warning, No"},
        {PromptKind::Warning, EscapeCommand, IDNO, "Warning, Escape (IDCANCEL)"},
        {PromptKind::Warning, EscapeKey, IDNO, "Warning, Escape key"},
        {PromptKind::Warning, CloseBox, IDNO, "Warning, close box"},
        {PromptKind::Message, ClickYesOrOk, IDOK, "Message, OK"},
        {PromptKind::Message, EscapeKey, IDOK, "Message, Escape key"},
        {PromptKind::Message, CloseBox, IDOK, "Message, close box"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunningPrompt prompt(kBackupPrompt, c.kind);
        ASSERT_NE(nullptr, prompt.window());
        switch (c.action) {
        case ClickYesOrOk: prompt.click(IDOK); break;
        case ClickNo: prompt.click(IDCANCEL); break;
        case EscapeCommand: PostMessageA(prompt.window(), WM_COMMAND, IDCANCEL, 0); break;
        case EscapeKey:
            // Through the modal loop's IsDialogMessage, as typed on the default button.
            PostMessageA(prompt.control(IDOK), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(prompt.control(IDOK), WM_KEYUP, VK_ESCAPE, 0xC0010001);
            break;
        case CloseBox: PostMessageA(prompt.window(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
        EXPECT_EQ(c.expected, prompt.result());
    }
}

// A pixel of a window's client area; negative coordinates count from the right
// or the bottom edge.
COLORREF pixel(HWND w, int x, int y) {
    RECT client = {};
    GetClientRect(w, &client);
    if (x < 0) x += client.right;
    if (y < 0) y += client.bottom;
    HDC dc = GetDC(w);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return colour;
}

// Waits until the window's pixel has the colour (the dialog paints after it
// shows), and returns the last colour read.
COLORREF waitForPixel(HWND w, int x, int y, COLORREF colour) {
    COLORREF seen = 0;
    test::waitUntil([&] { return (seen = pixel(w, x, y)) == colour; }, kWaitMs, 10);
    return seen;
}

TEST_F(PromptDialogTest, WarningDialogLook) {
    // A 120-character word on its own line.
    RunningPrompt prompt("Run " + std::string(120, 'x') + " ?", PromptKind::Warning);
    ASSERT_NE(nullptr, prompt.window());

    char text[700] = "";
    GetDlgItemTextA(prompt.window(), IDC_WARNING_TEXT, text, sizeof text);
    EXPECT_EQ("Run " + std::string(50, 'x') + "\n" + std::string(50, 'x') + "\n" +
                  std::string(20, 'x') + " ?",
              std::string(text));

    char heading[32] = "";
    GetDlgItemTextA(prompt.window(), IDC_HEADING, heading, sizeof heading);
    EXPECT_STREQ("Warning", heading);
    auto font = reinterpret_cast<HFONT>(SendMessageA(prompt.control(IDC_HEADING), WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    ASSERT_EQ(static_cast<int>(sizeof description), GetObjectA(font, sizeof description, &description));
    EXPECT_EQ(FW_BOLD, description.lfWeight);
    auto textFont = reinterpret_cast<HFONT>(SendMessageA(prompt.control(IDC_WARNING_TEXT), WM_GETFONT, 0, 0));
    GetObjectA(textFont, sizeof description, &description);
    EXPECT_NE(FW_BOLD, description.lfWeight) << "only the heading is bold";

    EXPECT_EQ(reinterpret_cast<LRESULT>(promptIcon()),
              SendMessageA(prompt.control(IDC_WARNING_ICON), STM_GETICON, 0, 0));
    EXPECT_NE(nullptr, promptIcon());

    // The white band: margin, heading and text on the window colour; the icon's
    // column keeps the dialog colour.
    COLORREF window = GetSysColor(COLOR_WINDOW), face = GetSysColor(COLOR_BTNFACE);
    ASSERT_NE(window, face);
    EXPECT_EQ(window, waitForPixel(prompt.control(IDC_MARGIN), 2, 20, window));
    EXPECT_EQ(window, pixel(prompt.control(IDC_HEADING), -3, 2));
    EXPECT_EQ(window, pixel(prompt.control(IDC_WARNING_TEXT), -3, -3));
    EXPECT_EQ(face, pixel(prompt.window(), 3, 3));

    HMENU menu = GetSystemMenu(prompt.window(), FALSE);
    for (UINT command : {SC_MAXIMIZE, SC_SIZE, SC_RESTORE}) {
        UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
        EXPECT_TRUE(state == static_cast<UINT>(-1) || (state & MF_GRAYED))
            << "system menu command " << std::hex << command << " state " << state;
    }
    EXPECT_EQ(0u, GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);

    prompt.click(IDOK);
    EXPECT_EQ(IDYES, prompt.result());
}

TEST_F(PromptDialogTest, OpenDialogsCascadeByTwentyPixelsAndWrapAfterTen) {
    std::vector<std::unique_ptr<RunningPrompt>> prompts;
    for (int i = 0; i < 11; ++i) {
        prompts.push_back(std::make_unique<RunningPrompt>(kBackupPrompt, PromptKind::Warning));
        ASSERT_NE(nullptr, prompts.back()->window()) << "dialog " << i + 1;
    }
    RECT first = windowRect(prompts[0]->window());
    for (int i = 0; i < 11; ++i) {
        RECT r = windowRect(prompts[i]->window());
        int expected = (i % 10) * 20;
        EXPECT_EQ(expected, r.left - first.left) << "dialog " << i + 1;
        EXPECT_EQ(expected, r.top - first.top) << "dialog " << i + 1;
    }
    for (auto& prompt : prompts) {
        prompt->click(IDCANCEL);
        EXPECT_EQ(IDNO, prompt->result());
    }

    // All closed: the next one opens at the start of the cascade.
    RunningPrompt next(kBackupPrompt, PromptKind::Message);
    ASSERT_NE(nullptr, next.window());
    RECT r = windowRect(next.window());
    EXPECT_EQ(first.left, r.left);
    EXPECT_EQ(first.top, r.top);
    next.click(IDOK);
    EXPECT_EQ(IDOK, next.result());
}

TEST_F(PromptDialogTest, ClosingADialogGivesItsStepToTheNextOne) {
    RunningPrompt a(kBackupPrompt, PromptKind::Warning);
    RunningPrompt b(kBackupPrompt, PromptKind::Warning);
    ASSERT_NE(nullptr, b.window());
    b.click(IDOK);
    EXPECT_EQ(IDYES, b.result());
    RunningPrompt c(kBackupPrompt, PromptKind::Warning);
    ASSERT_NE(nullptr, c.window());
    EXPECT_EQ(windowRect(a.window()).left + 20, windowRect(c.window()).left);
    a.click(IDOK);
    c.click(IDOK);
    EXPECT_EQ(IDYES, a.result());
    EXPECT_EQ(IDYES, c.result());
}

TEST_F(PromptDialogTest, TopMostDialogsAreSystemModalAndTopmost) {
    for (bool topMost : {true, false}) {
        setPromptOptions(topMost, false);
        for (PromptKind kind : {PromptKind::Message, PromptKind::Warning}) {
            SCOPED_TRACE(std::string(topMost ? "TopMost " : "not TopMost ") +
                         (kind == PromptKind::Warning ? "Warning" : "Message"));
            RunningPrompt prompt(kBackupPrompt, kind);
            ASSERT_NE(nullptr, prompt.window());
            LONG style = GetWindowLongA(prompt.window(), GWL_STYLE);
            LONG exStyle = GetWindowLongA(prompt.window(), GWL_EXSTYLE);
            EXPECT_EQ(topMost, (exStyle & WS_EX_TOPMOST) != 0);
            EXPECT_EQ(topMost, (style & DS_SYSMODAL) != 0);
            prompt.click(IDOK);
            EXPECT_NE(-100, prompt.result());
        }
    }
}

TEST_F(PromptDialogTest, ActDlgFlashesForHalfASecondAndActivates) {
    setPromptOptions(false, true);
    RunningPrompt prompt(kBackupPrompt, PromptKind::Warning);
    ASSERT_NE(nullptr, prompt.window());
    test::waitUntil([&] { return GetForegroundWindow() == prompt.window(); }, kWaitMs, 10);
    EXPECT_EQ(prompt.window(), GetForegroundWindow());
    // The dialog answers only after its flash.
    prompt.click(IDOK);
    EXPECT_EQ(IDYES, prompt.result());
    EXPECT_GE(prompt.answeredAfterMs(), 450u);
}

// A dialog whose handler fails.
class FailingDialog : public DialogBase {
protected:
    BOOL onInit() override { throw std::runtime_error("init failed"); }
};

TEST(DialogBase, AHandlersExceptionEndsTheDialogAndReachesTheCaller) {
    FailingDialog dialog;
    try {
        dialog.runModal(GetModuleHandleA(nullptr), IDD_MESSAGE, nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("init failed", e.what());
    }
    EXPECT_EQ(nullptr, dialog.hwnd());
}

TEST(DialogBase, AMissingTemplateGivesMinusOne) {
    DialogBase dialog;
    EXPECT_EQ(-1, dialog.runModal(GetModuleHandleA(nullptr), 9999, nullptr));
}

}  // namespace
}  // namespace kzo
