// The Executor's task-time prompts: the Warning dialog (Yes / No) before a
// launch and the Message dialog (OK) that shows a Message task's text. Their
// look follows the shared state of prompt_state.h.
#pragma once

#include <windows.h>

namespace kzo {

// The values of MB_OK and MB_YESNO, as the engine passes them.
enum class PromptKind : int {
    Message = 0,
    Warning = 4,
};

// Shows the text (wrapped and, past 599 characters, cut: prompt_text.h) in the
// dialog of its kind, cascaded below the ones already open, and blocks the
// calling thread until the user answers. There is no timeout.
//
// Returns, for a Message, IDOK (1); for a Warning, IDYES (6) for Yes and IDNO
// (7) for No, Escape or the close box. When the dialog cannot be created, the
// same question is asked in a message box; when even that fails, a Warning
// answers IDNO: a launch the user could not confirm does not run.
int showPrompt(HWND owner, const char* text, PromptKind kind);

}  // namespace kzo
