#include "frame_bars.h"

#include <algorithm>
#include <cstring>

#include "resource.h"
#include "string_table.h"
#include "struct_sizes.h"

namespace kzo {

namespace {

constexpr int kSelectorWidth = 150;
constexpr int kSelectorListHeight = 120;
constexpr int kPathPaneWidth = 250;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

struct ButtonSpec {
    int command;  // 0: separator
    int image;
    int label;    // string of the text label, 0 for none
};

const ButtonSpec kMainButtons[] = {
    {ID_TASK_NEW, 0, IDS_LABEL_NEW},
    {ID_TASK_PROPERTIES, 1, IDS_LABEL_PROPERTIES},
    {ID_TASK_DELETE, 2, IDS_LABEL_DELETE},
    {ID_TASK_RUN, 3, IDS_LABEL_RUN},
    {0, 0, 0},
    {ID_START_SCHEDULER, 4, IDS_LABEL_SCHEDULER},
    {ID_OPTIONS, 5, IDS_LABEL_OPTIONS},
    {0, 0, 0},
    {ID_APP_EXIT, 6, IDS_LABEL_EXIT},
    {0, 0, 0},
    {ID_WEB_HOME, 7, IDS_LABEL_WEB},
    {ID_APP_ABOUT, 8, IDS_LABEL_ABOUT},
    {ID_HELP, 9, IDS_LABEL_HELP},
};

const ButtonSpec kTaskButtons[] = {
    {ID_REFRESH, 0, 0},       {ID_SAVE, 1, 0},           {0, 0, 0},
    {ID_TASK_COPY, 2, 0},     {ID_TASK_PASTE, 3, 0},     {0, 0, 0},
    {ID_SELECT_ALL, 4, 0},    {ID_UNSELECT_ALL, 5, 0},   {ID_INVERT_SELECTION, 6, 0},
    {0, 0, 0},
    {ID_VIEW_DETAILS, 7, 0},  {ID_VIEW_LIST, 8, 0},      {ID_VIEW_LARGE_ICONS, 9, 0},
    {0, 0, 0},
};

TBBUTTON makeButton(const ButtonSpec& spec, INT_PTR label) {
    TBBUTTON b = {};
    b.idCommand = spec.command;
    b.fsState = TBSTATE_ENABLED;
    if (spec.command == 0) {
        b.fsStyle = BTNS_SEP;
        return b;
    }
    b.iBitmap = spec.image;
    b.fsStyle = BTNS_BUTTON;
    if (spec.command == ID_START_SCHEDULER) b.fsStyle |= BTNS_DROPDOWN;
    if (spec.command >= ID_VIEW_DETAILS && spec.command <= ID_VIEW_LARGE_ICONS) b.fsStyle |= BTNS_CHECKGROUP;
    b.iString = label;
    return b;
}

// The Schedule bar handles nothing itself: its parent lays it out.
INT_PTR CALLBACK scheduleBarProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

int screenBitsPerPixel() {
    HDC screen = GetDC(nullptr);
    if (!screen) return 24;
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits > 0 ? bits : 24;
}

}  // namespace

FrameBars::FrameBars(HINSTANCE module, TerminalSettings& settings) : module_(module), settings_(settings) {}

FrameBars::~FrameBars() { detach(); }

HWND FrameBars::createToolBar(int id, bool flat) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS |
                  CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (flat) style |= TBSTYLE_FLAT;
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", style, 0, 0, 0, 0, rebar_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_, nullptr);
    if (!bar) return nullptr;
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Button clicks, tool tips and drop-downs go straight to the frame.
    SendMessageA(bar, TB_SETPARENT, reinterpret_cast<WPARAM>(frame_), 0);
    return bar;
}

void FrameBars::setButtonImages(HWND bar, bool large, int smallId, int largeId, int smallTc, int largeTc,
                                UniqueImageList& images) {
    int cx = large ? 21 : 16;
    int cy = large ? 21 : 15;
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(cx, cy));
    if (bitsPerPixel_ > 15) {
        images.reset(ImageList_LoadImageA(module_, MAKEINTRESOURCEA(large ? largeTc : smallTc), cx, 0, kMagenta,
                                          IMAGE_BITMAP, LR_CREATEDIBSECTION));
    }
    if (images) {
        SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    } else {
        // Standard toolbar bitmaps: the toolbar maps their light grey to the
        // button face.
        TBADDBITMAP add = {module_, static_cast<UINT_PTR>(large ? largeId : smallId)};
        SendMessageA(bar, TB_ADDBITMAP, 10, reinterpret_cast<LPARAM>(&add));
    }
}

void FrameBars::fillMainToolBar() {
    setButtonImages(mainBar_, settings_.mtbs, IDB_MAIN_SMALL, IDB_MAIN_LARGE, IDB_MAIN_SMALL_TC,
                    IDB_MAIN_LARGE_TC, mainImages_);
    SendMessageA(mainBar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    for (const ButtonSpec& spec : kMainButtons) {
        INT_PTR label = -1;
        if (settings_.tbText && spec.label) {
            std::string text = loadString(spec.label);
            text.push_back('\0');  // the list of strings ends in two zeros
            label = SendMessageA(mainBar_, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        TBBUTTON button = makeButton(spec, label);
        SendMessageA(mainBar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SetWindowTextA(mainBar_, "Main ToolBar");
    SendMessageA(mainBar_, TB_AUTOSIZE, 0, 0);
}

void FrameBars::fillTaskToolBar() {
    setButtonImages(taskBar_, settings_.ltbs, IDB_LIST_SMALL, IDB_LIST_LARGE, IDB_LIST_SMALL_TC,
                    IDB_LIST_LARGE_TC, taskImages_);
    for (const ButtonSpec& spec : kTaskButtons) {
        TBBUTTON button = makeButton(spec, -1);
        SendMessageA(taskBar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    // The schedule selector sits in place of a separator as wide as itself.
    TBBUTTON place = {};
    place.iBitmap = kSelectorWidth;
    place.idCommand = ID_SCHEDULE_SELECTOR;
    place.fsStyle = BTNS_SEP;
    SendMessageA(taskBar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&place));
    SetWindowTextA(taskBar_, "Task List ToolBar");
    SendMessageA(taskBar_, TB_AUTOSIZE, 0, 0);

    RECT slot;
    int index = static_cast<int>(SendMessageA(taskBar_, TB_COMMANDTOINDEX, ID_SCHEDULE_SELECTOR, 0));
    SendMessageA(taskBar_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&slot));
    selector_ = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST,
                                slot.left, slot.top, kSelectorWidth, kSelectorListHeight, taskBar_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_SCHEDULE_SELECTOR)), module_, nullptr);
    SendMessageA(selector_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageA(selector_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(loadString(IDS_USER_TASKS).c_str()));
    SendMessageA(selector_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(loadString(IDS_SYSTEM_TASKS).c_str()));
    // Centred in the bar's height.
    RECT box;
    GetWindowRect(selector_, &box);
    int top = slot.top + ((slot.bottom - slot.top) - (box.bottom - box.top)) / 2;
    SetWindowPos(selector_, nullptr, slot.left, std::max<int>(top, 0), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

bool FrameBars::create(HWND frame, int activeSched) {
    frame_ = frame;
    bitsPerPixel_ = screenBitsPerPixel();
    rebar_ = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_BANDBORDERS |
                                 RBS_VARHEIGHT | RBS_TOOLTIPS | RBS_AUTOSIZE | CCS_NODIVIDER | CCS_TOP,
                             0, 0, 0, 0, frame, reinterpret_cast<HMENU>(IDW_REBAR), module_, nullptr);
    if (!rebar_) return false;
    if (!menuBar_.create(frame, rebar_, module_, IDR_MAINFRAME)) return false;
    mainBar_ = createToolBar(IDW_MAIN_TOOLBAR, false);
    taskBar_ = createToolBar(IDW_TASK_TOOLBAR, true);
    if (!mainBar_ || !taskBar_) return false;
    fillMainToolBar();
    fillTaskToolBar();
    attach(taskBar_);

    scheduleBar_ = CreateDialogParamA(module_, MAKEINTRESOURCEA(IDD_SCHEDULE_BAR), frame, scheduleBarProc, 0);
    if (!scheduleBar_) return false;
    LOGFONTA bold = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    scheduleBarFont_.reset(CreateFontIndirectA(&bold));
    SendDlgItemMessageA(scheduleBar_, IDC_SCHEDULE_BAR_TEXT, WM_SETFONT,
                        reinterpret_cast<WPARAM>(scheduleBarFont_.get()), FALSE);
    ShowWindow(scheduleBar_, settings_.dbr ? SW_SHOW : SW_HIDE);

    statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBARS_SIZEGRIP,
                                 0, 0, 0, 0, frame, reinterpret_cast<HMENU>(IDW_STATUS_BAR), module_, nullptr);
    if (!statusBar_) return false;
    // Three panes from the start, so texts set before the first layout stay.
    int parts[3] = {200, 200 + kPathPaneWidth, -1};
    SendMessageA(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    showPrompt(0);

    addBands();
    normalizeLayout();
    showSchedule(activeSched);
    return true;
}

void FrameBars::setBandChildSize(HWND child) {
    SIZE size = {0, 0};
    if (child == menuBar_.hwnd()) {
        size = menuBar_.idealSize();
    } else {
        SendMessageA(child, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
        if (child == taskBar_) {
            RECT box;
            GetWindowRect(selector_, &box);
            size.cy = std::max<LONG>(size.cy, box.bottom - box.top);
        }
    }
    for (int i = 0; i < static_cast<int>(SendMessageA(rebar_, RB_GETBANDCOUNT, 0, 0)); ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = kRebarBandInfoSize;
        band.fMask = RBBIM_CHILD;
        SendMessageA(rebar_, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
        if (band.hwndChild != child) continue;
        band.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE | RBBIM_SIZE;
        band.cxMinChild = child == menuBar_.hwnd() ? 0 : size.cx;
        band.cyMinChild = size.cy;
        band.cx = size.cx + 12;
        band.cxIdeal = size.cx;
        SendMessageA(rebar_, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
    }
}

HWND FrameBars::barWindow(Bar bar) const {
    switch (bar) {
    case kMenuBar: return menuBar_.hwnd();
    case kMainToolBar: return mainBar_;
    default: return taskBar_;
    }
}

void FrameBars::addBands() {
    const BandLayout& layout = settings_.rbLayout;
    for (int position = 0; position < 3; ++position) {
        Bar bar = static_cast<Bar>(layout[position]);
        REBARBANDINFOA band = {};
        band.cbSize = kRebarBandInfoSize;
        band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_ID;
        band.fStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP;
        if (bar == kMenuBar) band.fStyle |= RBBS_CHILDEDGE;
        if (layout[3 + position]) band.fStyle |= RBBS_BREAK;
        if (!layout[6 + position]) band.fStyle |= RBBS_HIDDEN;
        band.hwndChild = barWindow(bar);
        band.wID = bar;
        SendMessageA(rebar_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
        setBandChildSize(band.hwndChild);
    }
}

void FrameBars::normalizeLayout() {
    if (SendMessageA(rebar_, RB_GETBANDCOUNT, 0, 0) != 3) return;
    BandLayout layout{};
    for (int i = 0; i < 3; ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = kRebarBandInfoSize;
        band.fMask = RBBIM_CHILD | RBBIM_STYLE;
        SendMessageA(rebar_, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
        layout[i] = band.hwndChild == menuBar_.hwnd() ? kMenuBar
                    : band.hwndChild == mainBar_      ? kMainToolBar
                                                      : kTaskListToolBar;
        layout[3 + i] = (band.fStyle & RBBS_BREAK) ? 1 : 0;
        layout[6 + i] = (band.fStyle & RBBS_HIDDEN) ? 0 : 1;
    }
    settings_.rbLayout = validBandLayout(layout);
}

int FrameBars::bandOf(Bar bar) const {
    for (int i = 0; i < 3; ++i)
        if (settings_.rbLayout[i] == bar) return i;
    return -1;
}

void FrameBars::toggleToolBar(Bar bar) {
    normalizeLayout();
    int position = bandOf(bar);
    if (position < 0) return;
    bool show = !settings_.rbLayout[6 + position];
    SendMessageA(rebar_, RB_SHOWBAND, position, show);
    settings_.rbLayout[6 + position] = show ? 1 : 0;
    SendMessageA(frame_, WM_SIZE, 0, 0);
}

bool FrameBars::isToolBarVisible(Bar bar) const {
    int position = bandOf(bar);
    return position >= 0 && settings_.rbLayout[6 + position];
}

void FrameBars::toggleScheduleBar() {
    settings_.dbr = !settings_.dbr;
    ShowWindow(scheduleBar_, settings_.dbr ? SW_SHOW : SW_HIDE);
    SendMessageA(frame_, WM_SIZE, 0, 0);
}

void FrameBars::toggleStatusBar() {
    ShowWindow(statusBar_, isStatusBarVisible() ? SW_HIDE : SW_SHOW);
    SendMessageA(frame_, WM_SIZE, 0, 0);
}

bool FrameBars::isStatusBarVisible() const { return IsWindowVisible(statusBar_) != FALSE; }

RECT FrameBars::layout(const RECT& client) {
    RECT rest = client;
    // The rebar sizes itself to its bands when told its parent changed.
    SendMessageA(rebar_, WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(rebar_, &bar);
    int rebarHeight = bar.bottom - bar.top;
    MoveWindow(rebar_, rest.left, rest.top, rest.right - rest.left, rebarHeight, TRUE);
    rest.top += rebarHeight;
    if (settings_.dbr) {
        RECT dialog;
        GetWindowRect(scheduleBar_, &dialog);
        int height = dialog.bottom - dialog.top;
        MoveWindow(scheduleBar_, rest.left, rest.top, rest.right - rest.left, height, TRUE);
        HWND text = GetDlgItem(scheduleBar_, IDC_SCHEDULE_BAR_TEXT);
        RECT textBox;
        GetWindowRect(text, &textBox);
        MapWindowPoints(nullptr, scheduleBar_, reinterpret_cast<POINT*>(&textBox), 2);
        MoveWindow(text, textBox.left, textBox.top, std::max<LONG>(rest.right - rest.left - 2 * textBox.left, 0),
                   textBox.bottom - textBox.top, TRUE);
        rest.top += height;
    }
    if (isStatusBarVisible()) {
        SendMessageA(statusBar_, WM_SIZE, 0, 0);
        RECT status;
        GetWindowRect(statusBar_, &status);
        rest.bottom -= status.bottom - status.top;
        int width = client.right - client.left;
        int first = std::max(width - kPathPaneWidth - 200, 120);
        int parts[3] = {first, first + kPathPaneWidth, -1};
        SendMessageA(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    }
    if (rest.bottom < rest.top) rest.bottom = rest.top;
    return rest;
}

void FrameBars::showSchedule(int activeSched) {
    SendMessageA(selector_, CB_SETCURSEL, activeSched ? 1 : 0, 0);
    std::string text = loadString(IDS_SCHEDULE_BAR_TEXT) + loadString(activeSched ? IDS_SYSTEM_TASKS : IDS_USER_TASKS);
    SetDlgItemTextA(scheduleBar_, IDC_SCHEDULE_BAR_TEXT, text.c_str());
}

int FrameBars::selectedSchedule() const {
    return SendMessageA(selector_, CB_GETCURSEL, 0, 0) == 1 ? 1 : 0;
}

void FrameBars::setStatus(int pane, const std::string& text) {
    SendMessageA(statusBar_, SB_SETTEXTA, pane, reinterpret_cast<LPARAM>(text.c_str()));
}

void FrameBars::showPrompt(int commandId) {
    std::string text = commandId ? loadString(commandId) : std::string();
    std::size_t cut = text.find('\n');
    if (cut != std::string::npos) text.resize(cut);
    setStatus(0, commandId && !text.empty() ? text : loadString(IDS_READY, "Ready"));
}

std::string FrameBars::toolTip(int commandId) const {
    std::string text = loadString(commandId);
    std::size_t cut = text.find('\n');
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

RECT FrameBars::startButtonRect() const {
    RECT rect = {};
    int index = static_cast<int>(SendMessageA(mainBar_, TB_COMMANDTOINDEX, ID_START_SCHEDULER, 0));
    SendMessageA(mainBar_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    MapWindowPoints(mainBar_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LRESULT FrameBars::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The selector's notifications go to the frame like the buttons' commands.
    if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == selector_)
        return SendMessageA(frame_, WM_COMMAND, wParam, lParam);
    return callNext(message, wParam, lParam);
}

void FrameBars::loadBarState(HKEY root, const char* productKey) {
    std::string path = std::string(productKey) + "\\ToolBar-Bar0";
    UniqueKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    DWORD visible = 1, type = 0, size = sizeof visible;
    if (RegQueryValueExA(key.get(), "Visible", nullptr, &type, reinterpret_cast<BYTE*>(&visible), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof visible && !visible)
        ShowWindow(statusBar_, SW_HIDE);
}

void FrameBars::saveBarState(HKEY root, const char* productKey) const {
    auto writeKey = [root, productKey](const char* name, std::initializer_list<std::pair<const char*, DWORD>> values) {
        std::string path = std::string(productKey) + "\\" + name;
        UniqueKey key;
        if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.put(),
                            nullptr) != ERROR_SUCCESS)
            return;
        for (const auto& [value, data] : values)
            RegSetValueExA(key.get(), value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    };
    writeKey("ToolBar-Summary", {{"Bars", 1},
                                 {"ScreenCX", static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN))},
                                 {"ScreenCY", static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN))}});
    writeKey("ToolBar-Bar0", {{"BarID", IDW_STATUS_BAR}, {"Visible", isStatusBarVisible() ? 1u : 0u}});
}

}  // namespace kzo
