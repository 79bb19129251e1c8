// The process-wide state that all prompt dialogs share: the TopMost and ActDlg
// flags, the dialog icon and the count of open dialogs that makes them cascade.
// Dialogs run on many threads at once; every value here is safe to read and
// change from any thread.
#pragma once

#include <windows.h>

namespace kzo {

// The state at the Executor's start, before the settings are read: no dialog
// open, TopMost on, ActDlg off, no icon set.
void resetPromptState();

// TopMost: dialogs are system-modal and stay above other windows. ActDlg: a
// dialog flashes and takes the focus when it opens. Set from the settings each
// time the Executor reads them.
void setPromptOptions(bool topMost, bool actDlg);
bool promptTopMost();
bool promptActDlg();

// The icon shown in the dialogs; the caller keeps it alive while dialogs may be
// open. Without one (nullptr), the dialogs show the program's icon 2, or the
// system's IDI_WINLOGO when the program has none.
void setPromptIcon(HICON icon);
HICON promptIcon();

// The cascade. Each opening dialog takes the count of open dialogs (0 to 9) as
// its step (20 pixels right and down per step) and raises the count by 1; past
// 9 it starts again at 0. Each closing dialog lowers the count by 1 unless it is
// already 0.
int takeCascadeStep();
void releaseCascadeStep();

}  // namespace kzo
