// Calls of the user interface that the oldest systems of the suite lack, each
// with the way those systems do the same (the functions are bound at run time,
// so the programs load everywhere).
#pragma once

#include <windows.h>

namespace kzo {

// Asks for WM_MOUSELEAVE when the cursor leaves the window: TrackMouseEvent
// (98, NT 4.0), else comctl32's _TrackMouseEvent (Internet Explorer 3), else
// a timer that checks the cursor every 100 ms and posts WM_MOUSELEAVE itself
// (Windows 95). True when a leave will be reported.
bool trackMouseLeave(HWND window);

// Ends the menu that this thread shows: EndMenu (98, 2000), else
// WM_CANCELMODE to the window that owns the menu.
void endMenu(HWND menuOwner);

}  // namespace kzo
