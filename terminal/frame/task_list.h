// The task list: the frame's client area, one row per task of the schedule
// shown. The list control holds no texts of its own (owner data): a row is an
// index into the schedule store, and every cell is produced when the control
// asks for it, so a rebuild of ten thousand rows costs no more than the sort.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "run_event.h"
#include "schedule_store.h"
#include "flat_header.h"
#include "subclass_wnd.h"
#include "task_cells.h"
#include "terminal_settings.h"
#include "win_handles.h"

namespace kzo {

class TaskList : private CSubclassWnd {
public:
    TaskList(HINSTANCE module, const ScheduleStore& store, TerminalSettings& settings);
    ~TaskList();
    TaskList(const TaskList&) = delete;
    TaskList& operator=(const TaskList&) = delete;

    // Creates the control as a child of parent with the given id, loads the
    // empty-list hint and takes Grid and OneTouch over.
    bool create(HWND parent, int id);
    HWND hwnd() const { return list_; }

    // The row images for a screen of this many bits per pixel.
    void setImages(int bitsPerPixel);
    // The nine columns with the saved widths and order, the header made flat
    // and its sort arrow shown.
    void insertColumns();
    // Which schedule is shown: "UserLogon" or "SysStartup" in the Time column.
    void setUserSchedule(bool user) { userSchedule_ = user; }

    // The last result of each task of the schedule shown, by trimmed name
    // (lastResultByTask of its run history): the Last result column, the
    // failed rows' colour and the tips show them at once; sorted by Last
    // result, the rows are sorted again (the selection staying with its tasks).
    void setLastResults(std::map<std::string, RunEvent> results);
    const std::map<std::string, RunEvent>& lastResults() const { return lastResults_; }
    // The last result of a row's task, or nullptr.
    const RunEvent* lastResultOf(std::size_t row) const;

    // Every row anew from the store, in store order, then sorted.
    void rebuild();
    // Drops every row (before the store's records are released).
    void clear();
    std::size_t rowCount() const { return rows_.size(); }
    // The store index of a row.
    std::size_t recordOf(std::size_t row) const { return rows_[row]; }
    // The row's name as the list shows it: the first 64 characters.
    std::string rowName(std::size_t row) const;

    // Rows that are selected or have the focus, top to bottom.
    std::vector<std::size_t> chosenRows() const;
    // The row with the focus, or -1.
    int focusedRow() const;

    // The views: 0 Details, 1 List, 2 Large Icons.
    void setView(int view);
    void setGrid(bool grid);
    void setOneTouch(bool oneTouch);
    // Colours and font from the settings (default colours, colour
    // highlighting, the stored font).
    void applyColors();

    void selectAll();
    void unselectAll();
    void invertSelection();

    // A click on column's header: the new sort, arrows and rows.
    void sortByColumn(int column);
    // The header's current widths and order into the settings; widths only in
    // Details view.
    void storeLayout();

    // Notifications of the control to its parent. True when handled; result
    // receives the answer. Activation (double click, Enter, one-touch click)
    // sends command activateCommand to the parent.
    bool onNotify(const NMHDR& header, LRESULT& result, int activateCommand);

    // The point of a keyboard context menu: 10 pixels right of the left edge
    // of the first chosen row (row 0 when none), at its bottom, in screen
    // coordinates.
    POINT keyboardMenuPoint() const;

private:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void cellText(std::size_t row, int column, char* out, int size) const;
    void matchLastResults();
    const RunEvent* lastResultOfRecord(std::size_t record) const;
    void sortRows();
    void sortKeepingSelection();
    void unselectEverything();
    void showSortArrow(int column, int arrow);  // 0 none, 1 ascending, 2 descending
    void paintEmptyHint(HDC dc) const;
    bool onCustomDraw(NMLVCUSTOMDRAW& draw, LRESULT& result) const;

    HINSTANCE module_;
    const ScheduleStore& store_;
    TerminalSettings& settings_;
    HWND list_ = nullptr;
    bool userSchedule_ = true;
    TaskListNames names_;
    std::vector<std::size_t> rows_;
    std::map<std::string, RunEvent> lastResults_;
    // By store index: the record's entry of lastResults_, or nullptr; made
    // with the rows, so that a cell or a comparison looks up nothing.
    std::vector<const RunEvent*> lastOfRecord_;
    std::string hint_;
    UniqueImageList smallImages_;
    UniqueImageList largeImages_;
    UniqueFont font_;           // the stored font, while it is in use
    HFONT defaultFont_ = nullptr;  // the control's own
    UniqueBitmap arrows_[3];    // none, ascending, descending
    FlatHeader flatHeader_;
};

}  // namespace kzo
