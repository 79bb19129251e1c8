#include "shutdown_dialog.h"

#include "resource.h"

namespace kzo {

INT_PTR ShutdownDialog::run(HINSTANCE module, HWND owner) { return runModal(module, IDD_SHUTDOWN, owner); }

BOOL ShutdownDialog::onInit() {
    int choice = choice_ >= 0 && choice_ <= 3 ? choice_ : 0;
    CheckRadioButton(hwnd(), IDC_SHUTDOWN_TURNOFF, IDC_SHUTDOWN_LOGOFF, IDC_SHUTDOWN_TURNOFF + choice);
    return TRUE;
}

bool ShutdownDialog::onOk() {
    for (int i = 0; i < 4; ++i)
        if (IsDlgButtonChecked(hwnd(), IDC_SHUTDOWN_TURNOFF + i) == BST_CHECKED) choice_ = i;
    return true;
}

}  // namespace kzo
