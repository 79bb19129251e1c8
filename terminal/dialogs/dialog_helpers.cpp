#include "dialog_helpers.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

namespace kzo {

std::string windowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    int got = GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

std::string dialogText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

bool openFileDialog(HWND owner, const std::string& title, const std::string& filter,
                    const std::string& defaultExtension, const std::string& initial, std::string& chosen) {
    std::string pairs = filter;
    for (char& c : pairs)
        if (c == '|') c = '\0';
    pairs.push_back('\0');
    char file[MAX_PATH * 4] = {};
    lstrcpynA(file, initial.c_str(), sizeof file);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = pairs.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) return false;
    chosen = file;
    return true;
}

bool chooseFolder(HWND owner, const std::string& title, std::string& chosen) {
    BROWSEINFOA browse = {};
    char display[MAX_PATH] = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = display;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (!item) return false;
    char path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListA(item, path) != FALSE;
    CoTaskMemFree(item);
    if (ok) chosen = path;
    return ok;
}

std::string droppedFile(HDROP drop) {
    char path[MAX_PATH * 4] = {};
    UINT length = DragQueryFileA(drop, 0, path, sizeof path);
    DragFinish(drop);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

void insertAtCaret(HWND edit, const std::string& text, int maxLength) {
    std::string current = windowText(edit);
    if (static_cast<int>(current.size()) > maxLength) current.resize(maxLength);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::size_t at = start < current.size() ? start : current.size();
    std::string joined = current.substr(0, at) + text + current.substr(at);
    SetWindowTextA(edit, joined.c_str());
    std::size_t caret = at + text.size();
    SendMessageA(edit, EM_SETSEL, caret, caret);
}

bool shiftHeld() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

HFONT createHeadingFont(HWND control) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA lf = {};
    if (!GetObjectA(font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf))
        return nullptr;
    lf.lfHeight = lf.lfHeight * 3 / 2;
    lf.lfWidth = 0;
    lf.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&lf);
}

void putText(HWND edit, const std::string& text, bool insert) {
    if (insert)
        insertAtCaret(edit, text);
    else
        SetWindowTextA(edit, text.c_str());
}

int droppedOnEdit(HDROP drop, HWND dropWindow, HWND dialog, std::initializer_list<int> edits) {
    POINT at = {};
    DragQueryPoint(drop, &at);
    ClientToScreen(dropWindow, &at);
    for (int id : edits) {
        HWND edit = GetDlgItem(dialog, id);
        RECT r;
        if (edit && IsWindowEnabled(edit) && GetWindowRect(edit, &r) && PtInRect(&r, at)) return id;
    }
    return 0;
}

void forwardDrop(HWND activePage, WPARAM drop) {
    if (activePage)
        SendMessageA(activePage, WM_DROPFILES, drop, 0);
    else
        DragFinish(reinterpret_cast<HDROP>(drop));
}

}  // namespace kzo
