// The installer's full-screen background window: white, with the banner at the
// top left, the heading and the list of the product's main features.
#pragma once

#include <windows.h>

namespace kzo {

constexpr const char* kBackgroundClass = "KZOSCDInstallWnd";

// Registers the class and creates the window, visible and covering the whole
// screen; nullptr when either fails. Destroying the window posts WM_QUIT, which
// ends the installer's message loop.
HWND createBackgroundWindow(HINSTANCE module);

}  // namespace kzo
