// What the History window shows: the launches of a schedule's run history,
// newest first, of every task or of one, and the texts of their cells. Pure:
// no windows.h.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "run_event.h"

namespace kzo {

// The window's columns.
enum HistoryColumn : int {
    kHistoryTask = 0,
    kHistoryStarted = 1,
    kHistoryEnded = 2,
    kHistoryResult = 3,
    kHistoryColumnCount = 4,
};

// The launches of the events (a history file's, oldest first), the one that
// began last first; only those of task (compared without blanks at either
// end) unless task is empty.
std::vector<RunOfTask> historyRows(const std::vector<RunEvent>& events, const std::string& task);

// The row of the launch a line tells of, or -1: a row found again after the
// rows were read anew.
int rowOfLaunch(const std::vector<RunOfTask>& rows, const RunEvent& launch);

// A cell: the task's name; when the launch began; when it ended (the time of
// its newest line; empty while its program runs); its result as the task list
// gives it ("exit 3", "not started: <text>", "running", ...). Times as the
// task list writes them, on the 12-hour clock with ampm. A column outside 0-3
// gives an empty text.
std::string historyCellText(const RunOfTask& run, int column, bool ampm);

}  // namespace kzo
