#include "setup_app.h"

#include <commctrl.h>
#include <objbase.h>

#include "background_window.h"
#include "install.h"
#include "setup_boxes.h"
#include "windows_platform.h"
#include "wizard.h"

namespace kzo {

int runSetup(HINSTANCE module) {
    // The classes of Windows 95's common controls, all setup uses: setup
    // starts on any comctl32 to tell the user of an old one to update it.
    InitCommonControls();
    if (!confirmCommonControls(nullptr)) return 1;

    HRESULT com = CoInitialize(nullptr);
    HWND background = createBackgroundWindow(module);
    SetupState state;
    state.options.folder = presetInstallFolder(programFilesFolder());
    state.options.family = isWindowsNt() ? OsFamily::WindowsNt : OsFamily::Windows9x;
    CWizard97(state).run(module, background);

    // The background window's end posts WM_QUIT.
    if (background) {
        DestroyWindow(background);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return state.finished ? 0 : 1;
}

}  // namespace kzo
