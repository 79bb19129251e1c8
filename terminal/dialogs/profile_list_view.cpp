#include "profile_list_view.h"

#include <commctrl.h>

#include "resource.h"

namespace kzo {

namespace {

int profileOf(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return static_cast<int>(item.lParam);
}

}  // namespace

void setupProfileList(HWND list, HINSTANCE module, bool oneTouch, UniqueImageList& images) {
    HDC screen = GetDC(nullptr);
    int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 24;
    if (screen) ReleaseDC(nullptr, screen);
    int bitmap = bits >= 16 ? IDB_PROFILES : IDB_PROFILES_16C;
    images.reset(ImageList_LoadImageA(module, MAKEINTRESOURCEA(bitmap), 17, 0, RGB(0, 255, 0), IMAGE_BITMAP,
                                      LR_CREATEDIBSECTION));
    if (images) SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.get()));
    DWORD styles = oneTouch ? LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TRACKSELECT | LVS_EX_UNDERLINEHOT
                            : LVS_EX_FULLROWSELECT;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
}

int addProfileRow(HWND list, const std::string& name, std::size_t profile) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(name.c_str());
    item.lParam = static_cast<LPARAM>(profile);
    item.iImage = 0;
    return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void setProfileCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

int chosenProfile(HWND list) {
    int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return row < 0 ? -1 : profileOf(list, row);
}

std::vector<std::size_t> selectedProfiles(HWND list) {
    std::vector<std::size_t> profiles;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
        int profile = profileOf(list, row);
        if (profile >= 0) profiles.push_back(static_cast<std::size_t>(profile));
    }
    return profiles;
}

}  // namespace kzo
