// The History window (246): what became of the launches of the schedule
// shown, newest first, with Task, Started, Ended and Result; of every task, or
// of one when opened from it. An owner-data list: a row is an index into the
// runs, its cells made when the list asks for them, so that a history of ten
// thousand runs opens at once. F5 or Refresh reads the history again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialog_base.h"
#include "run_event.h"

namespace kzo {

class CMainFrame;

class HistoryDialog : public DialogBase {
public:
    // scheduleFile: the expanded file name of the schedule shown; task: the
    // task whose runs are shown, or empty for every task; keepsHistory: the
    // schedule's scheduler keeps a history now (its "History" setting).
    HistoryDialog(std::string scheduleFile, std::string task, bool ampm, bool keepsHistory);

    // The runs shown, newest first.
    const std::vector<RunOfTask>& runs() const { return runs_; }

private:
    BOOL onInit() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onNotify(const NMHDR& header, LRESULT& answer) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    void insertColumns();
    void reload();
    void layout();

    std::string scheduleFile_;
    std::string task_;
    bool ampm_;
    bool keepsHistory_;
    HWND list_ = nullptr;
    std::vector<RunOfTask> runs_;
    SIZE minimum_ = {};  // the template's size: the window is never made smaller
};

// The frame's History commands: the runs of the schedule shown, or
// (ofChosenTask) of the task with the focus, else of the first chosen one;
// every task when none is chosen.
void showHistory(CMainFrame& frame, bool ofChosenTask);

}  // namespace kzo
