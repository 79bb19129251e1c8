#include "advanced_dialog.h"

#include <commctrl.h>

#include "dialog_helpers.h"
#include "program_search.h"
#include "resource.h"
#include "string_table.h"
#include "terminal_boxes.h"

namespace kzo {

namespace {

constexpr int kSecondsDigits = 6;
constexpr int kSpinMaximum = 32767;

}  // namespace

INT_PTR AdvancedDialog::run(HINSTANCE module, HWND owner) { return runModal(module, IDD_ADVANCED, owner); }

BOOL AdvancedDialog::onInit() {
    SendMessageA(item(IDC_ADVANCED_KILL), EM_LIMITTEXT, kSecondsDigits, 0);
    SendMessageA(item(IDC_ADVANCED_QUIT), EM_LIMITTEXT, kSecondsDigits, 0);
    SendMessageA(item(IDC_ADVANCED_ON_ERROR), EM_LIMITTEXT, kCommandWidth, 0);
    for (int spin : {IDC_ADVANCED_KILL_SPIN, IDC_ADVANCED_QUIT_SPIN})
        SendMessageA(item(spin), UDM_SETRANGE32, 0, kSpinMaximum);
    SetDlgItemTextA(hwnd(), IDC_ADVANCED_KILL, std::to_string(result_.killAfter).c_str());
    SetDlgItemTextA(hwnd(), IDC_ADVANCED_QUIT, std::to_string(result_.quitAfter).c_str());
    SetDlgItemTextA(hwnd(), IDC_ADVANCED_ON_ERROR, result_.onError.c_str());
    const bool quit = quitAfterEnabled(type_);
    EnableWindow(item(IDC_ADVANCED_QUIT), quit);
    EnableWindow(item(IDC_ADVANCED_QUIT_SPIN), quit);
    SendMessageA(item(IDC_ADVANCED_WARNING_ICON), STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconA(nullptr, MAKEINTRESOURCEA(32515) /* IDI_WARNING */)), 0);
    return TRUE;
}

void AdvancedDialog::browse() {
    const bool insert = shiftHeld();
    std::string chosen;
    if (!openFileDialog(hwnd(), loadString(IDS_OPEN_TITLE, "Open"), loadString(IDS_FILTER_PROGRAMS), "", "", chosen))
        return;
    HWND edit = item(IDC_ADVANCED_ON_ERROR);
    if (insert)
        insertAtCaret(edit, chosen);
    else
        SetWindowTextA(edit, chosen.c_str());
}

bool AdvancedDialog::onOk() {
    AdvancedControls controls{dialogText(hwnd(), IDC_ADVANCED_KILL), dialogText(hwnd(), IDC_ADVANCED_QUIT),
                              dialogText(hwnd(), IDC_ADVANCED_ON_ERROR)};
    AdvancedOutcome outcome = checkAdvanced(controls, autoQuote_, systemProgramSearch());
    if (outcome.messageId) {
        showError(hwnd(), loadString(outcome.messageId));
        return false;
    }
    result_ = outcome;
    return true;
}

bool AdvancedDialog::onCommand(int id, int, HWND) {
    switch (id) {
    case IDC_ADVANCED_BROWSE:
        browse();
        return true;
    default:
        return false;
    }
}

}  // namespace kzo
