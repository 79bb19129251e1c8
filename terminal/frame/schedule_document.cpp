#include "schedule_document.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "blanks.h"
#include "command_table.h"
#include "expand_env.h"
#include "frame_bars.h"
#include "message_text.h"
#include "paste_name.h"
#include "resource.h"
#include "run_history.h"
#include "run_now.h"
#include "save_merge.h"
#include "string_table.h"
#include "system_error.h"
#include "task_list.h"
#include "terminal_boxes.h"

namespace kzo {

ScheduleDocument::ScheduleDocument(DocumentHost& frame) : frame_(frame) {}

void ScheduleDocument::registerCommands(CommandTable& commands) {
    DocumentHost& f = frame_;
    auto hasTasks = [&f] { return CommandState{f.store().count() > 0}; };
    commands.add(ID_REFRESH, [this] { refresh(); });
    commands.add(ID_SAVE, [this] { save(); }, hasTasks);
    commands.add(ID_TASK_NEW, [this] { newTask(); });
    commands.add(ID_TASK_DELETE, [this] { deleteTasks(); }, hasTasks);
    commands.add(ID_TASK_RUN, [this] { runTasks(); }, hasTasks);
    commands.add(ID_TASK_COPY, [this] { copyTask(); }, hasTasks);
    commands.add(ID_TASK_PASTE, [this] { pasteTask(); }, [this] { return CommandState{copyFull_}; });
}

void ScheduleDocument::refresh() {
    ScheduleStore& store = frame_.store();
    TaskList& list = frame_.list();
    list.clear();
    store.empty();
    store.setFileName(frame_.scheduleFile().c_str());
    std::string message;
    int opened = store.open(false);
    if (opened != kStoreOk) {
        message = fillMessage(loadString(IDS_REFRESH_OPEN), {store.fileName(), systemErrorText(opened)});
    } else {
        DisplayFilter display;
        int result = store.read(display);
        if (result == kStoreOk || result == kStoreEmpty || result == kStoreNoMemory) {
            store.close();
        } else if (result == kStoreBadSize) {
            message = fillMessage(loadString(IDS_BAD_SIZE), {store.fileName()});
        } else {
            message = fillMessage(loadString(IDS_REFRESH_READ), {store.fileName(), systemErrorText(result)});
        }
    }
    updateLastResults();
    rebuildList();
    frame_.bars().setStatus(1, store.fileName());
    if (!message.empty()) showError(frame_.hwnd(), message);
}

void ScheduleDocument::updateLastResults() {
    const std::string file = frame_.store().fileName();
    // Taken before the read: lines added meanwhile make the next look read again.
    const HistoryStamp stamp = file.empty() ? HistoryStamp() : historyStampOf(file);
    if (file == historyOf_ && stamp == historyStamp_) return;
    std::vector<RunEvent> events;
    const bool read = file.empty() || readRunHistory(file, events);
    // A history busy through the retries: the results shown stay, and the
    // next look reads again.
    if (!read && file == historyOf_) return;
    historyOf_ = file;
    historyStamp_ = read ? stamp : HistoryStamp();
    frame_.list().setLastResults(lastResultByTask(events));
}

void ScheduleDocument::rebuildList() {
    TaskList& list = frame_.list();
    list.setUserSchedule(frame_.userScheduleShown());
    list.rebuild();
    writeTaskCount();
    frame_.updateCommandUi();
}

bool ScheduleDocument::save(const TaskRecord* keepStamp) {
    ScheduleStore& store = frame_.store();
    unsaved_ = false;
    store.setFileName(frame_.scheduleFile().c_str());
    ScheduleStore& file = saveFile_;
    file.setFileName(store.fileName());
    int opened = file.open(true);
    if (opened != kStoreOk) {
        showError(frame_.hwnd(), fillMessage(loadString(IDS_SAVE_OPEN), {store.fileName(), systemErrorText(opened)}));
        unsaved_ = true;
        return false;
    }
    UnchangedFilter unchanged;
    int read = file.read(unchanged);
    if (read == kStoreOk) {
        mergeSavedFile(store, file, keepStamp);
    } else if (read == kStoreEmpty || read == kStoreNoMemory) {
        // Nothing to merge: the file, still held, is simply overwritten.
    } else if (read == kStoreBadSize) {
        // Not a schedule of this format: overwritten.
        file.close();
        opened = file.open(true);
        if (opened != kStoreOk) {
            showError(frame_.hwnd(),
                      fillMessage(loadString(IDS_SAVE_OPEN), {store.fileName(), systemErrorText(opened)}));
            unsaved_ = true;
            return false;
        }
    } else {
        showError(frame_.hwnd(), fillMessage(loadString(IDS_SAVE_SYNC), {store.fileName()}));
        // Neither on disk nor merged: remembered, so that a switch retries and
        // the exit asks.
        unsaved_ = true;
        return false;
    }
    file.empty();
    store.takeFileFrom(file);
    int written = store.write(false);
    if (HANDLE event = frame_.updateEvent()) SetEvent(event);
    if (written != kStoreOk) {
        showError(frame_.hwnd(), fillMessage(loadString(IDS_SAVE_WRITE), {store.fileName(), systemErrorText(written)}));
        unsaved_ = true;
        return false;
    }
    store.close();
    return true;
}

void ScheduleDocument::appendSaveRefresh(const TaskRecord& record) {
    ScheduleStore& store = frame_.store();
    if (!store.makeSpareSlot() || store.append(record) != 0) {
        showError(frame_.hwnd(), systemErrorText(ERROR_NOT_ENOUGH_MEMORY));
        return;
    }
    // A task that could not be saved stays in the list and in memory, marked
    // unsaved (a reload from the file would drop it): the next save, a
    // schedule switch or the exit's question keeps it.
    if (save())
        refresh();
    else
        rebuildList();
}

void ScheduleDocument::newTask() {
    TaskRecord record = newTaskRecord(static_cast<int>(frame_.store().count()) + 1);
    std::string dropped = frame_.takePendingDrop();
    if (!dropped.empty()) setField(record.command, dropped);
    if (newTaskEditor_ && !newTaskEditor_(record)) return;
    appendSaveRefresh(record);
}

std::vector<std::string> ScheduleDocument::chosenNames() const {
    TaskList& list = frame_.list();
    std::vector<std::string> names;
    for (std::size_t row : list.chosenRows()) names.push_back(trimBlanks(list.rowName(row)));
    return names;
}

void ScheduleDocument::deleteTasks() {
    HWND owner = frame_.hwnd();
    if (!confirm(owner, loadString(IDS_CONFIRM_DELETE), frame_.confirmations(), kConfirmDelete)) return;
    // Names first: each removal moves the last record into the freed place.
    std::vector<std::string> names = chosenNames();
    ScheduleStore& store = frame_.store();
    frame_.list().clear();
    for (const std::string& name : names) store.remove(name);
    save();
    rebuildList();
}

void ScheduleDocument::copyTask() {
    std::vector<std::string> names = chosenNames();
    TaskRecord* record = names.empty() ? nullptr : frame_.store().find(names.front());
    if (!record) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    copyBuffer_ = *record;
    copyFull_ = true;
}

void ScheduleDocument::pasteTask() {
    if (!copyFull_) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    ScheduleStore& store = frame_.store();
    std::string name = pasteName(fieldText(copyBuffer_.name),
                                 [&store](const std::string& candidate) { return store.find(candidate) != nullptr; });
    if (name.empty()) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    TaskRecord copy = copyBuffer_;
    std::memset(copy.name, 0, sizeof copy.name);
    setField(copy.name, name);
    appendSaveRefresh(copy);
}

void ScheduleDocument::runTasks() {
    HWND owner = frame_.hwnd();
    if (!confirm(owner, loadString(IDS_CONFIRM_RUN), frame_.confirmations(), kConfirmRun)) return;
    ScheduleStore& store = frame_.store();
    std::vector<std::string> names = chosenNames();
    std::vector<const TaskRecord*> tasks;
    for (const std::string& name : names) {
        const TaskRecord* task = store.find(name);
        if (task)
            tasks.push_back(task);
        else
            MessageBeep(0xFFFFFFFF);
    }
    // Nothing chosen in a schedule of one task: that task.
    if (names.empty() && store.count() == 1) tasks.push_back(&store.item(0));

    bool message = false;
    const std::string history = runNowHistory(store.fileName(), frame_.userScheduleShown());
    for (const TaskRecord* task : tasks) {
        if (task->type == kTypeMessage) message = true;
        startRunNow(*task, history);
    }
    const std::string& wav = frame_.userScheduleShown() ? frame_.settings().userWav : frame_.settings().sysWav;
    if (message && !wav.empty()) {
        char sound[kExpandedSize];
        expandEnvironment(wav.c_str(), sound);
        PlaySoundA(sound, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    }
}

void ScheduleDocument::writeTaskCount() {
    std::size_t count = frame_.store().count();
    char text[64];
    std::snprintf(text, sizeof text, "%d tasks  %db", static_cast<int>(count),
                  static_cast<int>(count * kRecordSize));
    frame_.bars().setStatus(2, text);
}

}  // namespace kzo
