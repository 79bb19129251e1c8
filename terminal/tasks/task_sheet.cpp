#include "task_sheet.h"

#include <commctrl.h>
#include <shellapi.h>

#include <exception>

#include "dialog_helpers.h"
#include "message_text.h"
#include "property_page.h"
#include "resource.h"
#include "string_table.h"

namespace kzo {

namespace {

// The sheet sits at the placeholder, 7 pixels up and left, so that its tabs
// line up with the band's text.
constexpr POINT kSheetOffset = {-7, -7};

RECT rectIn(HWND dialog, HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void rethrowFailure(PropertyPage& page) {
    if (std::exception_ptr failure = page.takeFailure()) std::rethrow_exception(failure);
}

}  // namespace

TaskSheet::TaskSheet(TaskEditContext& context)
    : context_(context), command_(context, *this, false), dayTime_(context, *this, false) {}

INT_PTR TaskSheet::run(HWND owner) {
    INT_PTR result = runModal(context_.module, IDD_TASK_SHEET, owner);
    rethrowFailure(command_);
    rethrowFailure(dayTime_);
    return result == IDOK ? IDOK : IDCANCEL;
}

BOOL TaskSheet::onInit() {
    band_.attach(hwnd(), IDC_TS_TITLE, IDC_TS_DESCRIPTION, IDC_TS_LINE);
    band_.setTitle(loadString(IDS_TASK_PROPERTIES, "Task properties"));
    std::vector<PROPSHEETPAGEA> pages = {command_.sheetPage(), dayTime_.sheetPage()};
    sheet_ = createChildSheet(hwnd(), item(IDC_TS_PLACEHOLDER), kSheetOffset, pages, 0, true);
    if (!sheet_) {
        endDialog(IDCANCEL);
        return TRUE;
    }
    if (HWND tabs = PropSheet_GetTabControl(sheet_)) {
        LONG_PTR style = GetWindowLongPtrA(tabs, GWL_STYLE);
        SetWindowLongPtrA(tabs, GWL_STYLE, style | TCS_HOTTRACK | TCS_BUTTONS | TCS_FLATBUTTONS);
        SetWindowPos(tabs, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        InvalidateRect(tabs, nullptr, TRUE);
    }
    fitAroundSheet();
    if (HWND page = activePage()) {
        HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
        if (first) SetFocus(first);
        return FALSE;
    }
    return TRUE;
}

// The dialog takes the sheet's size: its band and line as wide as the sheet,
// the buttons right below it.
void TaskSheet::fitAroundSheet() {
    RECT sheet = rectIn(hwnd(), sheet_);
    RECT ok = rectIn(hwnd(), item(IDOK));
    RECT help = rectIn(hwnd(), item(IDHELP));
    RECT placeholder = rectIn(hwnd(), item(IDC_TS_PLACEHOLDER));
    // The sheet's tabs start 7 pixels inside it; the dialog keeps the
    // placeholder's margin on every side of them.
    const int margin = placeholder.left;
    const int width = sheet.right + kSheetOffset.x + margin;
    const int buttonHeight = ok.bottom - ok.top;
    const int buttonTop = sheet.bottom + kSheetOffset.y + margin;
    const int height = buttonTop + buttonHeight + margin;

    RECT window = {0, 0, width, height};
    AdjustWindowRectEx(&window, static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_EXSTYLE)));
    SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // OK, Cancel and Help keep their gaps, the last at the right margin.
    const int shift = (width - margin) - help.right;
    for (int id : {IDOK, IDCANCEL, IDHELP}) {
        RECT r = rectIn(hwnd(), item(id));
        SetWindowPos(item(id), nullptr, r.left + shift, buttonTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT line = rectIn(hwnd(), item(IDC_TS_LINE));
    SetWindowPos(item(IDC_TS_LINE), nullptr, 0, line.top, width, line.bottom - line.top, SWP_NOZORDER);
    for (int id : {IDC_TS_TITLE, IDC_TS_DESCRIPTION}) {
        RECT r = rectIn(hwnd(), item(id));
        SetWindowPos(item(id), nullptr, 0, 0, width - r.left - margin, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    // Centred on the owner again, at its new size.
    RECT owner = {};
    HWND parent = GetWindow(hwnd(), GW_OWNER);
    if (parent && GetWindowRect(parent, &owner)) {
        RECT self = {};
        GetWindowRect(hwnd(), &self);
        int x = owner.left + ((owner.right - owner.left) - (self.right - self.left)) / 2;
        int y = owner.top + ((owner.bottom - owner.top) - (self.bottom - self.top)) / 2;
        SetWindowPos(hwnd(), nullptr, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

HWND TaskSheet::activePage() const { return sheet_ ? PropSheet_GetCurrentPageHwnd(sheet_) : nullptr; }

void TaskSheet::setDescription(const std::string& text) { band_.setDescription(text); }

void TaskSheet::showTaskName(HWND, const std::string& name) {
    SetWindowTextA(hwnd(), fillMessage(loadString(IDS_SHEET_TITLE, "\"%s\" properties"), {name}).c_str());
}

void TaskSheet::close(INT_PTR result) {
    if (sheet_) {
        DestroyWindow(sheet_);
        sheet_ = nullptr;
    }
    endDialog(result);
}

bool TaskSheet::onCommand(int id, int code, HWND control) {
    switch (id) {
    case IDOK:
        // Every page applies in order; the first that refuses keeps the sheet.
        if (applyChildSheet(sheet_) && !command_.failed() && !dayTime_.failed()) close(IDOK);
        return true;
    case IDCANCEL:
        cancelChildSheet(sheet_);
        close(IDCANCEL);
        return true;
    case IDHELP:
        SendMessageA(context_.helpTarget, WM_COMMAND, ID_HELP, 0);
        return true;
    default:
        // The pages' own command range, when it reaches the container.
        if (id >= 901 && id <= 949) {
            if (HWND page = activePage()) SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
            return true;
        }
        return false;
    }
}

bool TaskSheet::onMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    switch (message) {
    case WM_DROPFILES:
        forwardDrop(activePage(), wParam);
        result = 0;
        return true;
    case WM_HELP:
        SendMessageA(context_.helpTarget, WM_COMMAND, ID_HELP, 0);
        result = TRUE;
        return true;
    default:
        return false;
    }
}

void TaskSheet::onDestroy() {
    if (sheet_) {
        DestroyWindow(sheet_);
        sheet_ = nullptr;
    }
}

namespace {

// The wizard's title follows the task's name as the pages show it.
class WizardHost : public TaskEditHost {
public:
    void setDescription(const std::string&) override {}
    void showTaskName(HWND sheet, const std::string& name) override {
        if (sheet) SetWindowTextA(sheet, fillMessage(loadString(IDS_WIZARD_TITLE, "New task \"%s\""), {name}).c_str());
    }
};

}  // namespace

bool runTaskWizard(TaskEditContext& context, HWND owner) {
    WizardHost host;
    CommandPage command(context, host, true);
    DayTimePage dayTime(context, host, true);
    std::string title = fillMessage(loadString(IDS_WIZARD_TITLE, "New task \"%s\""), {fieldText(context.record.name)});
    INT_PTR result = runWizard(owner, title, {command.sheetPage(), dayTime.sheetPage()}, PSH_HASHELP);
    return result > 0 && dayTime.applied();
}

}  // namespace kzo
