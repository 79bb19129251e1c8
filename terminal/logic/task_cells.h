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

#include "task_record.h"

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
    kColumnCount = 8,
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
};

// Writes the text of column 0-7 into out (size bytes), cut to fit and always
// NUL-terminated when size > 0; returns the length written. This is the form
// the list control's on-demand cell request wants (it hands over a buffer and
// its size), and it allocates nothing. Column 0 is the name; a column outside
// 0-7 gives an empty text.
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

// Ascending comparison of two tasks for a column (0-7), <0, 0 or >0. A column
// outside 0-7 compares as column 0. Ties give 0: a stable sort keeps such rows
// in store order. Any bytes give a strict weak order.
int compareTasks(const TaskRecord& a, const TaskRecord& b, int column);

// The sort value: 0-7 ascending by column 0-7, 8-15 descending by column
// value - 8. A stored value outside 0-15 counts as 0.
int validSortValue(int sortValue);
int sortColumn(int sortValue);
bool sortDescending(int sortValue);

// compareTasks for a sort value, negated when descending.
int compareTasksForSort(const TaskRecord& a, const TaskRecord& b, int sortValue);

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

}  // namespace kzo
