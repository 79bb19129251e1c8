#include "first_run_dialog.h"

#include <commdlg.h>
#include <shellapi.h>

#include "blanks.h"
#include "dialog_helpers.h"
#include "registry_values.h"
#include "resource.h"
#include "string_table.h"
#include "suite_names.h"
#include "terminal_boxes.h"
#include "win_handles.h"

namespace kzo {

FirstRunDialog::FirstRunDialog(std::string proposed, std::string userName, HKEY schedulerRoot,
                               const char* schedulerKey)
    : file_(std::move(proposed)), userName_(std::move(userName)), root_(schedulerRoot), key_(schedulerKey) {}

BOOL FirstRunDialog::onInit() {
    // The Terminal has no main window yet: setup and the uninstaller find it
    // by this mark to close it.
    SetPropA(hwnd(), kTerminalWindowProperty, reinterpret_cast<HANDLE>(1));
    SetDlgItemTextA(hwnd(), IDC_FIRST_RUN_USER, userName_.c_str());
    SendDlgItemMessageA(hwnd(), IDC_FIRST_RUN_FILE, EM_LIMITTEXT, 1299, 0);
    SetDlgItemTextA(hwnd(), IDC_FIRST_RUN_FILE, file_.c_str());
    DragAcceptFiles(hwnd(), TRUE);
    MessageBeep(0xFFFFFFFF);
    return TRUE;
}

void FirstRunDialog::onDestroy() { RemovePropA(hwnd(), kTerminalWindowProperty); }

bool FirstRunDialog::onCommand(int id, int, HWND) {
    switch (id) {
    case IDC_FIRST_RUN_BROWSE:
        browse();
        return true;
    default:
        return false;
    }
}

bool FirstRunDialog::onMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_DROPFILES) return false;
    std::string dropped = droppedFile(reinterpret_cast<HDROP>(wParam));
    if (!dropped.empty()) {
        MessageBeep(0xFFFFFFFF);
        SetDlgItemTextA(hwnd(), IDC_FIRST_RUN_FILE, dropped.c_str());
    }
    result = 0;
    return true;
}

void FirstRunDialog::browse() {
    std::string chosen;
    if (openFileDialog(hwnd(), loadString(IDS_OPEN_TITLE, "Open"), loadString(IDS_FILTER_SCHEDULE), "jsf",
                       dialogText(hwnd(), IDC_FIRST_RUN_FILE), chosen))
        SetDlgItemTextA(hwnd(), IDC_FIRST_RUN_FILE, chosen.c_str());
}

bool FirstRunDialog::onOk() {
    std::string text = trimBlanks(dialogText(hwnd(), IDC_FIRST_RUN_FILE));
    if (text.empty()) {
        showError(hwnd(), loadString(IDS_FILE_NOT_SPECIFIED));
        return false;
    }
    file_ = text;
    UniqueKey key;
    if (RegCreateKeyExA(root_, key_, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS)
        writeString(key.get(), "DAT", file_);
    return true;
}

}  // namespace kzo
