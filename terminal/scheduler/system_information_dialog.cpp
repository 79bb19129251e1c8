#include "system_information_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "diagnostics_info.h"
#include "main_frame.h"
#include "resource.h"
#include "string_table.h"

namespace kzo {

namespace {

constexpr UINT_PTR kClockTimer = 244;
constexpr UINT kClockPeriodMs = 1000;
constexpr int kTimeRow = 4;

}  // namespace

BOOL SystemInformationDialog::onInit() {
    list_ = item(IDC_SYSINFO_LIST);
    DWORD styles = LVS_EX_FULLROWSELECT;
    if (oneTouch_) styles |= LVS_EX_ONECLICKACTIVATE | LVS_EX_TRACKSELECT | LVS_EX_UNDERLINEHOT;
    ListView_SetExtendedListViewStyleEx(list_, styles, styles);
    // The value column takes what the list has beside the names.
    RECT client = {};
    GetClientRect(list_, &client);
    const int widths[] = {85, std::max(278, static_cast<int>(client.right) - 85)};
    for (int column = 0; column < 2; ++column) {
        char blank[] = " ";
        LVCOLUMNA lvc = {};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH;
        lvc.cx = widths[column];
        lvc.pszText = blank;
        ListView_InsertColumn(list_, column, &lvc);
    }
    names_ = loadTaskListNames();
    SystemInformationRows rows = systemInformationRows(names_);
    const struct {
        unsigned name;
        const char* fallback;
        const std::string& value;
    } table[] = {{IDS_INFO_OS, "OS", rows.os},
                 {IDS_INFO_COMPUTER, "Computer name", rows.computerName},
                 {IDS_INFO_CPU, "CPU", rows.cpu},
                 {IDS_INFO_RAM, "RAM", rows.ram},
                 {IDS_INFO_TIME, "Time", rows.time}};
    int row = 0;
    for (const auto& entry : table) {
        std::string name = loadString(entry.name, entry.fallback);
        LVITEMA lvi = {};
        lvi.mask = LVIF_TEXT;
        lvi.iItem = row;
        lvi.pszText = &name[0];
        ListView_InsertItem(list_, &lvi);
        setValue(row++, entry.value);
    }
    SetTimer(hwnd(), kClockTimer, kClockPeriodMs, nullptr);
    return TRUE;
}

void SystemInformationDialog::setValue(int row, const std::string& text) {
    std::string value = text;
    ListView_SetItemText(list_, row, 1, &value[0]);
}

bool SystemInformationDialog::onMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_TIMER || wParam != kClockTimer) return false;
    setValue(kTimeRow, currentTimeText(names_));
    result = 0;
    return true;
}

void SystemInformationDialog::onDestroy() { KillTimer(hwnd(), kClockTimer); }

void showSystemInformation(CMainFrame& frame) {
    SystemInformationDialog dialog(frame.settings().oneTouch);
    dialog.runModal(frame.module(), IDD_SYSTEM_INFORMATION, frame.hwnd());
}

}  // namespace kzo
