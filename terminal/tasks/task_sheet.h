// The task sheet (dialog 218): a white band titled "Task properties" with the
// active page's description, the property sheet of the Command and Day and
// time pages living in it as a child (flat, hot-tracking tabs), and OK,
// Cancel and Help. OK applies every page in order and closes only when all
// accept; Cancel closes; Help asks the frame for its help.
#pragma once

#include <string>

#include "command_page.h"
#include "day_time_page.h"
#include "dialog_base.h"
#include "header_band.h"
#include "task_edit_context.h"

namespace kzo {

class TaskSheet : public DialogBase, private TaskEditHost {
public:
    explicit TaskSheet(TaskEditContext& context);

    // IDOK when every page accepted and wrote the record, IDCANCEL otherwise.
    INT_PTR run(HWND owner);
    // The Day and time page was shown and accepted: the record's last-run
    // year was reset.
    bool scheduleApplied() const { return dayTime_.applied(); }

protected:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void onDestroy() override;

private:
    void setDescription(const std::string& text) override;
    void showTaskName(HWND sheet, const std::string& name) override;
    void fitAroundSheet();
    void close(INT_PTR result);
    HWND activePage() const;

    TaskEditContext& context_;
    CommandPage command_;
    DayTimePage dayTime_;
    HeaderBand band_;
    HWND sheet_ = nullptr;
};

// The new-task wizard: the wizard's Command and Day and time pages over
// context.record, titled "New task \"%s\"" with the name it opens with. True
// when it ended with Finish (the record holds what the pages accepted).
bool runTaskWizard(TaskEditContext& context, HWND owner);

}  // namespace kzo
