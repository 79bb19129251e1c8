#include "main_frame.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "about_box.h"
#include "blanks.h"
#include "help_runner.h"
#include "launchers.h"
#include "resource.h"
#include "string_table.h"
#include "struct_sizes.h"
#include "suite_names.h"
#include "terminal_boxes.h"
#include "terminal_settings_registry.h"
#include "time_control_loop.h"

namespace kzo {

namespace {

constexpr const char* kFrameClass = "KZOTerminalFrame";
constexpr const char* kProductKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4";
constexpr int kDefaultX = 45, kDefaultY = 15, kDefaultW = 575, kDefaultH = 340;
// A menu item's text with its accelerator, as the menus hold them.
constexpr int kMenuTextSize = 256;
// How often the run history is looked at for the schedulers' new lines: a
// look is two file searches; a read follows only a change.
constexpr UINT_PTR kHistoryTimer = 1;
constexpr UINT kHistoryPeriodMs = 2000;

// The addresses of the Web menu.
constexpr const char* kHomePage = "https://www.veldmark.example/kzo/";
constexpr const char* kWebSite = "https://www.veldmark.example/";
constexpr const char* kSupportMail = "mailto:support@veldmark.example?subject=KZO%20Scheduler%206.30";
constexpr const char* kSupportPage = "https://www.veldmark.example/kzo/support/";

CommandState radio(bool marked) {
    CommandState state;
    state.mark = CommandState::Radio;
    state.marked = marked;
    return state;
}

CommandState check(bool marked) {
    CommandState state;
    state.mark = CommandState::Check;
    state.marked = marked;
    return state;
}

// Whether any monitor shows part of the rectangle. MonitorFromRect is bound at
// run time (not on 95 and NT 4); there the work area of the one screen counts.
bool isOnSomeMonitor(const RECT& rect) {
    using MonitorFromRectFn = HANDLE(WINAPI*)(LPCRECT, DWORD);
    constexpr DWORD kDefaultToNull = 0;  // MONITOR_DEFAULTTONULL
    auto fromRect = systemFunction<MonitorFromRectFn>("user32.dll", "MonitorFromRect");
    if (fromRect) return fromRect(&rect, kDefaultToNull) != nullptr;
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT common;
    return IntersectRect(&common, &rect, &area) != FALSE;
}

}  // namespace

CMainFrame::CMainFrame(HINSTANCE module, TerminalSettings& settings, std::string programPath,
                       FeatureRegistration registerFeatures)
    : module_(module),
      settings_(settings),
      programPath_(std::move(programPath)),
      registerFeatures_(std::move(registerFeatures)),
      list_(module, store_, settings),
      bars_(module, settings),
      document_(*this) {}

CMainFrame::~CMainFrame() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool CMainFrame::create() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProcEntry;
    windowClass.hInstance = module_;
    windowClass.hIcon = LoadIconA(module_, MAKEINTRESOURCEA(IDR_MAINFRAME));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(module_, MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON, 16, 16, 0));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFrameClass;
    RegisterClassExA(&windowClass);
    accelerators_ = LoadAcceleratorsA(module_, MAKEINTRESOURCEA(IDR_MAINFRAME));
    // The menu lives in the menu bar; the window starts with it so that its
    // size is right, and the bar takes it away.
    HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_MAINFRAME));
    HWND created = CreateWindowExA(0, kFrameClass, kTerminalCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                   kDefaultX, kDefaultY, kDefaultW, kDefaultH, nullptr, menu, module_, this);
    if (failure_) std::rethrow_exception(failure_);
    return created != nullptr;
}

LRESULT CALLBACK CMainFrame::windowProcEntry(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CMainFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<CMainFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    if (!self || self->failure_) return DefWindowProcA(hwnd, message, wParam, lParam);
    try {
        LRESULT result = self->windowProc(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    } catch (...) {
        // Never into user32: the loop ends and run() throws it again.
        self->failure_ = std::current_exception();
        PostQuitMessage(1);
        return message == WM_CREATE ? -1 : 0;
    }
}

LRESULT CMainFrame::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate() ? 0 : -1;
    case WM_SIZE:
        onSize();
        return 0;
    case WM_SETFOCUS:
        SetFocus(list_.hwnd());
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_NOTIFYFORMAT:
        return NFR_ANSI;
    case WM_INITMENUPOPUP:
        onInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT:
        if (HIWORD(wParam) == 0xFFFF && lParam == 0)
            bars_.showPrompt(0);
        else
            bars_.showPrompt((HIWORD(wParam) & (MF_POPUP | MF_SEPARATOR)) ? 0 : LOWORD(wParam));
        return 0;
    case WM_EXITMENULOOP:
        bars_.showPrompt(0);
        return 0;
    case WM_CONTEXTMENU:
        onContextMenu(reinterpret_cast<HWND>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kHistoryTimer) document_.updateLastResults();
        return 0;
    case WM_HELP:
        return TRUE;  // F1 comes through the accelerator; the help request itself is swallowed
    case WM_SYSCOLORCHANGE:
        for (HWND child : {list_.hwnd(), bars_.rebar(), bars_.mainToolBar(), bars_.taskToolBar(), bars_.statusBar()})
            SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
        list_.applyColors();
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

bool CMainFrame::onCreate() {
    if (!list_.create(hwnd_, IDW_TASK_LIST)) return false;
    if (settings_.sysDat.empty()) settings_.activeSched = 0;
    if (!bars_.create(hwnd_, settings_.activeSched)) return false;
    confirmations_ = readConfirmations();
    HDC screen = GetDC(nullptr);
    int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 24;
    if (screen) ReleaseDC(nullptr, screen);
    list_.setImages(bits > 0 ? bits : 24);
    bars_.loadBarState(HKEY_CURRENT_USER, kProductKey);
    list_.insertColumns();

    contextMenus_.reset(LoadMenuA(module_, MAKEINTRESOURCEA(IDR_CONTEXT)));
    startMenus_.reset(LoadMenuA(module_, MAKEINTRESOURCEA(IDR_START_MENU)));
    registerCommands();

    document_.refresh();
    if (store_.count() == 0) bars_.setStatus(2, loadString(IDS_SCHEDULE_EMPTY));
    list_.setView(settings_.view);
    list_.applyColors();
    bars_.setStatus(1, store_.fileName());

    userEvent_.reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, kUserUpdateEvent));
    systemEvent_.reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, kSystemUpdateEvent));
    DragAcceptFiles(hwnd_, TRUE);
    SetTimer(hwnd_, kHistoryTimer, kHistoryPeriodMs, nullptr);
    bars_.showSchedule(settings_.activeSched);
    onSize();
    return true;
}

void CMainFrame::place() {
    const TerminalSettings& s = settings_;
    int show = SW_SHOWNORMAL;
    RECT rect = {s.windowX, s.windowY, s.windowX + s.windowW, s.windowY + s.windowH};
    bool maximized = s.windowX == 1 && s.windowY == 1 && s.windowW == 1 && s.windowH == 1;
    bool minimized = s.windowX == 2 && s.windowY == 2 && s.windowW == 2 && s.windowH == 2;
    // A placement off every monitor (a monitor since removed) comes back on
    // screen at the default place.
    if (maximized || minimized || !isOnSomeMonitor(rect))
        rect = {kDefaultX, kDefaultY, kDefaultX + kDefaultW, kDefaultY + kDefaultH};
    if (maximized) show = SW_SHOWMAXIMIZED;
    if (minimized) show = SW_SHOWMINIMIZED;
    MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    ShowWindow(hwnd_, show);
    UpdateWindow(hwnd_);
}

bool CMainFrame::preTranslate(MSG& msg) {
    if (bars_.menuBar().preTranslateMessage(msg)) return true;
    // Tab on the frame, its bars or the selector moves to the task list.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && msg.hwnd != list_.hwnd() &&
        (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
        HWND focus = GetFocus();
        if (focus != list_.hwnd() && (!focus || focus == hwnd_ || IsChild(hwnd_, focus))) {
            SetFocus(list_.hwnd());
            return true;
        }
    }
    return TranslateAcceleratorA(hwnd_, accelerators_, &msg) != 0;
}

int CMainFrame::run() {
    MSG msg;
    int code = 0;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            code = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) break;
        if (hwnd_ && preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (failure_) std::rethrow_exception(failure_);
    return code;
}

void CMainFrame::onSize() {
    if (!bars_.rebar()) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT rest = bars_.layout(client);
    MoveWindow(list_.hwnd(), rest.left, rest.top, rest.right - rest.left, rest.bottom - rest.top, TRUE);
}

void CMainFrame::onCommand(int id, int code, HWND control) {
    if (id == ID_SCHEDULE_SELECTOR && control) {
        if (code == CBN_SELENDOK) onSelectorChanged();
        return;
    }
    if (control && code != BN_CLICKED) return;  // other notifications of controls
    commands_.run(id);
    if (hwnd_) updateCommandUi();
}

LRESULT CMainFrame::onNotify(const NMHDR& header) {
    LRESULT result = 0;
    if (header.hwndFrom == list_.hwnd() && list_.onNotify(header, result, ID_TASK_PROPERTIES)) return result;
    switch (header.code) {
    case TTN_GETDISPINFOA: {
        auto& info = const_cast<NMTTDISPINFOA&>(reinterpret_cast<const NMTTDISPINFOA&>(header));
        if (info.uFlags & TTF_IDISHWND) return 0;
        std::string tip = bars_.toolTip(static_cast<int>(header.idFrom));
        lstrcpynA(info.szText, tip.c_str(), sizeof info.szText);
        info.lpszText = info.szText;
        return 0;
    }
    case TTN_GETDISPINFOW: {
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        if (info.uFlags & TTF_IDISHWND) return 0;
        std::string tip = bars_.toolTip(static_cast<int>(header.idFrom));
        MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, info.szText, ARRAYSIZE(info.szText));
        info.szText[ARRAYSIZE(info.szText) - 1] = 0;
        info.lpszText = info.szText;
        return 0;
    }
    case TBN_DROPDOWN:
        if (reinterpret_cast<const NMTOOLBARA&>(header).iItem == ID_START_SCHEDULER) showStartMenu();
        return TBDDRET_DEFAULT;
    case TBN_HOTITEMCHANGE: {
        const auto& hot = reinterpret_cast<const NMTBHOTITEM&>(header);
        bars_.showPrompt((hot.dwFlags & HICF_LEAVING) ? 0 : hot.idNew);
        return 0;
    }
    case RBN_HEIGHTCHANGE:
        onSize();
        return 0;
    default:
        return 0;
    }
}

void CMainFrame::onInitMenuPopup(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id == static_cast<UINT>(-1) || id == 0) continue;  // a submenu or a separator
        CommandState state = commands_.state(static_cast<int>(id));
        EnableMenuItem(menu, id, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
        // The type is set with its text, as Windows 95 and NT 4.0 know only
        // MIIM_TYPE for both.
        char text[kMenuTextSize] = {};
        MENUITEMINFOA info = {};
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_TYPE | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, id, FALSE, &info)) continue;
        info.fMask = (info.fType & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)) ? MIIM_STATE : MIIM_TYPE | MIIM_STATE;
        info.dwTypeData = text;
        if (state.mark == CommandState::Radio)
            info.fType |= MFT_RADIOCHECK;
        else
            info.fType &= ~MFT_RADIOCHECK;
        info.fState &= ~MFS_CHECKED;
        if (state.mark != CommandState::None && state.marked) info.fState |= MFS_CHECKED;
        SetMenuItemInfoA(menu, id, FALSE, &info);
    }
}

void CMainFrame::updateCommandUi() {
    bars_.updateButtons([this](int id) { return commands_.state(id); });
}

void CMainFrame::onContextMenu(HWND target, int x, int y) {
    bool keyboard = x == -1 && y == -1;
    int popup = 1;  // bars and the rest of the frame: the view commands
    if (target == list_.hwnd()) {
        popup = 0;
    } else if (target == bars_.scheduleBar() || IsChild(bars_.scheduleBar(), target)) {
        popup = 2;
    }
    HMENU menu = GetSubMenu(contextMenus_.get(), popup);
    if (!menu) return;
    POINT at = {x, y};
    if (popup == 0) {
        SetMenuDefaultItem(menu, ID_TASK_PROPERTIES, FALSE);
        if (keyboard) at = list_.keyboardMenuPoint();
    } else if (keyboard) {
        RECT window;
        GetWindowRect(target ? target : hwnd_, &window);
        at = {window.left + 5, window.top + 5};
    }
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, hwnd_, nullptr);
}

void CMainFrame::showStartMenu() {
    HMENU menu = GetSubMenu(startMenus_.get(), userScheduleShown() ? 0 : 1);
    if (!menu) return;
    SetMenuDefaultItem(menu, 0, TRUE);
    RECT button = bars_.startButtonRect();
    TPMPARAMS keepVisible = {sizeof keepVisible, button};
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RIGHTBUTTON, button.left, button.bottom,
                     hwnd_, &keepVisible);
    updateCommandUi();
}

void CMainFrame::onDropFiles(HDROP drop) {
    char path[1300] = {};
    UINT length = DragQueryFileA(drop, 0, path, sizeof path);
    DragFinish(drop);
    if (length == 0 || length >= sizeof path) return;
    MessageBeep(0xFFFFFFFF);
    SetForegroundWindow(hwnd_);
    pendingDrop_ = path;
    dropPending_ = true;
    commands_.run(ID_TASK_NEW);
    updateCommandUi();
}

std::string CMainFrame::takePendingDrop() {
    if (!dropPending_) return std::string();
    dropPending_ = false;
    return std::exchange(pendingDrop_, std::string());
}

const std::string& CMainFrame::scheduleFile() const {
    return settings_.activeSched ? settings_.sysDat : settings_.userDat;
}

HANDLE CMainFrame::updateEvent(int schedule) {
    UniqueHandle& event = schedule ? systemEvent_ : userEvent_;
    if (!event) event.reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, schedule ? kSystemUpdateEvent : kUserUpdateEvent));
    return event.get();
}

HANDLE CMainFrame::updateEvent() { return updateEvent(settings_.activeSched); }

void CMainFrame::showHelp(int context) {
    if (!openHelp(hwnd_, programFolder(), settings_.hlp, context)) showError(hwnd_, loadString(IDS_HELP_FAILED));
}

void CMainFrame::openAddress(const char* address) { launchDocument(address, kCurrentFolder, "", 0, 0, false); }

void CMainFrame::onSelectorChanged() {
    int wanted = bars_.selectedSchedule();
    if (wanted == settings_.activeSched) return;
    if (wanted == 1 && settings_.sysDat.empty()) {
        bars_.showSchedule(0);
        showError(hwnd_, loadString(IDS_NO_SYSTEM_SCHEDULE));
        return;
    }
    switchSchedule(wanted);
}

void CMainFrame::switchSchedule(int schedule) {
    if (schedule == settings_.activeSched) return;
    if (schedule == 1 && settings_.sysDat.empty()) {
        bars_.showSchedule(settings_.activeSched);
        settings_.activeSched = 0;
        showError(hwnd_, loadString(IDS_NO_SYSTEM_SCHEDULE));
        return;
    }
    if (document_.unsaved()) {
        document_.save();
        if (document_.unsaved()) {
            bars_.showSchedule(settings_.activeSched);
            return;
        }
    }
    settings_.activeSched = schedule;
    bars_.showSchedule(schedule);
    document_.refresh();
}

void CMainFrame::registerCommands() {
    CommandTable& c = commands_;
    document_.registerCommands(c);
    if (registerFeatures_) registerFeatures_(*this);

    c.add(ID_VIEW_USER_SCHEDULE, [this] { switchSchedule(0); }, [this] { return radio(activeSched() == 0); });
    c.add(ID_VIEW_SYSTEM_SCHEDULE, [this] { switchSchedule(1); }, [this] { return radio(activeSched() == 1); });
    for (int view = 0; view < 3; ++view)
        c.add(ID_VIEW_DETAILS + view, [this, view] { list_.setView(view); },
              [this, view] { return radio(settings_.view == view); });
    auto hasTasks = [this] { return CommandState{store_.count() > 0}; };
    c.add(ID_SELECT_ALL, [this] { list_.selectAll(); }, hasTasks);
    c.add(ID_UNSELECT_ALL, [this] { list_.unselectAll(); }, hasTasks);
    c.add(ID_INVERT_SELECTION, [this] { list_.invertSelection(); }, hasTasks);

    c.add(ID_MAIN_TOOLBAR, [this] { bars_.toggleToolBar(kMainToolBar); },
          [this] { return check(bars_.isToolBarVisible(kMainToolBar)); });
    c.add(ID_TOOLBAR_TOGGLE, [this] { bars_.toggleToolBar(kMainToolBar); },
          [this] { return check(bars_.isToolBarVisible(kMainToolBar)); });
    c.add(ID_TASK_LIST_TOOLBAR, [this] { bars_.toggleToolBar(kTaskListToolBar); },
          [this] { return check(bars_.isToolBarVisible(kTaskListToolBar)); });
    c.add(ID_SCHEDULE_BAR, [this] { bars_.toggleScheduleBar(); }, [this] { return check(bars_.isScheduleBarVisible()); });
    c.add(ID_STATUS_BAR_TOGGLE, [this] { bars_.toggleStatusBar(); }, [this] { return check(bars_.isStatusBarVisible()); });

    c.add(ID_HELP, [this] { showHelp(helpContext_); });
    c.add(ID_APP_ABOUT, [this] {
        showAboutBox(module_, hwnd_, [this] { showHelp(kHelpCredits); });
    });
    c.add(ID_APP_EXIT, [this] { onClose(); });
    c.add(ID_WEB_HOME, [this] { openAddress(kHomePage); });
    c.add(ID_WEB_SITE, [this] { openAddress(kWebSite); });
    c.add(ID_WEB_MAIL, [this] { openAddress(kSupportMail); });
    c.add(ID_WEB_SUPPORT, [this] { openAddress(kSupportPage); });
}

void CMainFrame::onClose() {
    if (document_.unsaved() && askYesNo(hwnd_, loadString(IDS_SAVE_AT_EXIT), warningCaption(), MB_ICONWARNING))
        document_.save();
    list_.storeLayout();
    list_.clear();
    store_.clear();

    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (IsZoomed(hwnd_)) {
        settings_.windowX = settings_.windowY = settings_.windowW = settings_.windowH = 1;
    } else if (IsIconic(hwnd_)) {
        settings_.windowX = settings_.windowY = settings_.windowW = settings_.windowH = 2;
    } else {
        RECT window;
        GetWindowRect(hwnd_, &window);
        settings_.windowX = window.left;
        settings_.windowY = window.top;
        settings_.windowW = window.right - window.left;
        settings_.windowH = window.bottom - window.top;
    }
    bars_.normalizeLayout();
    saveTerminalSettings(settings_);
    writeConfirmations(confirmations_);
    userEvent_.reset();
    systemEvent_.reset();
    bars_.saveBarState(HKEY_CURRENT_USER, kProductKey);
    DestroyWindow(hwnd_);
}

}  // namespace kzo
