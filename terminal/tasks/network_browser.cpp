#include "network_browser.h"

#include <commctrl.h>

#include "network_listing.h"
#include "resource.h"
#include "string_table.h"
#include "system_error.h"

namespace kzo {

namespace {

// Item values of the tree.
constexpr LPARAM kComputerItem = 0;
constexpr LPARAM kRootItem = 1;
constexpr LPARAM kFolderItem = 2;
constexpr std::size_t kChosenLength = 1023;

HTREEITEM insert(HWND tree, HTREEITEM parent, const std::string& text, int image, LPARAM value) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = value;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

INT_PTR NetworkBrowser::run(HINSTANCE module, HWND owner) {
    module_ = module;
    return runModal(module, IDD_NETWORK_BROWSER, owner);
}

BOOL NetworkBrowser::onInit() {
    HWND tree = item(IDC_NET_TREE);
    images_.reset(ImageList_LoadImageA(module_, MAKEINTRESOURCEA(IDB_NETWORK), 16, 0, RGB(255, 0, 255),
                                       IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (images_) SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    HTREEITEM root = insert(tree, TVI_ROOT, loadString(IDS_NET_ROOT), 0, kRootItem);
    HTREEITEM folder = insert(tree, root, loadString(IDS_NET_COMPUTERS), 1, kFolderItem);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));

    HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514) /* IDC_WAIT */));
    NetworkListing listing = listNetworkComputers();
    SetCursor(previous);
    for (const std::string& name : listing.names) insert(tree, folder, name, 2, kComputerItem);

    if (!listing.ok) {
        EnableWindow(tree, FALSE);
        EnableWindow(item(IDOK), FALSE);
        SetDlgItemTextA(hwnd(), IDC_NET_STATUS, systemErrorText(ERROR_NO_NETWORK).c_str());
        SendMessageA(hwnd(), DM_SETDEFID, IDCANCEL, 0);
        SetFocus(item(IDCANCEL));
        return FALSE;
    }
    SetDlgItemTextA(hwnd(), IDC_NET_STATUS, loadString(IDS_NET_PROMPT).c_str());
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folder));
    return TRUE;
}

bool NetworkBrowser::onOk() {
    HWND tree = item(IDC_NET_TREE);
    TVITEMA chosen = {};
    chosen.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    char text[kChosenLength + 1] = {};
    chosen.mask = TVIF_PARAM | TVIF_TEXT;
    chosen.pszText = text;
    chosen.cchTextMax = sizeof text;
    if (!chosen.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&chosen))) {
        MessageBeep(0xFFFFFFFF);
        return false;
    }
    if (chosen.lParam == kComputerItem) {
        chosen_ = text;
    } else if (chosen.lParam == kRootItem || chosen.lParam == kFolderItem) {
        chosen_ = "*";
    } else {
        MessageBeep(0xFFFFFFFF);
        return false;
    }
    return true;
}


}  // namespace kzo
