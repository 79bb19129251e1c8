// The Day and time page: the task sheet's second page ("Day && Time  ",
// dialog 208) and the new-task wizard's (dialog 203). It edits the schedule
// proper of the task (weekdays, months, days of month, the time or cycle, run
// later, startup or logon) and, through the Activity Interval dialog, the
// interval; below them a read-only line tells when the task would run next
// with the fields as they stand.
//
// The record is written when the page is confirmed: the sheet's OK (only when
// the page was ever shown), the wizard's Finish. The interval dialog writes its
// three fields at once on its own OK.
#pragma once

#include "check_list.h"
#include "day_list.h"
#include "day_time_rules.h"
#include "property_page.h"
#include "spin_target.h"
#include "task_edit_context.h"
#include "win_handles.h"

namespace kzo {

class DayTimePage : public PropertyPage {
public:
    DayTimePage(TaskEditContext& context, TaskEditHost& host, bool wizard)
        : context_(context), host_(host), wizard_(wizard) {}

    PROPSHEETPAGEA sheetPage();
    // Apply accepted the controls: the record holds the new schedule and a
    // last-run year of 0.
    bool applied() const { return applied_; }

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onNotify(const NMHDR& header, LRESULT& answer) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    bool onSetActive() override;
    bool onApply() override;
    bool onWizardFinish() override;
    void onHelp() override;

private:
    DayTimeControls read() const;
    void show(const DayTimeControls& controls);
    void applyRules();
    void chooseStartup(bool startup);
    void showHalf();
    void serve(int box);
    void dropMenu(const NMLISTVIEW& click);
    void openInterval();
    void showNextRun();
    bool apply();

    TaskEditContext& context_;
    TaskEditHost& host_;
    bool wizard_;
    bool initialised_ = false;
    bool applied_ = false;
    bool filling_ = false;
    bool pm_ = false;
    CheckList weekdays_;
    CheckList months_;
    SpinTarget spin_;
    UniqueMenu menus_;
    UniqueFont heading_;
};

}  // namespace kzo
