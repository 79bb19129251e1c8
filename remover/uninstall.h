// The uninstaller's run: the question, stopping the suite, the service's
// removal, the files, the registry items, the Start-menu folder and the desktop
// shortcut.
#pragma once

#include <string>

namespace kzo {

// The whole run; the process exit code: 1 when the user declines, 0 otherwise.
int runUninstaller();

}  // namespace kzo
