// remover.exe: the uninstaller. No window of its own, no arguments; exit code
// 1 when the user declines, 0 otherwise.
#include <windows.h>

#include "uninstall.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return kzo::runUninstaller();
    } catch (...) {
        return 0;
    }
}
