// The suite's message box: the Windows message box's button sets and icons,
// plus "Yes to All" / "No to All", a Continue/Abort set, a Help button that
// opens the program's WinHelp file, and a check box that turns a message off.
#pragma once

#include <windows.h>

#include "message_box_layout.h"

namespace kzo {

// The program's string that names it (its title), used as the caption when
// the caller gives none; "Error" when the program has no such string.
constexpr unsigned kAppTitleStringId = 57344;

// Shows the box modally and returns the identifier of the button pressed
// (kIdOk ... kIdNoToAll, see message_box_layout.h) plus the type's check-box
// bit (kMbCheckA / kMbCheckB) when its check box was ticked: test
// `result & 0x0F` for the button and the bit for the box.
//
// owner: the window the box belongs to (nullptr, or no window: none). caption: empty or
// nullptr for the program's title. type: see message_box_layout.h.
// helpContext: the WinHelp context the Help button opens (0: the keyword
// search) in the program's file with the extension ".hlp".
//
// A system-modal stop message is shown by the plain Windows message box. When
// the box cannot be built or shown for want of memory, the plain box
// "Memory allocation for dialog template failed." says so and the result is
// kIdCancel. Callable from any thread with or without a message loop.
int KZOMessageBox(HWND owner, const char* text, const char* caption, unsigned type,
                  unsigned helpContext = 0);

}  // namespace kzo
