// The Executor's hidden window "KZO Window" of class "KZOClass": the Terminal
// finds it by class and title and sends it messages; the tray icon calls back
// to it. The window procedure only routes each message to its handler.
#pragma once

#include <windows.h>

#include <exception>

#include "suite_names.h"

namespace kzo {

class ExecutorWindowHandler {
public:
    virtual void onTrayNotify(UINT mouseMessage) = 0;  // the tray callback, 32868
    virtual void onSetActive(WPARAM inactive) = 0;      // 32875
    virtual void onStopRequest(WPARAM mode) = 0;        // 32876
    virtual void onCommand(int id) = 0;                 // menu commands
    virtual void onExitMenuLoop() = 0;
    virtual void onTimer(UINT_PTR id) = 0;
    // The shell's "TaskbarCreated": a new notification area without our icon.
    virtual void onTaskbarCreated() = 0;
    virtual void onClose() = 0;
    virtual void onDestroy() = 0;
    // An exception thrown by a handler; it never crosses into user32.
    virtual void onFailure(std::exception_ptr failure) = 0;

protected:
    ~ExecutorWindowHandler() = default;
};

// Registers the class (default application icon, arrow cursor, white
// background, class menu name "KZOMenu", which names no resource) and creates
// the hidden overlapped window routed to handler, which must outlive it.
// nullptr when either step fails.
HWND createExecutorWindow(HINSTANCE instance, ExecutorWindowHandler& handler);

}  // namespace kzo
