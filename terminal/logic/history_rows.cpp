#include "history_rows.h"

#include <algorithm>

#include "blanks.h"
#include "task_cells.h"

namespace kzo {

std::vector<RunOfTask> historyRows(const std::vector<RunEvent>& events, const std::string& task) {
    std::vector<RunOfTask> runs = runsOf(events);
    const std::string name = trimBlanks(task);
    if (!name.empty())
        runs.erase(std::remove_if(runs.begin(), runs.end(), [&](const RunOfTask& r) { return r.last.task != name; }),
                   runs.end());
    std::reverse(runs.begin(), runs.end());
    return runs;
}

int rowOfLaunch(const std::vector<RunOfTask>& rows, const RunEvent& launch) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (sameLaunch(rows[i].last, launch)) return static_cast<int>(i);
    return -1;
}

std::string historyCellText(const RunOfTask& run, int column, bool ampm) {
    const RunEvent& last = run.last;
    switch (column) {
    case kHistoryTask: return last.task;
    case kHistoryStarted: return historyTimeText(last.started, ampm);
    case kHistoryEnded: return isRunning(last) ? std::string() : historyTimeText(last.time, ampm);
    case kHistoryResult: return resultText(last);
    default: return std::string();
    }
}

}  // namespace kzo
