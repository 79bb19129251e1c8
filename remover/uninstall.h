// The uninstaller's run: the question, stopping the suite, the service's
// removal, the files, the registry items, the Start-menu folder and the desktop
// shortcut.
#pragma once

#include <string>

namespace kzo {

// Posts WM_CLOSE to every top-level window with this class and title (nullptr:
// any) until it is gone, re-posting every closeRepostMs; a window still there
// after giveUpMs is left alone. Never more than 100 posts to one window.
void closeWindowsBounded(const char* windowClass, const char* title, unsigned giveUpMs = 5000,
                         unsigned closeRepostMs = 500);

// The whole run; the process exit code: 1 when the user declines, 0 otherwise.
int runUninstaller();

}  // namespace kzo
