// The schedule document: the Terminal's copy of the schedule shown and what
// changes it. Every change is written to the schedule file at once and the
// schedule's executor is signalled; the unsaved mark only remembers that the
// last write failed.
#pragma once

#include <windows.h>

#include <string>

#include "task_record.h"

namespace kzo {

class CMainFrame;
class CommandTable;

class ScheduleDocument {
public:
    explicit ScheduleDocument(CMainFrame& frame);

    // The commands of the document into the frame's table.
    void registerCommands(CommandTable& commands);

    // Reloads the store from the schedule file and rebuilds the list; every
    // failure is reported, and the list shows what the store holds after it.
    void refresh();
    // Writes the store to the file, keeping the executor's stamps. True when
    // the file holds the store.
    bool save();
    bool unsaved() const { return unsaved_; }

    // The task count text of the status bar, after a rebuild of the list.
    void writeTaskCount();

private:
    void notYet();

    CMainFrame& frame_;
    bool unsaved_ = false;
};

}  // namespace kzo
