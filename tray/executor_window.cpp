#include "executor_window.h"

#include "tray_icon.h"

namespace kzo {

namespace {

ExecutorWindowHandler* handlerOf(HWND window) {
    return reinterpret_cast<ExecutorWindowHandler*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT route(ExecutorWindowHandler& handler, HWND window, UINT message, WPARAM wParam,
              LPARAM lParam) {
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (message == taskbarCreated && taskbarCreated != 0) {
        handler.onTaskbarCreated();
        return 0;
    }
    switch (message) {
        case kTrayCallbackMessage:
            handler.onTrayNotify(static_cast<UINT>(lParam));
            return 0;
        case kSetActiveMessage:
            handler.onSetActive(wParam);
            return 0;
        case kStopMessage:
            handler.onStopRequest(wParam);
            return 0;
        case WM_COMMAND:
            handler.onCommand(LOWORD(wParam));
            return 0;
        case WM_EXITMENULOOP:
            handler.onExitMenuLoop();
            return 0;
        case WM_TIMER:
            handler.onTimer(wParam);
            return 0;
        case WM_CLOSE:
            handler.onClose();
            return 0;
        case WM_DESTROY:
            handler.onDestroy();
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    ExecutorWindowHandler* handler = handlerOf(window);
    if (!handler) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return route(*handler, window, message, wParam, lParam);
    } catch (...) {
        handler->onFailure(std::current_exception());
        return 0;
    }
}

}  // namespace

HWND createExecutorWindow(HINSTANCE instance, ExecutorWindowHandler& handler) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = "KZOMenu";
    windowClass.lpszClassName = kExecutorClass;
    if (!RegisterClassA(&windowClass)) return nullptr;
    HWND window = CreateWindowA(kExecutorClass, kExecutorTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, &handler);
    if (window) ShowWindow(window, SW_HIDE);
    return window;
}

}  // namespace kzo
