#include "scheduler_page.h"

#include <commctrl.h>
#include <shellapi.h>

#include "dialog_base.h"
#include "dialog_helpers.h"
#include "resource.h"
#include "string_table.h"
#include "terminal_boxes.h"

namespace kzo {

namespace {

constexpr int kRefreshDigits = 2;
constexpr int kDefaultRefresh = 10;

int fieldControl(SchedulerField field) {
    switch (field) {
    case SchedulerField::Dat: return IDC_SCHED_DAT;
    case SchedulerField::Log: return IDC_SCHED_LOG;
    case SchedulerField::Wav: return IDC_SCHED_WAV;
    case SchedulerField::Refresh: return IDC_SCHED_REFRESH;
    default: return 0;
    }
}

}  // namespace

SchedulerPage::SchedulerPage(TerminalSchedulerSettings& settings, bool lockTopMost)
    : settings_(settings), lockTopMost_(lockTopMost) {}

bool SchedulerPage::checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }

void SchedulerPage::check(int id, bool on) { CheckDlgButton(hwnd(), id, on ? BST_CHECKED : BST_UNCHECKED); }

BOOL SchedulerPage::onInit() {
    const TerminalSchedulerSettings& s = settings_;
    for (int edit : {IDC_SCHED_DAT, IDC_SCHED_LOG, IDC_SCHED_WAV})
        SendDlgItemMessageA(hwnd(), edit, EM_LIMITTEXT, kSettingsPathSize - 1, 0);
    SetDlgItemTextA(hwnd(), IDC_SCHED_DAT, s.dat.c_str());
    SetDlgItemTextA(hwnd(), IDC_SCHED_LOG, s.log.c_str());
    SetDlgItemTextA(hwnd(), IDC_SCHED_WAV, s.wav.c_str());
    SendDlgItemMessageA(hwnd(), IDC_SCHED_REFRESH, EM_LIMITTEXT, kRefreshDigits, 0);
    SendDlgItemMessageA(hwnd(), IDC_SCHED_REFRESH_SPIN, UDM_SETRANGE32, 1, 60);
    SendDlgItemMessageA(hwnd(), IDC_SCHED_REFRESH_SPIN, UDM_SETPOS32, 0, s.refreshTime);
    SetDlgItemInt(hwnd(), IDC_SCHED_REFRESH, static_cast<UINT>(s.refreshTime), FALSE);

    check(IDC_SCHED_AUTOSTART, s.autoStart);
    check(IDC_SCHED_ACTIVE, s.active);
    check(IDC_SCHED_WARN, s.warn);
    check(IDC_SCHED_REPERR, s.repErr);
    check(IDC_SCHED_AMPM, s.ampm);
    check(IDC_SCHED_TOPMOST, s.topMost || lockTopMost_);
    check(IDC_SCHED_ACTDLG, s.actDlg);
    check(IDC_SCHED_LOGF, s.logF);
    check(IDC_SCHED_HISTORY, s.history);
    if (lockTopMost_) {
        EnableWindow(item(IDC_SCHED_TOPMOST), FALSE);
        EnableWindow(item(IDC_SCHED_ACTDLG), FALSE);
    }
    enableLogControls();
    return TRUE;
}

void SchedulerPage::enableLogControls() {
    const bool on = checked(IDC_SCHED_LOGF);
    EnableWindow(item(IDC_SCHED_LOG), on);
    EnableWindow(item(IDC_SCHED_LOG_BROWSE), on);
}

bool SchedulerPage::onCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_SCHED_DAT_BROWSE:
        browse(IDC_SCHED_DAT, IDS_FILTER_SCHEDULE, "jsf");
        return true;
    case IDC_SCHED_WAV_BROWSE:
        browse(IDC_SCHED_WAV, IDS_FILTER_WAV, "wav");
        return true;
    case IDC_SCHED_LOG_BROWSE:
        browse(IDC_SCHED_LOG, IDS_FILTER_LOG, "log");
        return true;
    case IDC_SCHED_LOGF:
        enableLogControls();
        return true;
    default:
        return false;
    }
}

void SchedulerPage::browse(int edit, unsigned filter, const char* extension) {
    std::string chosen;
    if (openFileDialog(hwnd(), loadString(IDS_OPEN_TITLE, "Open"), loadString(filter), extension,
                       dialogText(hwnd(), edit), chosen))
        SetDlgItemTextA(hwnd(), edit, chosen.c_str());
}

bool SchedulerPage::onDropFiles(HDROP drop) {
    char path[kSettingsPathSize] = {};
    UINT length = DragQueryFileA(drop, 0, path, sizeof path);
    if (length == 0 || length >= sizeof path) return true;
    // The edit the file was dropped on, else the schedule file. The point is in
    // the client area of the window that took the drop: the Options dialog.
    int target = droppedOnEdit(drop, topLevelWindow(hwnd()), hwnd(), {IDC_SCHED_WAV, IDC_SCHED_LOG});
    if (!target) target = IDC_SCHED_DAT;
    MessageBeep(0xFFFFFFFF);
    SetDlgItemTextA(hwnd(), target, path);
    return true;
}

void SchedulerPage::refuse(unsigned message, SchedulerField field) {
    bringForward();
    showError(hwnd(), loadString(message));
    if (int id = fieldControl(field)) {
        HWND control = item(id);
        SetFocus(control);
        SendMessageA(control, EM_SETSEL, 0, -1);
    }
}

bool SchedulerPage::leave() {
    if (!hwnd()) return true;
    TerminalSchedulerSettings& s = settings_;
    s.autoStart = checked(IDC_SCHED_AUTOSTART);
    s.active = checked(IDC_SCHED_ACTIVE);
    s.warn = checked(IDC_SCHED_WARN);
    s.repErr = checked(IDC_SCHED_REPERR);
    s.ampm = checked(IDC_SCHED_AMPM);
    s.topMost = checked(IDC_SCHED_TOPMOST);
    s.actDlg = checked(IDC_SCHED_ACTDLG);
    s.history = checked(IDC_SCHED_HISTORY);

    SchedulerPageValues values;
    values.dat = dialogText(hwnd(), IDC_SCHED_DAT);
    values.log = dialogText(hwnd(), IDC_SCHED_LOG);
    values.wav = dialogText(hwnd(), IDC_SCHED_WAV);
    values.refreshText = dialogText(hwnd(), IDC_SCHED_REFRESH);
    values.logF = checked(IDC_SCHED_LOGF);
    values.refreshTime = s.refreshTime;
    SchedulerPageCheck verdict = checkSchedulerPage(values);
    if (!values.logF && checked(IDC_SCHED_LOGF)) {
        // Logging without a log file is no logging: the box says so at once.
        check(IDC_SCHED_LOGF, false);
        enableLogControls();
    }
    if (verdict.message != 0) {
        refuse(verdict.message, verdict.field);
        return false;
    }
    s.dat = values.dat;
    s.log = values.log;
    s.wav = values.wav;
    s.logF = values.logF;
    s.refreshTime = values.refreshTime;
    return true;
}

void SchedulerPage::reset() {
    check(IDC_SCHED_AUTOSTART, true);
    check(IDC_SCHED_ACTIVE, true);
    check(IDC_SCHED_REPERR, true);
    check(IDC_SCHED_WARN, false);
    check(IDC_SCHED_HISTORY, true);
    SendDlgItemMessageA(hwnd(), IDC_SCHED_REFRESH_SPIN, UDM_SETPOS32, 0, kDefaultRefresh);
    SetDlgItemInt(hwnd(), IDC_SCHED_REFRESH, kDefaultRefresh, FALSE);
}

}  // namespace kzo
