#include "check_list.h"

namespace kzo {

namespace {

bool isChecked(HWND list, int item) {
    return ((SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void setChecked(HWND list, int item, bool checked) {
    LVITEMA state = {};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageA(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}

}  // namespace

bool CheckList::attach(HWND list, const std::string& header, const std::vector<std::string>& items) {
    if (!list || !CSubclassWnd::attach(list)) return false;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(header.c_str());
    column.cx = 50;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (std::size_t i = 0; i < items.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(items[i].c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    // The column fills the list beside its scroll bar, if it has one.
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    return true;
}

int CheckList::mask() const {
    int count = static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0));
    int bits = 0;
    for (int i = 0; i < count && i < 31; ++i)
        if (isChecked(hwnd(), i)) bits |= 1 << i;
    return bits;
}

void CheckList::setMask(int mask) {
    int count = static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count && i < 31; ++i) setChecked(hwnd(), i, (mask >> i) & 1);
}

int CheckList::dropHeaderMenu(HMENU popup) const {
    HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd(), LVM_GETHEADER, 0, 0));
    RECT place = {};
    GetWindowRect(header ? header : hwnd(), &place);
    TPMPARAMS keepVisible = {sizeof keepVisible, place};
    return static_cast<int>(TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD |
                                                        TPM_RIGHTBUTTON,
                                             place.left, place.bottom, GetParent(hwnd()), &keepVisible));
}

void CheckList::toggleSelected() {
    int count = static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0));
    bool any = false;
    for (int i = 0; i < count; ++i) {
        if (!(SendMessageA(hwnd(), LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED)) continue;
        setChecked(hwnd(), i, !isChecked(hwnd(), i));
        any = true;
    }
    int focused = static_cast<int>(SendMessageA(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (!any && focused >= 0) setChecked(hwnd(), focused, !isChecked(hwnd(), focused));
}

LRESULT CheckList::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The list's own space bar toggles only the focused item; ours toggles
    // the selection. The character that follows is swallowed too, or the
    // list would search for an item starting with a blank.
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
        toggleSelected();
        return 0;
    }
    if (message == WM_CHAR && wParam == ' ') return 0;
    if (message == WM_KEYUP && wParam == VK_SPACE) return 0;
    return callNext(message, wParam, lParam);
}

}  // namespace kzo
