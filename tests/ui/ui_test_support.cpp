#include "ui_test_support.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "program_driver.h"

namespace kzo::test {

struct UiThread::State {
    std::thread thread;
    HWND helper = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::function<bool(MSG&)> filter;  // used on the thread only
    ~State() { CloseHandle(ready); }
};

namespace {

constexpr UINT kRunWork = WM_APP + 1;

struct Work {
    std::function<void()> function;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Work() { CloseHandle(done); }
};

LRESULT CALLBACK helperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunWork) {
        // The poster keeps its own reference; this one ends with the call.
        std::unique_ptr<std::shared_ptr<Work>> work(reinterpret_cast<std::shared_ptr<Work>*>(lParam));
        (*work)->function();
        SetEvent((*work)->done);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

UiThread::UiThread() : state_(std::make_shared<State>()) {
    std::shared_ptr<State> state = state_;
    state_->thread = std::thread([state] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = helperProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KZOTestUiThread";
        RegisterClassA(&wc);
        state->helper = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetEvent(state->ready);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (state->filter && state->filter(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DestroyWindow(state->helper);
    });
    WaitForSingleObject(state_->ready, 10000);
}

UiThread::~UiThread() {
    if (state_->helper) PostMessageA(state_->helper, WM_QUIT, 0, 0);
    state_->thread.join();
}

bool UiThread::run(std::function<void()> work, DWORD timeoutMs) {
    auto item = std::make_shared<Work>();
    item->function = std::move(work);
    auto* posted = new std::shared_ptr<Work>(item);
    if (!PostMessageA(state_->helper, kRunWork, 0, reinterpret_cast<LPARAM>(posted))) {
        delete posted;
        return false;
    }
    return WaitForSingleObject(item->done, timeoutMs) == WAIT_OBJECT_0;
}

void UiThread::filter(std::function<bool(MSG&)> filter) {
    run([this, filter] { state_->filter = filter; });
}

void postKey(HWND window, int virtualKey) {
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(virtualKey), 0);
    PostMessageA(window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageA(window, WM_KEYUP, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u));
}

std::string windowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

namespace {

BOOL CALLBACK collectButton(HWND child, LPARAM lParam) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    const LONG style = static_cast<LONG>(GetWindowLongPtrA(child, GWL_STYLE));
    const LONG type = style & BS_TYPEMASK;
    if (lstrcmpiA(className, "Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) &&
        (style & WS_VISIBLE)) {
        DialogButton button{GetDlgCtrlID(child), windowText(child), {}, style};
        GetWindowRect(child, &button.rect);
        reinterpret_cast<std::vector<DialogButton>*>(lParam)->push_back(button);
    }
    return TRUE;
}

}  // namespace

std::vector<DialogButton> pushButtons(HWND dialog) {
    std::vector<DialogButton> buttons;
    EnumChildWindows(dialog, collectButton, reinterpret_cast<LPARAM>(&buttons));
    std::sort(buttons.begin(), buttons.end(),
              [](const DialogButton& a, const DialogButton& b) { return a.rect.left < b.rect.left; });
    return buttons;
}

HWND focusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

std::vector<HWND> ownDialogs(const std::string& caption) {
    return findWindows(GetCurrentProcessId(), "#32770", caption, true);
}

}  // namespace kzo::test
