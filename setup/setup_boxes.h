// The installer's messages: plain message boxes for errors and the quit
// question, the suite's message box for the Continue/Abort questions.
#pragma once

#include <windows.h>

#include "install_plan.h"

namespace kzo {

// Shows the string textId with the caption "Error" and the error icon,
// after a beep when beepFirst.
void showSetupError(HWND owner, unsigned textId, bool beepFirst);

// Why the typed install folder is refused, as showSetupError shows it after a
// beep.
void showFolderRefusal(HWND owner, FolderProblem problem);

// Shows the string textId with the caption "Warning", the exclamation icon and
// the buttons Continue and Abort; true for Continue.
bool askContinue(HWND owner, unsigned textId);

// Cancel's question: beeps and asks whether to quit Setup; true for Yes.
bool confirmQuit(HWND owner);

// The common controls check: when the system's library is older than 4.72
// (or cannot be read), warns and asks Continue or Abort. True to go on.
bool confirmCommonControls(HWND owner);

}  // namespace kzo
