// What the task sheet and the new-task wizard hand to their two pages, and
// what the pages ask of their container.
#pragma once

#include <windows.h>

#include <string>

#include "schedule_store.h"
#include "task_record.h"

namespace kzo {

struct TaskEditContext {
    // The sheet: the task's record inside the store, edited in place. The
    // wizard: a record of its own with the new-task defaults.
    TaskRecord& record;
    // For the duplicate-name test of the Command page.
    ScheduleStore& store;
    HINSTANCE module;
    bool ampm;          // the 12-hour clock of the AMPM setting
    bool autoQuote;     // the program part of Application commands quoted when it holds a blank
    bool oneTouch;      // allows the Interactive box; one-click profile lists
    bool userSchedule;  // the User Schedule is shown (else the System Schedule)
    HWND helpTarget;    // receives the Help command (the frame)
    std::string profilesFile;  // "kzo.pro" in the Terminal's folder
};

// Posted by a wizard page to itself when it becomes active: the wizard writes
// its own title after the activation, so the page's title follows.
constexpr UINT kShowWizardTitle = WM_APP + 13;

// The container of the pages: the task sheet's dialog, or the wizard.
class TaskEditHost {
public:
    virtual ~TaskEditHost() = default;
    // The description line under the sheet's band (the wizard has none).
    virtual void setDescription(const std::string& text) = 0;
    // The title with the task's name ("\"%s\" properties" or "New task \"%s\"");
    // sheet is the pages' property sheet.
    virtual void showTaskName(HWND sheet, const std::string& name) = 0;
};

}  // namespace kzo
