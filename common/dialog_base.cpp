#include "dialog_base.h"

#include <utility>

namespace kzo {

INT_PTR DialogBase::runModal(HINSTANCE module, int templateId, HWND owner) {
    failure_ = nullptr;
    INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), owner, dialogProc,
                                     reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return result;
}

bool DialogBase::onCommand(int, int, HWND) { return false; }

bool DialogBase::onNotify(const NMHDR&, LRESULT&) { return false; }

bool DialogBase::onMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK DialogBase::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, ...) and after the failure of a
    // handler take the default handling.
    if (!self || self->failure_) return FALSE;
    try {
        return self->route(message, wParam, lParam);
    } catch (...) {
        self->failure_ = std::current_exception();
        EndDialog(hwnd, -1);
        return FALSE;
    }
}

BOOL DialogBase::command(int id, int code, HWND control) {
    if (onCommand(id, code, control)) return TRUE;
    if (id == IDOK) {
        if (onOk()) endDialog(IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        onCancel();
        endDialog(IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR DialogBase::route(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInit();
    case WM_COMMAND:
        return command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        LRESULT answer = 0;
        if (!onNotify(*reinterpret_cast<const NMHDR*>(lParam), answer)) return FALSE;
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    case WM_DESTROY:
        onDestroy();
        return FALSE;
    default: {
        INT_PTR result = FALSE;
        return onMessage(message, wParam, lParam, result) ? result : FALSE;
    }
    }
}

HWND topLevelWindow(HWND window) {
    while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(window);
        if (!parent) break;
        window = parent;
    }
    return window;
}

}  // namespace kzo
