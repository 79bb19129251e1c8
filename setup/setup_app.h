// The installer's run: the common controls check, the background window, the
// preset folder and the wizard.
#pragma once

#include <windows.h>

namespace kzo {

// The process exit code: 0 when the wizard was finished, 1 when setup was
// aborted at the start or cancelled.
int runSetup(HINSTANCE module);

}  // namespace kzo
