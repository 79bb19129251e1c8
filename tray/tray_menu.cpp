#include "tray_menu.h"

#include "resource.h"
#include "string_table.h"
#include "win_handles.h"

namespace kzo {

namespace {

struct MenuItem {
    UINT command;  // 0: a separator
    unsigned textId;
    const char* fallback;
};

constexpr MenuItem kItems[] = {
    {IDM_OPEN_TERMINAL, IDS_OPEN_TERMINAL, "Open Terminal"},
    {IDM_ACTIVE, IDS_ACTIVE, "Active"},
    {0, 0, nullptr},
    {IDM_HELP, IDS_HELP, "Help"},
    {IDM_ABOUT, IDS_ABOUT, "About..."},
    {0, 0, nullptr},
    {IDM_EXIT, IDS_EXIT, "Exit"},
};

}  // namespace

void showTrayMenu(HWND window, bool active) {
    UniqueMenu owned(CreatePopupMenu());
    if (!owned) return;
    HMENU menu = owned.get();

    for (const MenuItem& item : kItems) {
        if (item.command == 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (item.command == IDM_ACTIVE && active) flags |= MF_CHECKED;
        std::string text = loadString(item.textId, item.fallback, kMenuTextLength);
        AppendMenuA(menu, flags, item.command, text.c_str());
    }
    SetMenuDefaultItem(menu, 0, TRUE);

    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTALIGN, cursor.x, cursor.y, 0, window, nullptr);
    // Lets the menu close when the user clicks elsewhere next time.
    PostMessageA(window, WM_NULL, 0, 0);
}

}  // namespace kzo
