// kzo.exe: the Terminal.
#include <windows.h>

#include "terminal_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    try {
        return kzo::runTerminal(instance, commandLine);
    } catch (...) {
        MessageBeep(0xFFFFFFFF);
        MessageBoxA(nullptr, "There was an exception.", "Error", MB_OK | MB_ICONERROR);
        return 1;
    }
}
