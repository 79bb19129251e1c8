// What the task list shows of a task: the texts of its cells, its row colours,
// and the order of its rows when sorted by a column. Pure: no windows.h.
//
// Every function reads a record as the bytes it is: text fields are bounded by
// their widths, numbers may hold anything a hand-edited file holds, and the
// results stay well-formed (a text for every value, a consistent order for any
// bytes).
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "launch_time.h"
#include "run_event.h"
#include "task_record.h"
#include "terminal_settings.h"

namespace kzo {

// The list's columns, in their default order.
enum TaskColumn : int {
    kColumnTask = 0,
    kColumnDate = 1,
    kColumnMonth = 2,
    kColumnTime = 3,
    kColumnInterval = 4,
    kColumnCommand = 5,
    kColumnFolder = 6,
    kColumnLastRun = 7,
    kColumnLastResult = 8,  // from the run history, not from the record
    kColumnCount = 9,
};

// String numbers of the names the cells use, in the Terminal's string table:
// the weekdays Monday first, the months January first, the prefixes of the
// Document, Message and Shut down commands.
constexpr unsigned kFirstDayNameString = 7546;
constexpr unsigned kFirstMonthNameString = 7553;
constexpr unsigned kFirstTypePrefixString = 7565;

// The names the cells are built of. The defaults are the string table's
// English texts; the Terminal fills them from its string table once.
struct TaskListNames {
    std::array<std::string, 7> days{"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
    std::array<std::string, 12> months{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 3> typePrefixes{"DOC> ", "MSG> ", "SDN> "};
};

// The English names, shared.
const TaskListNames& defaultTaskListNames();

struct CellOptions {
    bool ampm = false;          // the AMPM setting: hours on the 12-hour clock
    bool userSchedule = true;   // the schedule shown: logon tasks read "UserLogon",
                                // on the system schedule "SysStartup"
    const RunEvent* lastResult = nullptr;  // the task's newest history line, if any
};

// Writes the text of column 0-8 into out (size bytes), cut to fit and always
// NUL-terminated when size > 0; returns the length written. This is the form
// the list control's on-demand cell request wants (it hands over a buffer and
// its size). Column 0 is the name; column 8 the result of options.lastResult
// in a few words ("0", "exit 3", "not started: <text>", "running", ...; empty
// without one); a column outside 0-8 gives an empty text.
std::size_t taskCellText(const TaskRecord& record, int column, const CellOptions& options,
                         const TaskListNames& names, char* out, std::size_t size);

// The same text, whole, for callers that want a string.
std::string taskCellText(const TaskRecord& record, int column, const CellOptions& options,
                         const TaskListNames& names = defaultTaskListNames());

// Indexes into the ColorHL table of the row's background and text colours: by
// the task's type (0-3; any other type byte counts as Application) and whether
// it is active (any non-zero byte).
struct RowColorEntries {
    int background;
    int text;
};
RowColorEntries rowColorEntries(const TaskRecord& record);

// The colours of a row under colour highlighting: those of its entries, or the
// failed rows' colours when its task's last run failed (lastRunFailed).
struct RowColors {
    std::uint32_t text;
    std::uint32_t background;
};
RowColors rowColors(const TerminalSettings& settings, const TaskRecord& record, bool lastRunFailed);

// Ascending comparison of two tasks for a column (0-8), <0, 0 or >0. A column
// outside 0-8 compares as column 0. Ties give 0: a stable sort keeps such rows
// in store order. Any bytes give a strict weak order. Column 8 compares the
// last results lastA and lastB (nullptr: none recorded) by
// compareLastResults.
int compareTasks(const TaskRecord& a, const TaskRecord& b, int column, const RunEvent* lastA = nullptr,
                 const RunEvent* lastB = nullptr);

// The order of last results, ascending: none recorded first, then the results
// that are no failure, then the failures; results alike by their kind of end,
// then by their code, then by when they happened.
int compareLastResults(const RunEvent* a, const RunEvent* b);

// The sort value: 0-7 ascending by column 0-7, 8-15 descending by column
// value - 8, 16 ascending and 17 descending by column 8 (the first sixteen are
// the values a Terminal of eight columns stores, the last two new). A stored
// value outside 0-17 counts as 0.
constexpr int kSortValues = 18;
int validSortValue(int sortValue);
int sortColumn(int sortValue);
bool sortDescending(int sortValue);
int sortValueOf(int column, bool descending);

// compareTasks for a sort value, negated when descending.
int compareTasksForSort(const TaskRecord& a, const TaskRecord& b, int sortValue, const RunEvent* lastA = nullptr,
                        const RunEvent* lastB = nullptr);

// The sort value after a click on a column header: ascending by the clicked
// column becomes descending; anything else becomes ascending by the clicked
// column.
int sortValueAfterClick(int sortValue, int clickedColumn);

// Header arrow bitmaps: blank, ascending, descending.
constexpr int kArrowBlankBitmap = 409;
constexpr int kArrowUpBitmap = 411;
constexpr int kArrowDownBitmap = 412;

// The bitmap a column's header shows for the sort value.
int headerArrowBitmap(int sortValue, int column);

// A time of the run history as the list shows times: "09.12.2026 04:00:05",
// with AMPM "09.12.2026 04:00:05AM".
std::string historyTimeText(const LaunchTime& time, bool ampm);

// The line a row's tip gives its last result: "Last result: exit 3,
// 09.12.2026 04:00:05" (the time of the history line).
std::string lastResultTip(const RunEvent& last, bool ampm);

}  // namespace kzo
