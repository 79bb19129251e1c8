// setup.exe: the installer. No arguments; exit code 0 when the wizard was
// finished, 1 otherwise.
#include <windows.h>

#include "setup_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        return kzo::runSetup(instance);
    } catch (...) {
        MessageBeep(0xFFFFFFFF);
        MessageBoxA(nullptr, "There was an exception.", "Error", MB_OK | MB_ICONERROR);
        return 1;
    }
}
