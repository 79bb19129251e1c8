#include "day_time_page.h"

#include <optional>
#include <vector>

#include "clock.h"
#include "interval_dialog.h"
#include "launch_time.h"
#include "next_run_text.h"
#include "resource.h"
#include "string_table.h"
#include "terminal_boxes.h"

namespace kzo {

namespace {

std::vector<std::string> names(int first, int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) texts.push_back(loadString(first + i));
    return texts;
}

// The masks the header menus' commands choose.
int menuMask(int command) {
    switch (command) {
    case ID_DT_WEEKDAYS: return 31;
    case ID_DT_DAILY: return 127;
    case ID_DT_SELECT_ALL: return 4095;
    default: return 0;
    }
}

LaunchTime localNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return launchTimeAt(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

}  // namespace

PROPSHEETPAGEA DayTimePage::sheetPage() {
    PROPSHEETPAGEA p = page(context_.module, wizard_ ? IDD_WIZARD_DAYTIME : IDD_SHEET_DAYTIME);
    if (wizard_) p.dwFlags |= PSP_HASHELP;
    return p;
}

BOOL DayTimePage::onInit() {
    filling_ = true;
    weekdays_.attach(item(IDC_DT_WEEKDAYS), dialogText(hwnd(), IDC_DT_WEEKDAYS_LABEL), names(IDS_DAY_FIRST, 7));
    months_.attach(item(IDC_DT_MONTHS), dialogText(hwnd(), IDC_DT_MONTHS_LABEL), names(IDS_MONTH_FIRST, 12));
    SendMessageA(item(IDC_DT_DAYS), EM_LIMITTEXT, kDaysOfMonthWidth, 0);
    SendMessageA(item(IDC_DT_HOUR), EM_LIMITTEXT, 2, 0);
    SendMessageA(item(IDC_DT_MINUTE), EM_LIMITTEXT, 2, 0);
    spin_.attach(item(IDC_DT_SPIN));
    menus_.reset(LoadMenuA(context_.module, MAKEINTRESOURCEA(IDR_DAYTIME_MENUS)));
    if (wizard_) {
        heading_.reset(createHeadingFont(item(IDC_WIZARD_HEADING)));
        if (heading_) SendMessageA(item(IDC_WIZARD_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(heading_.get()), FALSE);
    }
    if (int label = startupButtonLabel(wizard_, context_.userSchedule))
        SetDlgItemTextA(hwnd(), IDC_DT_STARTUP, loadString(label).c_str());
    if (!context_.ampm) ShowWindow(item(IDC_DT_AMPM), SW_HIDE);
    show(wizard_ ? wizardDayTimeDefaults() : dayTimeControlsFrom(context_.record, context_.ampm));
    serve(IDC_DT_HOUR);
    applyRules();
    filling_ = false;
    initialised_ = true;
    showNextRun();
    return TRUE;
}

void DayTimePage::show(const DayTimeControls& c) {
    weekdays_.setMask(c.weekdays);
    months_.setMask(c.months);
    SetDlgItemTextA(hwnd(), IDC_DT_DAYS, c.days.c_str());
    SetDlgItemTextA(hwnd(), IDC_DT_HOUR, c.hour.c_str());
    SetDlgItemTextA(hwnd(), IDC_DT_MINUTE, c.minute.c_str());
    CheckRadioButton(hwnd(), IDC_DT_SCHEDULED, IDC_DT_STARTUP, c.startup ? IDC_DT_STARTUP : IDC_DT_SCHEDULED);
    CheckDlgButton(hwnd(), IDC_DT_CYCLE, c.cycle ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd(), IDC_DT_RUN_LATER, c.runLater ? BST_CHECKED : BST_UNCHECKED);
    pm_ = c.pm;
    showHalf();
}

DayTimeControls DayTimePage::read() const {
    DayTimeControls c;
    c.weekdays = weekdays_.mask();
    c.months = months_.mask();
    c.days = dialogText(hwnd(), IDC_DT_DAYS);
    c.hour = dialogText(hwnd(), IDC_DT_HOUR);
    c.minute = dialogText(hwnd(), IDC_DT_MINUTE);
    c.startup = IsDlgButtonChecked(hwnd(), IDC_DT_STARTUP) == BST_CHECKED;
    c.cycle = IsDlgButtonChecked(hwnd(), IDC_DT_CYCLE) == BST_CHECKED;
    c.runLater = IsDlgButtonChecked(hwnd(), IDC_DT_RUN_LATER) == BST_CHECKED;
    c.pm = pm_;
    return c;
}

void DayTimePage::applyRules() {
    DayTimeEnables e = dayTimeEnables(read(), context_.ampm);
    for (int id : {IDC_DT_TIME_LABEL, IDC_DT_HOUR, IDC_DT_MINUTE, IDC_DT_SPIN, IDC_DT_CYCLE})
        EnableWindow(item(id), e.timeControls);
    EnableWindow(item(IDC_DT_AMPM), e.ampmEnabled);
    SetDlgItemTextA(hwnd(), IDC_DT_RUN_LATER, loadString(e.runLaterLabel).c_str());
    // The hour's range follows the cycle box.
    serve(spin_.box() == item(IDC_DT_MINUTE) ? IDC_DT_MINUTE : IDC_DT_HOUR);
}

void DayTimePage::chooseStartup(bool startup) {
    if (startup) {
        DayTimeControls c = read();
        c.startup = true;
        applyStartupChoice(c);
        filling_ = true;
        SetDlgItemTextA(hwnd(), IDC_DT_HOUR, c.hour.c_str());
        SetDlgItemTextA(hwnd(), IDC_DT_MINUTE, c.minute.c_str());
        CheckDlgButton(hwnd(), IDC_DT_CYCLE, BST_UNCHECKED);
        filling_ = false;
    }
    applyRules();
    showNextRun();
}

void DayTimePage::showHalf() {
    SetDlgItemTextA(hwnd(), IDC_DT_AMPM, loadString(pm_ ? IDS_PM : IDS_AM, pm_ ? "&PM" : "&AM").c_str());
}

void DayTimePage::serve(int box) {
    bool cycle = IsDlgButtonChecked(hwnd(), IDC_DT_CYCLE) == BST_CHECKED;
    spin_.serve(item(box), box == IDC_DT_HOUR ? hourSpinRange(cycle, context_.ampm) : minuteSpinRange());
}

void DayTimePage::dropMenu(const NMLISTVIEW& click) {
    const bool weekdays = click.hdr.idFrom == IDC_DT_WEEKDAYS;
    CheckList& list = weekdays ? weekdays_ : months_;
    int command = list.dropHeaderMenu(GetSubMenu(menus_.get(), weekdays ? 0 : 1));
    if (command == 0) return;
    list.setMask(menuMask(command));
    showNextRun();
}

void DayTimePage::openInterval() {
    IntervalDialog dialog(context_.record, context_.ampm);
    if (dialog.run(context_.module, hwnd()) == IDOK) showNextRun();
}

void DayTimePage::showNextRun() {
    if (filling_ || !initialised_) return;
    std::optional<TaskRecord> preview = dayTimePreview(read(), context_.ampm, context_.record);
    SchedulerRole role = context_.userSchedule ? SchedulerRole::User : SchedulerRole::System;
    const ZoneRule zone = SystemClock().zoneRule();
    std::string text = preview ? nextRunText(*preview, localNow(), role, context_.ampm, &zone)
                               : loadString(IDS_NEXT_RUN_INVALID);
    SetDlgItemTextA(hwnd(), IDC_DT_NEXT_RUN, text.c_str());
}

bool DayTimePage::apply() {
    FullDayQuestion askFullDay = [this] {
        return askYesNo(hwnd(), loadString(IDS_TIME_NOT_IN_INTERVAL), errorCaption(), MB_ICONQUESTION);
    };
    // A refusal is told on this page, which the sheet then shows.
    if (!wizard_ && sheet() && PropSheet_GetCurrentPageHwnd(sheet()) != hwnd()) {
        int index = static_cast<int>(SendMessageA(sheet(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(hwnd()), 0));
        if (index >= 0) PropSheet_SetCurSel(sheet(), nullptr, index);
    }
    DayTimeOutcome outcome = applyDayTime(read(), context_.ampm, context_.record, askFullDay);
    applied_ = outcome.result == ApplyResult::Accepted;
    if (outcome.result == ApplyResult::Refused) showError(hwnd(), loadString(outcome.messageId));
    showNextRun();
    return outcome.result == ApplyResult::Accepted;
}

bool DayTimePage::onSetActive() {
    if (wizard_) {
        setWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
        PostMessageA(hwnd(), kShowWizardTitle, 0, 0);
    } else {
        host_.setDescription(loadString(IDS_DAYTIME_DESCRIPTION));
    }
    showNextRun();
    return true;
}

// The wizard writes the schedule at Finish only.
bool DayTimePage::onApply() { return wizard_ || !initialised_ || apply(); }

bool DayTimePage::onWizardFinish() { return apply(); }

void DayTimePage::onHelp() { SendMessageA(context_.helpTarget, WM_COMMAND, ID_HELP, 0); }

bool DayTimePage::onMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != kShowWizardTitle) return false;
    host_.showTaskName(sheet(), fieldText(context_.record.name));
    result = TRUE;
    return true;
}

bool DayTimePage::onCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_DT_HOUR:
    case IDC_DT_MINUTE:
        if (code == EN_SETFOCUS) serve(id);
        if (code == EN_CHANGE) showNextRun();
        return true;
    case IDC_DT_DAYS:
        if (code == EN_CHANGE) showNextRun();
        return true;
    case IDC_DT_SCHEDULED:
    case IDC_DT_STARTUP:
        if (code == BN_CLICKED) chooseStartup(id == IDC_DT_STARTUP);
        return true;
    case IDC_DT_CYCLE:
        applyRules();
        showNextRun();
        return true;
    case IDC_DT_RUN_LATER:
        showNextRun();
        return true;
    case IDC_DT_AMPM:
        pm_ = !pm_;
        showHalf();
        showNextRun();
        return true;
    case IDC_DT_INTERVAL:
        openInterval();
        return true;
    default:
        return false;
    }
}

bool DayTimePage::onNotify(const NMHDR& header, LRESULT& answer) {
    switch (header.code) {
    case UDN_DELTAPOS:
        spin_.step(reinterpret_cast<const NMUPDOWN&>(header).iDelta);
        answer = TRUE;
        return true;
    case LVN_COLUMNCLICK:
        dropMenu(reinterpret_cast<const NMLISTVIEW&>(header));
        return true;
    case LVN_ITEMCHANGED:
        if (reinterpret_cast<const NMLISTVIEW&>(header).uChanged & LVIF_STATE) showNextRun();
        return false;
    default:
        return false;
    }
}

}  // namespace kzo
