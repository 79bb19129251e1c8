#include "schedule_document.h"

#include "main_frame.h"
#include "message_text.h"
#include "resource.h"
#include "string_table.h"
#include "system_error.h"
#include "terminal_boxes.h"

namespace kzo {

ScheduleDocument::ScheduleDocument(CMainFrame& frame) : frame_(frame) {}

void ScheduleDocument::registerCommands(CommandTable& commands) {
    CMainFrame& f = frame_;
    auto hasTasks = [&f] { return CommandState{f.store().count() > 0}; };
    commands.add(ID_REFRESH, [this] { refresh(); });
    commands.add(ID_SAVE, [this] { notYet(); }, hasTasks);
    commands.add(ID_TASK_NEW, [this] { notYet(); });
    commands.add(ID_TASK_PROPERTIES, [this] { notYet(); }, hasTasks);
    commands.add(ID_TASK_DELETE, [this] { notYet(); }, hasTasks);
    commands.add(ID_TASK_RUN, [this] { notYet(); }, hasTasks);
    commands.add(ID_TASK_COPY, [this] { notYet(); }, hasTasks);
    commands.add(ID_TASK_PASTE, [this] { notYet(); }, [] { return CommandState{false}; });
}

void ScheduleDocument::notYet() { showError(frame_.hwnd(), loadString(IDS_NOT_YET)); }

void ScheduleDocument::refresh() {
    ScheduleStore& store = frame_.store();
    TaskList& list = frame_.list();
    list.clear();
    store.clear();
    store.setFileName(frame_.scheduleFile().c_str());
    std::string message;
    int opened = store.open(false);
    if (opened != kStoreOk) {
        message = fillMessage(loadString(7540), {store.fileName(), systemErrorText(opened)});
    } else {
        DisplayFilter display;
        int result = store.read(display);
        if (result == kStoreOk || result == kStoreEmpty || result == kStoreNoMemory) {
            store.close();
        } else if (result == kStoreBadSize) {
            message = fillMessage(loadString(7545), {store.fileName()});
        } else {
            message = fillMessage(loadString(7541), {store.fileName(), systemErrorText(result)});
        }
    }
    list.setUserSchedule(frame_.userScheduleShown());
    list.rebuild();
    writeTaskCount();
    frame_.bars().setStatus(1, store.fileName());
    frame_.updateCommandUi();
    if (!message.empty()) showError(frame_.hwnd(), message);
}

bool ScheduleDocument::save() { return false; }

void ScheduleDocument::writeTaskCount() {
    std::size_t count = frame_.store().count();
    char text[64];
    std::snprintf(text, sizeof text, "%d tasks  %db", static_cast<int>(count),
                  static_cast<int>(count * kRecordSize));
    frame_.bars().setStatus(2, text);
}

}  // namespace kzo
