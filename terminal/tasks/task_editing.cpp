#include "task_editing.h"

#include "blanks.h"
#include "main_frame.h"
#include "resource.h"
#include "task_sheet.h"

namespace kzo {

namespace {

TaskEditContext contextFor(CMainFrame& frame, TaskRecord& record) {
    const TerminalSettings& s = frame.settings();
    return TaskEditContext{record,     frame.store(),      frame.module(), s.ampm,
                           s.autoQuote, s.oneTouch, frame.userScheduleShown(), frame.hwnd(),
                           frame.programFolder() + "kzo.pro"};
}

// The help opens on creating tasks while a sheet or the wizard is open.
class TaskHelpContext {
public:
    explicit TaskHelpContext(CMainFrame& frame) : frame_(frame) { frame_.setHelpContext(kHelpTask); }
    ~TaskHelpContext() { frame_.setHelpContext(kHelpMain); }
    TaskHelpContext(const TaskHelpContext&) = delete;
    TaskHelpContext& operator=(const TaskHelpContext&) = delete;

private:
    CMainFrame& frame_;
};

TaskRecord* taskToEdit(CMainFrame& frame) {
    ScheduleStore& store = frame.store();
    TaskList& list = frame.list();
    int row = list.focusedRow();
    if (row >= 0) return store.find(trimBlanks(list.rowName(static_cast<std::size_t>(row))));
    return store.count() == 1 ? &store.item(0) : nullptr;
}

bool createTask(CMainFrame& frame, TaskRecord& record) {
    TaskHelpContext help(frame);
    TaskEditContext context = contextFor(frame, record);
    return runTaskWizard(context, frame.hwnd());
}

}  // namespace

void editTask(CMainFrame& frame) {
    TaskRecord* record = taskToEdit(frame);
    if (!record) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    TaskHelpContext help(frame);
    TaskEditContext context = contextFor(frame, *record);
    TaskSheet sheet(context);
    if (sheet.run(frame.hwnd()) == IDOK) {
        record->edited = 1;
        // A changed schedule counts as not run today: the reset stamp is
        // written as it is, not taken back from the file.
        frame.document().save(sheet.scheduleApplied() ? record : nullptr);
        frame.document().rebuildList();
    } else {
        frame.document().refresh();
    }
}

void registerTaskEditing(CMainFrame& frame) {
    frame.commands().add(ID_TASK_PROPERTIES, [&frame] { editTask(frame); },
                         [&frame] { return CommandState{frame.store().count() > 0}; });
    frame.document().setNewTaskEditor([&frame](TaskRecord& record) { return createTask(frame, record); });
}

}  // namespace kzo
