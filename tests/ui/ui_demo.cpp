// Shows the UI building blocks for a person or a screenshot (not shipped):
//   ui_demo msgbox      the message box with "Yes to All" and the check box
//   ui_demo about       the About box
//   ui_demo linkmenu    the About box with a link's context menu open
//   ui_demo showcase    a header band, a list with a flat header, a button strip
//   ui_demo container   a dialog hosting a child property sheet
//   ui_demo menubar     a frame with the menu bar, its second menu opened
//   ui_demo inactive    the same frame behind another window (greyed bar)
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "about_box.h"
#include "button_strip.h"
#include "dialog_base.h"
#include "flat_header.h"
#include "header_band.h"
#include "kzo_message_box.h"
#include "menu_bar.h"
#include "property_page.h"
#include "ui_resource.h"
#include "ui_test_resource.h"

namespace {

using namespace kzo;

HINSTANCE module() { return GetModuleHandleA(nullptr); }

// A sort arrow for the header (the common controls of old have none of their own).
HBITMAP sortArrow() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 9, 5);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 9, 5};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    for (int row = 0; row < 5; ++row) {
        RECT line = {row, row, 9 - row, row + 1};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

class Showcase : public DialogBase {
protected:
    BOOL onInit() override {
        band_.attach(hwnd(), IDC_TEST_TITLE, IDC_TEST_DESCRIPTION, IDC_TEST_LINE);
        HWND list = item(IDC_TEST_LIST);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        const char* columns[] = {"Profile", "Command", "Folder"};
        const int widths[] = {110, 160, 110};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<char*>(columns[i]);
            column.cx = widths[i];
            SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
        const char* rows[][3] = {{"Backup", "backup.exe /all", "C:\\Tools"},
                                 {"Clean temp", "cmd /c del %TEMP%\\*.tmp", "C:\\"},
                                 {"Report", "report.exe", "C:\\Reports"}};
        for (int r = 0; r < 3; ++r) {
            LVITEMA row = {};
            row.mask = LVIF_TEXT;
            row.iItem = r;
            row.pszText = const_cast<char*>(rows[r][0]);
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
            for (int c = 1; c < 3; ++c) {
                row.iSubItem = c;
                row.pszText = const_cast<char*>(rows[r][c]);
                SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&row));
            }
        }
        HWND header = ListView_GetHeader(list);
        HDITEMA sorted = {};
        sorted.mask = HDI_FORMAT | HDI_BITMAP;
        sorted.fmt = HDF_STRING | HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
        sorted.hbm = sortArrow();
        SendMessageA(header, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&sorted));
        header_.attachToListView(list);
        const int commands[] = {ID_TEST_NEW, ID_TEST_EDIT, ID_TEST_DELETE};
        const int tips[] = {IDS_TEST_TIP_NEW, IDS_TEST_TIP_EDIT, IDS_TEST_TIP_DELETE};
        strip_.setup(item(IDC_TEST_STRIP), 3, IDB_TEST_STRIP, commands, tips);
        // The mouse over the middle button shows it raised.
        RECT middle = strip_.buttonRect(1);
        POINT at = {(middle.left + middle.right) / 2, (middle.top + middle.bottom) / 2};
        ClientToScreen(item(IDC_TEST_STRIP), &at);
        SetCursorPos(at.x, at.y);
        return TRUE;
    }
    bool onCommand(int id, int, HWND) override {
        if (id == IDOK || id == IDCANCEL) {
            endDialog(id);
            return true;
        }
        if (id >= ID_TEST_NEW && id <= ID_TEST_DELETE) {
            KZOMessageBox(hwnd(), "A strip button was pressed.", "Showcase", MB_OK | MB_ICONINFORMATION);
            return true;
        }
        return false;
    }

private:
    HeaderBand band_;
    FlatHeader header_;
    ButtonStrip strip_;
};

class Page : public PropertyPage {};

class Container : public DialogBase {
protected:
    BOOL onInit() override {
        band_.attach(hwnd(), IDC_TEST_TITLE, IDC_TEST_DESCRIPTION, IDC_TEST_LINE);
        band_.setDescription("Command, its folder and what to do when it fails.");
        createChildSheet(hwnd(), item(IDC_TEST_PLACEHOLDER), {-7, -7},
                         {one_.page(module(), IDD_TEST_PAGE_ONE, "Command  "),
                          two_.page(module(), IDD_TEST_PAGE_TWO, "Day && Time  ")},
                         0, true);
        return TRUE;
    }
    bool onCommand(int id, int, HWND) override {
        if (id != IDOK && id != IDCANCEL) return false;
        endDialog(id);
        return true;
    }

private:
    HeaderBand band_;
    Page one_, two_;
};

CMenuBar* frameBar = nullptr;

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    if (message == WM_COMMAND && LOWORD(wParam) == ID_TEST_EXIT) DestroyWindow(window);
    if (message == WM_SIZE) {
        HWND rebar = FindWindowExA(window, nullptr, REBARCLASSNAMEA, nullptr);
        if (rebar) SendMessageA(rebar, WM_SIZE, 0, 0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int runFrame(bool openMenu, bool inactive) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = frameProc;
    wc.hInstance = module();
    wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(module(), MAKEINTRESOURCEA(IDI_TEST_PROGRAM));
    wc.lpszClassName = "KZODemoFrame";
    RegisterClassA(&wc);
    HWND frame = CreateWindowA(wc.lpszClassName, "KZO Scheduler 6", WS_OVERLAPPEDWINDOW, 20, 20, 560, 320, nullptr,
                               LoadMenuA(module(), MAKEINTRESOURCEA(IDR_TEST_MENU)), module(), nullptr);
    HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                 RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                                 0, 0, 0, 0, frame, nullptr, module(), nullptr);
    CMenuBar bar;
    if (!bar.create(frame, rebar, module(), IDR_TEST_MENU)) return 1;
    frameBar = &bar;
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_IDEALSIZE;
    band.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP;
    band.hwndChild = bar.hwnd();
    band.cxMinChild = static_cast<UINT>(bar.idealSize().cx);
    band.cyMinChild = static_cast<UINT>(bar.idealSize().cy);
    band.cxIdeal = band.cxMinChild;
    SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    if (openMenu) {
        PostMessageA(frame, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
        PostMessageA(frame, WM_SYSCHAR, 's', 0x20380001);
    }
    if (inactive) {
        CreateWindowA("Static", "Another program", WS_POPUP | WS_BORDER | WS_VISIBLE | SS_CENTER, 380, 240, 260, 120,
                      nullptr, nullptr, module(), nullptr);
        SetActiveWindow(nullptr);
        SendMessageA(frame, WM_NCACTIVATE, FALSE, 0);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (bar.preTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

void credits() { KZOMessageBox(nullptr, "Help topic 3 opens here.", "Credits", MB_OK | MB_ICONINFORMATION); }

DWORD WINAPI openLinkMenu(LPVOID) {
    for (int i = 0; i < 100; ++i) {
        HWND about = FindWindowA("#32770", "About");
        if (HWND link = about ? GetDlgItem(about, IDC_UI_ABOUT_HOME) : nullptr) {
            Sleep(300);
            PostMessageA(link, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(link), -1);
            return 0;
        }
        Sleep(50);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    const std::string mode = commandLine ? commandLine : "";
    if (mode == "msgbox") {
        int answer = KZOMessageBox(nullptr, "Do you really want to delete the task \"Backup\" ?", "Query",
                                   MB_YESNO | MB_ICONQUESTION | kMbYesToAll | kMbNoToAll | kMbCheckB);
        return answer;
    }
    if (mode == "about") return static_cast<int>(showAboutBox(module(), nullptr, credits));
    if (mode == "linkmenu") {
        CloseHandle(CreateThread(nullptr, 0, openLinkMenu, nullptr, 0, nullptr));
        return static_cast<int>(showAboutBox(module(), nullptr, credits));
    }
    if (mode == "showcase") return static_cast<int>(Showcase().runModal(module(), IDD_TEST_SHOWCASE, nullptr));
    if (mode == "container") return static_cast<int>(Container().runModal(module(), IDD_TEST_CONTAINER, nullptr));
    if (mode == "menubar") return runFrame(true, false);
    if (mode == "inactive") return runFrame(false, true);
    return runFrame(false, false);
}
