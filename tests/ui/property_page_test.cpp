// Property pages for real: the page contract's answers through a modal wizard,
// a page's exception coming back out of it, and a modeless sheet living as a
// child of a dialog with a header band (the task sheet's arrangement).
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <vector>

#include "dialog_base.h"
#include "header_band.h"
#include "property_page.h"
#include "test_support.h"
#include "ui_test_resource.h"
#include "ui_test_support.h"

namespace kzo {
namespace {

constexpr std::uint32_t kWaitMs = 10000;

class TestPage : public PropertyPage {
public:
    bool acceptApply = true;
    LRESULT nextAnswer = 0;
    bool finishAnswer = true;
    bool throwAtInit = false;
    int applied = 0;

protected:
    BOOL onInit() override {
        if (throwAtInit) throw std::runtime_error("page failed");
        return TRUE;
    }
    bool onApply() override {
        ++applied;
        return acceptApply;
    }
    LRESULT onWizardNext() override { return nextAnswer; }
    bool onWizardFinish() override { return finishAnswer; }
};

HWND currentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// Waits for the visible dialog with this caption, and for the sheet to have
// handled everything posted to it before.
HWND waitForSheet(const std::string& caption) {
    HWND sheet = nullptr;
    test::waitUntil([&] {
        std::vector<HWND> found = test::ownDialogs(caption);
        sheet = found.empty() ? nullptr : found.front();
        return sheet != nullptr;
    });
    return sheet;
}

// Cancels what a failed check left open, or the test would wait for it forever.
template <typename T>
class CancelLeftovers {
public:
    CancelLeftovers(std::future<T>& result, const char* caption) : result_(result), caption_(caption) {}
    ~CancelLeftovers() {
        while (result_.valid() && result_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            for (HWND w : test::ownDialogs(caption_)) {
                PostMessageA(w, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
            }
    }

private:
    std::future<T>& result_;
    const char* caption_;
};

// Presses a sheet's button and waits until it was handled. A modal sheet
// notices that it has ended only when its loop gets a posted message.
void press(HWND sheet, int button) {
    SendMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
    PostMessageA(sheet, WM_NULL, 0, 0);
}

TEST(PropertyPageTest, TheWizardFollowsThePagesAnswers) {
    TestPage one, two;
    one.nextAnswer = -1;  // stays
    two.finishAnswer = false;
    HINSTANCE module = GetModuleHandleA(nullptr);
    auto result = std::async(std::launch::async, [&] {
        return runWizard(nullptr, "New task",
                         {one.page(module, IDD_TEST_PAGE_ONE), two.page(module, IDD_TEST_PAGE_TWO)});
    });
    // A wizard's caption is the title of its page.
    CancelLeftovers<INT_PTR> cancel(result, "Command");
    HWND sheet = waitForSheet("Command");
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(test::waitUntil([&] { return currentPage(sheet) == one.hwnd() && one.hwnd(); }));
    press(sheet, PSBTN_NEXT);
    EXPECT_EQ(one.hwnd(), currentPage(sheet));
    one.nextAnswer = 0;
    press(sheet, PSBTN_NEXT);
    EXPECT_TRUE(test::waitUntil([&] { return two.hwnd() && currentPage(sheet) == two.hwnd(); }));
    press(sheet, PSBTN_FINISH);
    EXPECT_EQ(std::future_status::timeout, result.wait_for(std::chrono::milliseconds(200)));
    two.finishAnswer = true;
    press(sheet, PSBTN_FINISH);
    ASSERT_EQ(std::future_status::ready, result.wait_for(std::chrono::milliseconds(kWaitMs)));
    EXPECT_GT(result.get(), 0);
}

// The common controls of Windows 95 and NT 4.0 (no DllGetVersion) are given
// the pages and the sheet in the layouts they know, and the wizard works.
TEST(PropertyPageTest, OnTheCommonControlsOf95TheWizardRunsInTheirLayouts) {
    test::HiddenFunctions olderSystem{"DllGetVersion"};
    ASSERT_FALSE(commonControlsKnow471());
    TestPage one, two;
    HINSTANCE module = GetModuleHandleA(nullptr);
    std::vector<PROPSHEETPAGEA> pages = {one.page(module, IDD_TEST_PAGE_ONE), two.page(module, IDD_TEST_PAGE_TWO)};
    EXPECT_EQ(static_cast<DWORD>(PROPSHEETPAGEA_V1_SIZE), pages[0].dwSize);
    auto result = std::async(std::launch::async, [&] { return runWizard(nullptr, "New task", pages); });
    CancelLeftovers<INT_PTR> cancel(result, "Command");
    HWND sheet = waitForSheet("Command");
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(test::waitUntil([&] { return currentPage(sheet) == one.hwnd() && one.hwnd(); }));
    press(sheet, PSBTN_NEXT);
    EXPECT_TRUE(test::waitUntil([&] { return two.hwnd() && currentPage(sheet) == two.hwnd(); }));
    press(sheet, PSBTN_FINISH);
    ASSERT_EQ(std::future_status::ready, result.wait_for(std::chrono::milliseconds(kWaitMs)));
    EXPECT_GT(result.get(), 0);
}

TEST(PropertyPageTest, APagesExceptionEndsTheSheetAndComesBackToTheCaller) {
    TestPage page;
    page.throwAtInit = true;
    const std::string caption = test::uniqueName("Failing ");
    auto result = std::async(std::launch::async, [&] {
        return runPropertySheet(nullptr, caption, {page.page(GetModuleHandleA(nullptr), IDD_TEST_PAGE_ONE)});
    });
    ASSERT_EQ(std::future_status::ready, result.wait_for(std::chrono::milliseconds(kWaitMs)));
    EXPECT_THROW(result.get(), std::runtime_error);
}

// Dialog IDD_TEST_CONTAINER with its header band and the child sheet.
class Container : public DialogBase {
public:
    TestPage one, two;
    HWND sheet = nullptr;
    HeaderBand band;

protected:
    BOOL onInit() override {
        band.attach(hwnd(), IDC_TEST_TITLE, IDC_TEST_DESCRIPTION, IDC_TEST_LINE);
        band.setDescription("This page contains the task's command.");
        HINSTANCE module = GetModuleHandleA(nullptr);
        sheet = createChildSheet(hwnd(), item(IDC_TEST_PLACEHOLDER), {-7, -7},
                                 {one.page(module, IDD_TEST_PAGE_ONE), two.page(module, IDD_TEST_PAGE_TWO)}, 0, true);
        return TRUE;
    }
    bool onCommand(int id, int, HWND) override {
        if (id != IDOK && id != IDCANCEL) return false;
        endDialog(id);
        return true;
    }
};

TEST(PropertyPageTest, AChildSheetSitsAtThePlaceholderAndAppliesThroughItsHost) {
    Container box;
    auto result = std::async(std::launch::async,
                             [&] { return box.runModal(GetModuleHandleA(nullptr), IDD_TEST_CONTAINER, nullptr); });
    CancelLeftovers<INT_PTR> cancel(result, "Task properties");
    HWND dialog = waitForSheet("Task properties");
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(test::waitUntil([&] { return box.sheet != nullptr && IsWindowVisible(box.sheet); }));

    const LONG_PTR style = GetWindowLongPtrA(box.sheet, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongPtrA(box.sheet, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(dialog, GetParent(box.sheet));
    RECT place = {}, sheetRect = {};
    GetWindowRect(GetDlgItem(dialog, IDC_TEST_PLACEHOLDER), &place);
    GetWindowRect(box.sheet, &sheetRect);
    EXPECT_EQ(place.left - 7, sheetRect.left);
    EXPECT_EQ(place.top - 7, sheetRect.top);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(box.sheet, IDOK)));

    box.one.acceptApply = false;
    EXPECT_FALSE(applyChildSheet(box.sheet));
    box.one.acceptApply = true;
    EXPECT_TRUE(applyChildSheet(box.sheet));
    EXPECT_EQ(2, box.one.applied);
    EXPECT_EQ(0, box.two.applied);  // never shown

    // The header band: white under the title, which is bold.
    HWND title = GetDlgItem(dialog, IDC_TEST_TITLE);
    HDC dc = GetDC(title);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)),
              SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(title)));
    ReleaseDC(title, dc);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(title, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_EQ("This page contains the task's command.", test::windowText(GetDlgItem(dialog, IDC_TEST_DESCRIPTION)));

    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(std::future_status::ready, result.wait_for(std::chrono::milliseconds(kWaitMs)));
    EXPECT_EQ(IDOK, result.get());
}

}  // namespace
}  // namespace kzo
