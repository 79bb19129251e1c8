// Subclassing of existing windows by objects. A process-wide map from window to
// a chain of attached objects lets several objects subclass one window: the
// object attached last sees a message first and passes it on with callNext,
// down the chain to the window's original procedure. Objects may detach in any
// order; all are detached when the window receives WM_NCDESTROY (after they
// have seen it). Exceptions never reach user32: one thrown while a message is
// handled hands that message to the original procedure.
//
// Attach and detach on the window's own thread.
#pragma once

#include <windows.h>

namespace kzo {

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    virtual ~CSubclassWnd();  // detaches
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Attaches this object to the window, at the front of its chain. False when
    // the object is already attached, or the window is none or belongs to
    // another process.
    bool attach(HWND window);
    // Takes this object out of its window's chain (nothing when not attached);
    // the window's original procedure returns once the chain is empty.
    void detach();

    // The window while attached, else nullptr.
    HWND hwnd() const { return hwnd_; }

protected:
    // A message for the window. The default passes it on.
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Passes the message to the next object of the chain, or to the window's
    // original procedure.
    LRESULT callNext(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the automatic detach at WM_NCDESTROY.
    virtual void onDetached() {}

private:
    static LRESULT CALLBACK hookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void detachAll(HWND window);

    HWND hwnd_ = nullptr;
    HWND lastHwnd_ = nullptr;  // for a callNext after a detach inside a handler
};

}  // namespace kzo
