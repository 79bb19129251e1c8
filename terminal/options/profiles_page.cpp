#include "profiles_page.h"

#include <commctrl.h>

#include "blanks.h"
#include "main_frame.h"
#include "message_text.h"
#include "profile_dialog.h"
#include "profile_list_view.h"
#include "resource.h"
#include "string_table.h"
#include "system_error.h"
#include "terminal_boxes.h"

namespace kzo {

namespace {

struct Column {
    int text;
    int width;
};
constexpr Column kColumns[] = {{IDS_PROFILE_COLUMN_NAME, 200},
                               {IDS_PROFILE_COLUMN_COMMAND, 150},
                               {IDS_PROFILE_COLUMN_TYPE, 40},
                               {IDS_INFORMATION, 150}};

}  // namespace

ProfilesPage::ProfilesPage(CMainFrame& frame) : frame_(frame), store_(frame.programFolder() + "kzo.pro") {}

PROPSHEETPAGEA ProfilesPage::sheetPage() { return page(frame_.module(), IDD_PROFILES_PAGE); }

BOOL ProfilesPage::onInit() {
    HWND list = item(IDC_PROFILES_LIST);
    setupProfileList(list, frame_.module(), frame_.settings().oneTouch, images_);
    for (int i = 0; i < 4; ++i) {
        std::string text = loadString(kColumns[i].text);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = text.data();
        column.cx = kColumns[i].width;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    static const int commands[] = {ID_PROFILE_NEW, ID_PROFILE_EDIT, ID_PROFILE_DELETE};
    strip_.setup(item(IDC_PROFILES_STRIP), 3, IDB_STRIP_PROFILES, commands, commands);
    return TRUE;
}

void ProfilesPage::empty() {
    if (HWND list = item(IDC_PROFILES_LIST)) ListView_DeleteAllItems(list);
    store_.free();
}

void ProfilesPage::refill() {
    empty();
    HWND list = item(IDC_PROFILES_LIST);
    int loaded = store_.load(1);
    if (loaded != 0) {
        showError(hwnd(), fillMessage(loadString(IDS_PROFILES_LOAD_ERROR), {systemErrorText(loaded)}));
    } else {
        for (std::size_t i = 0; i < store_.count(); ++i) {
            std::string name, command, comment;
            int type = 0;
            if (!store_.inUse(i) || store_.name(i, name) != 0 || store_.get(i, command, comment, type) != 0) continue;
            int row = addProfileRow(list, trimBlanks(name), i);
            setProfileCell(list, row, 1, trimBlanks(command));
            setProfileCell(list, row, 2, profileTypeCode(type));
            setProfileCell(list, row, 3, trimBlanks(comment));
        }
    }
    SetDlgItemTextA(hwnd(), IDC_PROFILES_COUNT,
                    fillNumber(loadString(IDS_PROFILES_COUNT), static_cast<long long>(store_.count())).c_str());
}

bool ProfilesPage::saveProfiles() {
    int saved = store_.save();
    if (saved != 0) showError(hwnd(), fillMessage(loadString(IDS_PROFILES_SAVE_ERROR), {systemErrorText(saved)}));
    refill();
    return saved == 0;
}

void ProfilesPage::newProfile() {
    if (store_.slots() <= store_.count()) {  // no spare slot: the load failed
        MessageBeep(0xFFFFFFFF);
        return;
    }
    ProfileFields fields;
    fields.name = fillNumber(loadString(IDS_PROFILE_NAME), static_cast<long long>(store_.count() + 1));
    ProfileDialog dialog(fields, false);
    if (dialog.run(frame_.module(), hwnd()) != IDOK) return;
    const ProfileFields& f = dialog.fields();
    store_.set(store_.count(), f.name, f.command, f.type, f.comment, true);
    saveProfiles();
}

void ProfilesPage::editProfile() {
    int profile = chosenProfile(item(IDC_PROFILES_LIST));
    ProfileFields fields;
    if (profile < 0 || store_.name(static_cast<std::size_t>(profile), fields.name) != 0 ||
        store_.get(static_cast<std::size_t>(profile), fields.command, fields.comment, fields.type) != 0) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    fields.name = trimBlanks(fields.name);
    fields.command = trimBlanks(fields.command);
    fields.comment = trimBlanks(fields.comment);
    ProfileDialog dialog(fields, true);
    if (dialog.run(frame_.module(), hwnd()) != IDOK) return;
    const ProfileFields& f = dialog.fields();
    store_.set(static_cast<std::size_t>(profile), f.name, f.command, f.type, f.comment, true);
    saveProfiles();
}

void ProfilesPage::deleteProfiles() {
    if (store_.count() == 0) return;
    std::vector<std::size_t> chosen = selectedProfiles(item(IDC_PROFILES_LIST));
    if (chosen.empty()) return;
    if (!confirm(hwnd(), loadString(IDS_CONFIRM_DELETE_PROFILE), frame_.confirmations(), kConfirmDeleteProfile))
        return;
    bool removed = false;
    for (std::size_t profile : chosen) removed = store_.remove(profile) == 0 || removed;
    if (removed) saveProfiles();
}

bool ProfilesPage::onSetActive() {
    refill();
    return true;
}

bool ProfilesPage::onKillActive() {
    empty();
    return true;
}

void ProfilesPage::onDestroy() { empty(); }

bool ProfilesPage::onCommand(int id, int, HWND) {
    switch (id) {
    case ID_PROFILE_NEW:
        newProfile();
        return true;
    case ID_PROFILE_EDIT:
        editProfile();
        return true;
    case ID_PROFILE_DELETE:
        deleteProfiles();
        return true;
    default:
        return false;
    }
}

bool ProfilesPage::onNotify(const NMHDR& header, LRESULT&) {
    if (header.idFrom != IDC_PROFILES_LIST) return false;
    const bool oneTouch = frame_.settings().oneTouch;
    if (header.code == (oneTouch ? LVN_ITEMACTIVATE : NM_DBLCLK)) {
        editProfile();
        return true;
    }
    if (header.code == LVN_KEYDOWN) {
        switch (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey) {
        case VK_F3: newProfile(); return true;
        case VK_F4: editProfile(); return true;
        case VK_DELETE: deleteProfiles(); return true;
        default: return false;
        }
    }
    return false;
}

}  // namespace kzo
