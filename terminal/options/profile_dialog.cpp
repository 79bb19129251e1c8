#include "profile_dialog.h"

#include <shellapi.h>

#include "command_rules.h"
#include "dialog_helpers.h"
#include "profile_format.h"
#include "resource.h"
#include "string_table.h"
#include "terminal_boxes.h"

namespace kzo {

INT_PTR ProfileDialog::run(HINSTANCE module, HWND owner) { return runModal(module, IDD_PROFILE, owner); }

BOOL ProfileDialog::onInit() {
    SetWindowTextA(hwnd(), loadString(editing_ ? IDS_EDIT_PROFILE : IDS_NEW_PROFILE).c_str());
    for (int id : {IDC_PROFILE_NAME, IDC_PROFILE_COMMAND, IDC_PROFILE_COMMENT})
        SendMessageA(item(id), EM_LIMITTEXT, kProfileFieldWidth, 0);
    SetDlgItemTextA(hwnd(), IDC_PROFILE_NAME, fields_.name.c_str());
    SetDlgItemTextA(hwnd(), IDC_PROFILE_COMMAND, fields_.command.c_str());
    SetDlgItemTextA(hwnd(), IDC_PROFILE_COMMENT, fields_.comment.c_str());
    HWND combo = item(IDC_PROFILE_TYPE);
    for (int i = 0; i < 4; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(loadString(IDS_TYPE_APPLICATION + i).c_str()));
    SendMessageA(combo, CB_SETCURSEL, fields_.type >= 0 && fields_.type <= 3 ? fields_.type : 0, 0);
    return TRUE;
}

void ProfileDialog::browse() {
    const bool insert = shiftHeld();
    int type = static_cast<int>(SendMessageA(item(IDC_PROFILE_TYPE), CB_GETCURSEL, 0, 0));
    int filter = commandPageLayout(type).fileFilter;
    std::string chosen;
    if (!openFileDialog(hwnd(), loadString(IDS_OPEN_TITLE, "Open"), loadString(filter), "", "", chosen)) return;
    HWND edit = item(IDC_PROFILE_COMMAND);
    if (insert)
        insertAtCaret(edit, chosen);
    else
        SetWindowTextA(edit, chosen.c_str());
}

bool ProfileDialog::onOk() {
    ProfileEntry entry = checkProfileEntry(dialogText(hwnd(), IDC_PROFILE_NAME),
                                           dialogText(hwnd(), IDC_PROFILE_COMMAND),
                                           dialogText(hwnd(), IDC_PROFILE_COMMENT));
    if (entry.messageId) {
        showError(hwnd(), loadString(entry.messageId));
        return false;
    }
    int type = static_cast<int>(SendMessageA(item(IDC_PROFILE_TYPE), CB_GETCURSEL, 0, 0));
    fields_ = {entry.name, entry.command, type >= 0 && type <= 3 ? type : 0, entry.comment};
    return true;
}

bool ProfileDialog::onCommand(int id, int, HWND) {
    switch (id) {
    case IDC_PROFILE_BROWSE:
        browse();
        return true;
    default:
        return false;
    }
}

bool ProfileDialog::onMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_DROPFILES) return false;
    const bool insert = shiftHeld();
    std::string file = droppedFile(reinterpret_cast<HDROP>(wParam));
    result = 0;
    if (file.empty()) return true;
    MessageBeep(0xFFFFFFFF);
    putText(item(IDC_PROFILE_COMMAND), file, insert);
    return true;
}

}  // namespace kzo
