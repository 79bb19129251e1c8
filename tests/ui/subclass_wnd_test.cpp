// CSubclassWnd's chains: order, detaching in and out of order, a window
// subclassed by someone else in between, exceptions, and the end of the window.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>

#include "subclass_wnd.h"

namespace kzo {
namespace {

constexpr UINT kProbe = WM_APP + 10;
constexpr UINT kThrow = WM_APP + 11;

std::string trail;

LRESULT CALLBACK originalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe || message == kThrow) {
        trail += "original";
        return 42;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC foreignNext = nullptr;
LRESULT CALLBACK foreignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) trail += "foreign ";
    return CallWindowProcA(foreignNext, window, message, wParam, lParam);
}

class Recorder : public CSubclassWnd {
public:
    explicit Recorder(const char* name) : name_(name) {}
    bool sawNcDestroy = false;
    bool detachedAtEnd = false;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe) trail += name_ + " ";
        if (message == kThrow) throw std::runtime_error("handler failed");
        if (message == WM_NCDESTROY) sawNcDestroy = true;
        return callNext(message, wParam, lParam);
    }
    void onDetached() override { detachedAtEnd = true; }

private:
    std::string name_;
};

class SubclassWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = originalProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KZOTestSubclassed";
        RegisterClassA(&wc);
        window = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
    }
    std::string probe() {
        trail.clear();
        EXPECT_EQ(42, SendMessageA(window, kProbe, 0, 0));
        return trail;
    }
    WNDPROC procedure() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)); }

    HWND window = nullptr;
};

TEST_F(SubclassWndTest, TheLastAttachedSeesAMessageFirstAndDetachingInAnyOrderKeepsTheChain) {
    Recorder a("a"), b("b"), c("c");
    ASSERT_TRUE(a.attach(window));
    ASSERT_TRUE(b.attach(window));
    ASSERT_TRUE(c.attach(window));
    EXPECT_FALSE(b.attach(window));
    EXPECT_EQ("c b a original", probe());
    b.detach();
    EXPECT_EQ("c a original", probe());
    c.detach();
    EXPECT_EQ("a original", probe());
    ASSERT_TRUE(b.attach(window));
    EXPECT_EQ("b a original", probe());
    a.detach();
    b.detach();
    EXPECT_EQ("original", probe());
    EXPECT_EQ(&originalProc, procedure());
}

TEST_F(SubclassWndTest, AWindowSubclassedByOthersInBetweenKeepsWorking) {
    Recorder a("a"), b("b");
    ASSERT_TRUE(a.attach(window));
    foreignNext = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&foreignProc)));
    ASSERT_TRUE(b.attach(window));
    EXPECT_EQ("foreign b a original", probe());
    a.detach();
    b.detach();
    EXPECT_EQ("foreign original", probe());
    EXPECT_EQ(&foreignProc, procedure());
}

TEST_F(SubclassWndTest, AnExceptionHandsTheMessageToTheOriginalProcedure) {
    Recorder a("a");
    ASSERT_TRUE(a.attach(window));
    trail.clear();
    EXPECT_EQ(42, SendMessageA(window, kThrow, 0, 0));
    EXPECT_EQ("original", trail);
    EXPECT_EQ("a original", probe());
}

TEST_F(SubclassWndTest, TheEndOfTheWindowDetachesEveryObject) {
    Recorder a("a"), b("b");
    ASSERT_TRUE(a.attach(window));
    ASSERT_TRUE(b.attach(window));
    DestroyWindow(window);
    EXPECT_TRUE(a.sawNcDestroy && b.sawNcDestroy);
    EXPECT_TRUE(a.detachedAtEnd && b.detachedAtEnd);
    EXPECT_EQ(nullptr, a.hwnd());
    EXPECT_EQ(nullptr, b.hwnd());
    // A new window may reuse the handle: the old chain is gone.
    SetUp();
    EXPECT_EQ("original", probe());
    EXPECT_TRUE(a.attach(window));
    EXPECT_EQ("a original", probe());
}

}  // namespace
}  // namespace kzo
