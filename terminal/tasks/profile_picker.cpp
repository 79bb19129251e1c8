#include "profile_picker.h"

#include <commctrl.h>

#include "blanks.h"
#include "message_text.h"
#include "profile_list_view.h"
#include "resource.h"
#include "string_table.h"
#include "system_error.h"
#include "terminal_boxes.h"

namespace kzo {

namespace {

constexpr int kNameColumnWidth = 190;

}  // namespace

INT_PTR ProfilePicker::run(HINSTANCE module, HWND owner) {
    module_ = module;
    command_.clear();
    return runModal(module, IDD_PROFILE_PICKER, owner);
}

BOOL ProfilePicker::onInit() {
    HWND list = item(IDC_PICKER_LIST);
    setupProfileList(list, module_, oneTouch_, images_);
    std::string header = loadString(IDS_PROFILE_COLUMN_NAME, "Name");
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header.data();
    column.cx = kNameColumnWidth;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

    int loaded = store_.load(0);
    if (loaded != 0) {
        EnableWindow(item(IDOK), FALSE);
        showError(hwnd(), fillMessage(loadString(IDS_PROFILES_LOAD_ERROR), {systemErrorText(loaded)}));
        return TRUE;
    }
    for (std::size_t i = 0; i < store_.count(); ++i) {
        std::string name;
        if (store_.inUse(i) && store_.name(i, name) == 0) addProfileRow(list, trimBlanks(name), i);
    }
    if (store_.count() == 0) {
        EnableWindow(item(IDOK), FALSE);
        return TRUE;
    }
    ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    return TRUE;
}

bool ProfilePicker::accept() {
    int profile = chosenProfile(item(IDC_PICKER_LIST));
    std::string command, comment;
    int type = 0;
    if (profile < 0 || store_.get(static_cast<std::size_t>(profile), command, comment, type) != 0) {
        MessageBeep(0xFFFFFFFF);
        return false;
    }
    command_ = trimBlanks(command);
    comment_ = pickedComment(trimBlanks(comment));
    type_ = type;
    return true;
}

bool ProfilePicker::onOk() { return IsWindowEnabled(item(IDOK)) && accept(); }

void ProfilePicker::onCancel() { command_.clear(); }

bool ProfilePicker::onNotify(const NMHDR& header, LRESULT&) {
    if (header.idFrom != IDC_PICKER_LIST) return false;
    // A double click, or one click with one-touch, takes the row.
    if (header.code == (oneTouch_ ? LVN_ITEMACTIVATE : NM_DBLCLK)) {
        if (onOk()) endDialog(IDOK);
        return true;
    }
    return false;
}

void ProfilePicker::onDestroy() {
    ListView_DeleteAllItems(item(IDC_PICKER_LIST));
    store_.free();
}

}  // namespace kzo
