// The schedule document: the Terminal's copy of the schedule shown and what
// changes it. Every change is written to the schedule file at once and the
// schedule's executor is signalled; the unsaved mark only remembers that the
// last write failed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "history_file.h"
#include "schedule_store.h"
#include "task_record.h"
#include "terminal_settings.h"

namespace kzo {

class CommandTable;
class FrameBars;
class TaskList;

// What the document works on and reports to: the window that shows the
// schedule (the main frame).
class DocumentHost {
public:
    virtual HWND hwnd() const = 0;
    virtual TerminalSettings& settings() = 0;
    virtual ConfirmationFlags& confirmations() = 0;
    virtual ScheduleStore& store() = 0;
    virtual TaskList& list() = 0;
    virtual FrameBars& bars() = 0;
    virtual bool userScheduleShown() const = 0;
    // The schedule file value of the schedule shown, unexpanded.
    virtual const std::string& scheduleFile() const = 0;
    // The update event of the schedule shown, or nullptr.
    virtual HANDLE updateEvent() = 0;
    // A dropped file waiting for the wizard, taken once.
    virtual std::string takePendingDrop() = 0;
    virtual void updateCommandUi() = 0;

protected:
    ~DocumentHost() = default;
};

class ScheduleDocument {
public:
    explicit ScheduleDocument(DocumentHost& frame);

    // The commands of the document into the frame's table.
    void registerCommands(CommandTable& commands);

    // Reloads the store from the schedule file, and the last results from its
    // run history when that has changed, and rebuilds the list; every failure
    // of the schedule file is reported, and the list shows what the store
    // holds after it. (A missing or unreadable history is no failure: the
    // tasks then show no last result.)
    void refresh();
    // The list's last results anew from the run history of the schedule
    // shown when its files have changed since they were last read (their
    // sizes and times), or another schedule is shown: the schedulers'
    // launches show without a Refresh. The frame calls it every few seconds.
    void updateLastResults();
    // Writes the store to the file, taking over the stamps and edited marks the
    // executor wrote there since the last load, and signals the schedule's
    // executor. True when the file holds the store; otherwise the unsaved mark
    // is set and the failure was reported. keepStamp: a task of the store whose
    // last-run stamp was reset on purpose and is written as it is.
    bool save(const TaskRecord* keepStamp = nullptr);
    bool unsaved() const { return unsaved_; }
    // The list anew from the store as it is in memory.
    void rebuildList();
    // The task count text of the status bar.
    void writeTaskCount();

    // New: the record with the defaults (and a dropped file as its command)
    // goes through editor, which returns false to discard it; accepted, it is
    // appended, saved and the schedule refreshed. Without an editor the
    // defaults are taken as they are.
    void setNewTaskEditor(std::function<bool(TaskRecord&)> editor) { newTaskEditor_ = std::move(editor); }

    void newTask();
    void deleteTasks();
    void copyTask();
    void pasteTask();
    void runTasks();

    // The trimmed names of the rows that are selected or have the focus.
    std::vector<std::string> chosenNames() const;

private:
    void appendSaveRefresh(const TaskRecord& record);

    DocumentHost& frame_;
    bool unsaved_ = false;
    // The task copy buffer: survives schedule switches, so that a task can be
    // copied from one schedule into the other.
    TaskRecord copyBuffer_{};
    bool copyFull_ = false;
    std::function<bool(TaskRecord&)> newTaskEditor_;
    // The file as a save reads it, kept so its memory serves every save.
    ScheduleStore saveFile_;
    // The schedule file whose history the list shows, and the stamp its
    // history files had when they were read.
    std::string historyOf_;
    HistoryStamp historyStamp_;
};

}  // namespace kzo
