#include "options_dialog.h"

#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>

#include <algorithm>

#include "appearance_page.h"
#include "blanks.h"
#include "dialog_helpers.h"
#include "expand_env.h"
#include "file_attributes.h"
#include "main_frame.h"
#include "message_text.h"
#include "profiles_page.h"
#include "resource.h"
#include "scheduler_control.h"
#include "scheduler_page.h"
#include "string_table.h"
#include "suite_names.h"
#include "system_error.h"
#include "system_scheduler_access.h"
#include "system_settings_page.h"
#include "terminal_boxes.h"
#include "terminal_settings_registry.h"
#include "win_handles.h"
#include "windows_platform.h"

namespace kzo {

namespace {

struct HelpContextScope {
    explicit HelpContextScope(CMainFrame& frame) : frame_(frame) { frame_.setHelpContext(kHelpOptions); }
    ~HelpContextScope() { frame_.setHelpContext(kHelpMain); }
    CMainFrame& frame_;
};

}  // namespace

// --- COps ----------------------------------------------------------------------

COps::COps(CMainFrame& frame, OptionsModel& model) : frame_(frame), model_(model) {
    addPage(std::make_unique<COps1>(model.user), IDD_OPS_USER, IDS_HEADER_USER);
    systemPage_ = static_cast<int>(entries_.size());
    if (model.systemEditable)
        addPage(std::make_unique<COps2>(model.system, model.nt), IDD_OPS_SYSTEM, IDS_HEADER_SYSTEM);
    else
        addPage(std::make_unique<COps2d>(), IDD_OPS_SYSTEM_DENIED, IDS_HEADER_SYSTEM);
    addPage(std::make_unique<COps0>(model.terminal), IDD_OPS_APPEARANCE, IDS_HEADER_APPEARANCE);
    addPage(std::make_unique<Cops4>(model.terminal, model.confirmations), IDD_OPS_SETTINGS, IDS_HEADER_SETTINGS);
    addPage(std::make_unique<ProfilesPage>(frame), IDD_PROFILES_PAGE, IDS_HEADER_PROFILES);
}

COps::~COps() = default;

void COps::addPage(std::unique_ptr<PropertyPage> page, int templateId, unsigned header) {
    auto* options = dynamic_cast<OptionsPage*>(page.get());
    const int index = static_cast<int>(entries_.size());
    if (options) options->setBringForward([this, index] { select(index); });
    entries_.push_back(Entry{std::move(page), options, templateId, header});
}

HWND COps::create(HWND dialog, HWND placeholder, int startPage) {
    std::vector<PROPSHEETPAGEA> pages;
    for (Entry& e : entries_) pages.push_back(e.page->page(frame_.module(), e.templateId));
    sheet_ = createChildSheet(dialog, placeholder, POINT{0, 0}, pages, startPage, true);
    return sheet_;
}

void COps::select(int page) {
    if (!sheet_ || page == currentPage()) return;
    PropSheet_SetCurSel(sheet_, nullptr, page);
    // A page chosen here sends no tab notification: tell the dialog.
    SendMessageA(GetParent(sheet_), WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_SHEET, 0), 0);
}

int COps::currentPage() const {
    if (!sheet_) return -1;
    HWND current = PropSheet_GetCurrentPageHwnd(sheet_);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (current && entries_[i].page->hwnd() == current) return static_cast<int>(i);
    return -1;
}

bool COps::validate() {
    const int current = currentPage();
    auto refuses = [this](int i) {
        OptionsPage* page = entries_[static_cast<std::size_t>(i)].options;
        return page && page->activated() && !page->leave();
    };
    if (current >= 0 && refuses(current)) return false;
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
        if (i != current && refuses(i)) return false;
    return true;
}

std::string COps::description(int page) const {
    if (page < 0 || page >= static_cast<int>(entries_.size())) return std::string();
    return loadString(entries_[static_cast<std::size_t>(page)].header);
}

bool COps::resettable(int page) const {
    if (page < 0 || page >= static_cast<int>(entries_.size())) return false;
    const OptionsPage* options = entries_[static_cast<std::size_t>(page)].options;
    return options && options->resettable();
}

void COps::reset(int page) {
    if (resettable(page)) entries_[static_cast<std::size_t>(page)].options->reset();
}

HWND COps::pageWindow(int page) const {
    if (page < 0 || page >= static_cast<int>(entries_.size())) return nullptr;
    return entries_[static_cast<std::size_t>(page)].page->hwnd();
}

bool COps::shown(int page) const {
    if (page < 0 || page >= static_cast<int>(entries_.size())) return false;
    const OptionsPage* options = entries_[static_cast<std::size_t>(page)].options;
    return options && options->activated();
}

// --- The dialog ------------------------------------------------------------------

OptionsDialog::OptionsDialog(CMainFrame& frame, OptionsModel& model, int startPage)
    : frame_(frame), sheet_(frame, model), startPage_(startPage) {}

bool OptionsDialog::systemPageShown() const { return sheet_.shown(sheet_.systemPage()); }

LRESULT OptionsDialog::SheetWatch::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = callNext(message, wParam, lParam);
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(TCN_SELCHANGE))
        owner_.pageChanged();
    return result;
}

BOOL OptionsDialog::onInit() {
    band_.attach(hwnd(), IDC_OPTIONS_TITLE, IDC_OPTIONS_DESCRIPTION, IDC_OPTIONS_BAND_LINE);
    HWND sheet = sheet_.create(hwnd(), item(IDC_OPTIONS_SHEET), startPage_);
    if (!sheet) {
        endDialog(IDCANCEL);
        return TRUE;
    }
    watch_.attach(sheet);
    layOut();
    pageChanged();
    DragAcceptFiles(hwnd(), TRUE);
    if (HWND tabs = PropSheet_GetTabControl(sheet)) SetFocus(tabs);
    return FALSE;
}

// The dialog around the sheet: the band and its line as wide as the sheet, the
// buttons in a row below it at the right, OK, Cancel, Reset, Help.
void OptionsDialog::layOut() {
    RECT units = {7, 14, 50, 4};  // margin, button height, button width, gap
    MapDialogRect(hwnd(), &units);
    const int margin = units.left, buttonH = units.top, buttonW = units.right, gap = units.bottom;
    RECT sheet = {};
    GetWindowRect(sheet_.sheet(), &sheet);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&sheet), 2);
    const int buttons[] = {IDOK, IDCANCEL, IDC_OPTIONS_RESET, IDHELP};
    const int rowWidth = 4 * buttonW + 3 * gap;
    const int width = std::max<int>(sheet.right, rowWidth + 2 * margin);
    const int top = sheet.bottom;
    int x = width - margin - rowWidth;
    for (int id : buttons) {
        MoveWindow(item(id), x, top, buttonW, buttonH, FALSE);
        x += buttonW + gap;
    }
    for (int id : {IDC_OPTIONS_TITLE, IDC_OPTIONS_DESCRIPTION}) {
        RECT r;
        GetWindowRect(item(id), &r);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        MoveWindow(item(id), r.left, r.top, width - margin - r.left, r.bottom - r.top, FALSE);
    }
    RECT line;
    GetWindowRect(item(IDC_OPTIONS_BAND_LINE), &line);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&line), 2);
    MoveWindow(item(IDC_OPTIONS_BAND_LINE), 0, line.top, width, line.bottom - line.top, FALSE);

    RECT frame = {0, 0, width, top + buttonH + margin};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_EXSTYLE)));
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    RECT around = {};
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner)) owner = GetDesktopWindow();
    GetWindowRect(owner, &around);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int left = around.left + (around.right - around.left - w) / 2;
    int topEdge = around.top + (around.bottom - around.top - h) / 2;
    left = std::max<int>(work.left, std::min<int>(left, work.right - w));
    topEdge = std::max<int>(work.top, std::min<int>(topEdge, work.bottom - h));
    SetWindowPos(hwnd(), nullptr, left, topEdge, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void OptionsDialog::pageChanged() {
    const int page = sheet_.currentPage();
    band_.setDescription(sheet_.description(page));
    EnableWindow(item(IDC_OPTIONS_RESET), sheet_.resettable(page));
}

bool OptionsDialog::onOk() { return sheet_.validate(); }

bool OptionsDialog::onCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_OPTIONS_RESET:
        sheet_.reset(sheet_.currentPage());
        return true;
    case IDHELP:
        frame_.showHelp(kHelpOptions);
        return true;
    case IDC_OPTIONS_SHEET:
        if (code == 0) pageChanged();
        return true;
    default:
        return false;
    }
}

bool OptionsDialog::onMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    switch (message) {
    case WM_DROPFILES:
        forwardDrop(sheet_.pageWindow(sheet_.currentPage()), wParam);
        result = 0;
        return true;
    case WM_HELP:
        frame_.showHelp(kHelpOptions);
        result = TRUE;
        return true;
    default:
        return false;
    }
}

// --- The command -------------------------------------------------------------------

void runOptions(CMainFrame& frame) {
    TerminalSettings& live = frame.settings();
    frame.list().storeLayout();

    OptionsModel model(frame.confirmations());
    model.nt = isWindowsNt();
    model.terminal = readTerminalSettings();
    keepFrameState(model.terminal, live);
    // A name missing from the registry keeps the one in use (the user's
    // default schedule file among them).
    model.user.dat = live.userDat;
    model.user.log = live.userLog;
    model.user.wav = live.userWav;
    readTerminalUserSettings(model.user);
    model.system.dat = live.sysDat;
    model.system.log = live.sysLog;
    model.system.wav = live.sysWav;
    const bool keyDenied = readTerminalSystemSettings(model.system) == ERROR_ACCESS_DENIED;
    model.systemEditable = !keyDenied && systemSchedulerEditable(model.system.dat);

    bool systemShown = false;
    {
        HelpContextScope help(frame);
        OptionsDialog dialog(frame, model, frame.activeSched() == 1 ? 1 : 0);
        if (dialog.runModal(frame.module(), IDD_OPTIONS, frame.hwnd()) != IDOK) return;
        systemShown = dialog.systemPageShown();
    }

    // The box of the System settings page and the one in the user's key are
    // one setting.
    model.user.oneInst = model.terminal.oneInst;
    const std::string folder = frame.programFolder();
    saveTerminalSettings(model.terminal);
    const std::uint32_t userError = writeTerminalUserSettings(model.user, folder);
    writeConfirmations(frame.confirmations());
    std::uint32_t systemError = 0;
    if (model.systemEditable) systemError = writeTerminalSystemSettings(model.system, folder);
    notifyExecutors(kSetActiveMessage, model.user.active ? 0 : 1);
    for (int schedule : {0, 1})
        if (HANDLE event = frame.updateEvent(schedule)) SetEvent(event);

    takeOver(live, model);
    TaskList& list = frame.list();
    list.setGrid(live.grid);
    list.setOneTouch(live.oneTouch);
    list.applyColors();
    frame.document().refresh();

    // Settings that did not reach the registry are not silently lost; a system
    // write is reported when its page was used (the service's start type
    // cannot be set where the service is not installed).
    if (userError != 0)
        showError(frame.hwnd(), fillMessage(loadString(IDS_SAVE_USER_FAILED), {systemErrorText(userError)}));
    if (systemError != 0 && systemShown)
        showError(frame.hwnd(), fillMessage(loadString(IDS_SAVE_SYSTEM_FAILED), {systemErrorText(systemError)}));
}

void registerOptionsCommand(CMainFrame& frame) {
    CMainFrame* f = &frame;
    frame.commands().add(ID_OPTIONS, [f] { runOptions(*f); });
}

}  // namespace kzo
