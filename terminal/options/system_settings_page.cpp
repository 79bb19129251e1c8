#include "system_settings_page.h"

#include <commctrl.h>

#include "resource.h"
#include "string_table.h"
#include "terminal_settings_registry.h"

namespace kzo {

namespace {

const char* const kConfirmationFallbacks[kConfirmationCount] = {
    "Delete task", "Run task", "Start Scheduler", "Stop Scheduler", "Clear Logfile", "Diagnostics", "Delete profile"};

}  // namespace

bool Cops4::checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }

BOOL Cops4::onInit() {
    list_ = item(IDC_SETTINGS_CONFIRM);
    ListView_SetExtendedListViewStyleEx(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                                        LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT client = {};
    GetClientRect(list_, &client);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
    ListView_InsertColumn(list_, 0, &column);
    for (int i = 0; i < kConfirmationCount; ++i) {
        std::string text = loadString(IDS_CONFIRM_FIRST + i, kConfirmationFallbacks[i]);
        LVITEMA lvi = {};
        lvi.mask = LVIF_TEXT;
        lvi.iItem = i;
        lvi.pszText = &text[0];
        ListView_InsertItem(list_, &lvi);
        ListView_SetCheckState(list_, i, confirmations_[i] != 0);
    }
    ListView_SetItemState(list_, 0, LVIS_FOCUSED, LVIS_FOCUSED);

    const int commands[] = {IDC_SETTINGS_SELECT_ALL, IDC_SETTINGS_UNSELECT_ALL};
    const int tips[] = {IDS_SELECT_ALL_TIP, IDS_UNSELECT_ALL_TIP};
    strip_.setup(item(IDC_SETTINGS_STRIP), 2, IDB_STRIP_SELECT, commands, tips);

    CheckDlgButton(hwnd(), IDC_SETTINGS_ONEINST, settings_.oneInst ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd(), IDC_SETTINGS_AUTOQUOTE, settings_.autoQuote ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(hwnd(), IDC_SETTINGS_WINHELP, IDC_SETTINGS_HTMLHELP,
                     settings_.hlp ? IDC_SETTINGS_HTMLHELP : IDC_SETTINGS_WINHELP);
    return TRUE;
}

void Cops4::checkAll(bool on) {
    for (int i = 0; i < kConfirmationCount; ++i) ListView_SetCheckState(list_, i, on);
}

bool Cops4::onCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_SETTINGS_SELECT_ALL:
        checkAll(true);
        return true;
    case IDC_SETTINGS_UNSELECT_ALL:
        checkAll(false);
        return true;
    case IDC_SETTINGS_ONEINST:
        settings_.oneInst = checked(id);
        return true;
    case IDC_SETTINGS_AUTOQUOTE:
        settings_.autoQuote = checked(id);
        return true;
    case IDC_SETTINGS_WINHELP:
    case IDC_SETTINGS_HTMLHELP:
        settings_.hlp = checked(IDC_SETTINGS_HTMLHELP) ? 1 : 0;
        return true;
    default:
        return false;
    }
}

bool Cops4::leave() {
    if (!list_ || !IsWindow(list_)) return true;
    for (int i = 0; i < kConfirmationCount; ++i) confirmations_[i] = ListView_GetCheckState(list_, i) ? 1 : 0;
    writeConfirmations(confirmations_);
    return true;
}

void Cops4::reset() {
    checkAll(true);
    CheckDlgButton(hwnd(), IDC_SETTINGS_ONEINST, BST_CHECKED);
    CheckDlgButton(hwnd(), IDC_SETTINGS_AUTOQUOTE, BST_CHECKED);
    settings_.oneInst = true;
    settings_.autoQuote = true;
}

}  // namespace kzo
