// The tray icon's popup menu, built each time it is shown: Open Terminal
// (default item), Active (checked while active), Help, About, Exit. The chosen
// command reaches the window as WM_COMMAND.
#pragma once

#include <windows.h>

namespace kzo {

// Texts are loaded with a limit of 31 characters.
constexpr int kMenuTextLength = 31;

// Brings the window to the foreground and tracks the menu at the cursor
// (right-aligned) with the window as owner; returns when the menu closes.
void showTrayMenu(HWND window, bool active);

}  // namespace kzo
