#include "task_cells.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "hour_format.h"

namespace kzo {

namespace {

// Appends into a caller's buffer, cutting what does not fit; the buffer is
// terminated after every append.
class CellWriter {
public:
    CellWriter(char* out, std::size_t size) : out_(out), size_(size) {
        if (size_ > 0) out_[0] = '\0';
    }

    void append(std::string_view text) {
        if (size_ == 0) return;
        std::size_t room = size_ - 1 - length_;
        std::size_t n = text.size() < room ? text.size() : room;
        std::memcpy(out_ + length_, text.data(), n);
        length_ += n;
        out_[length_] = '\0';
    }

    std::size_t length() const { return length_; }

private:
    char* out_;
    std::size_t size_;
    std::size_t length_ = 0;
};

template <std::size_t N>
std::string_view fieldView(const char (&field)[N]) {
    return std::string_view(field, fieldLength(field));
}

// The zero-padding of the list's clock texts: blanks of the "%2d" fields.
void blanksToZeros(char* text) {
    for (; *text; ++text)
        if (*text == ' ') *text = '0';
}

bool isCycle(const TaskRecord& r) { return r.cycle != 0; }

// An hour as shown: on the 12-hour clock with AMPM, with its half.
struct ShownHour {
    int hour;
    const char* half;
};

ShownHour shownHour(int hour, bool ampm) {
    if (!ampm) return {hour, ""};
    TwelveHour t = toTwelveHour(hour);
    return {t.hour, t.pm ? "PM" : "AM"};
}

void writeDate(const TaskRecord& r, const TaskListNames& names, CellWriter& w) {
    for (int bit = 0; bit < 7; ++bit)
        if (r.weekdays & (1 << bit)) w.append(names.days[bit]);
    w.append(", ");
    w.append(fieldView(r.daysOfMonth));
}

void writeMonth(const TaskRecord& r, const TaskListNames& names, CellWriter& w) {
    if (r.months == 0 || r.months == 4095) {
        w.append("EVERY");
        return;
    }
    for (int bit = 0; bit < 12; ++bit) {
        if (static_cast<std::uint32_t>(r.months) & (1u << bit)) {
            w.append(names.months[bit]);
            w.append(" ");
        }
    }
}

void writeTime(const TaskRecord& r, const CellOptions& o, CellWriter& w) {
    const std::int32_t h = r.time / 60;
    const std::int32_t m = r.time % 60;
    const bool cycle = isCycle(r);
    if (h == kHourStartup && !cycle) {
        w.append(o.userSchedule ? "UserLogon" : "SysStartup");
        if (r.runLater) w.append("+");
        return;
    }
    char text[48];
    if (h == kHourEveryHour && !cycle) {
        std::snprintf(text, sizeof text, "**:%2d", static_cast<int>(m));
    } else {
        const bool clock = !cycle && o.ampm;
        ShownHour shown = shownHour(h, clock);
        std::snprintf(text, sizeof text, "%2d:%2d%s", shown.hour, static_cast<int>(m), shown.half);
    }
    blanksToZeros(text);
    w.append(text);
    if (r.runLater) w.append("+");
    if (cycle) w.append("!");
}

void writeInterval(const TaskRecord& r, const CellOptions& o, CellWriter& w) {
    ShownHour from = shownHour(r.intervalStart / 60, o.ampm);
    ShownHour to = shownHour(r.intervalEnd / 60, o.ampm);
    char text[64];
    std::snprintf(text, sizeof text, "%2d:%2d%s-%2d:%2d%s", from.hour,
                  static_cast<int>(r.intervalStart % 60), from.half, to.hour,
                  static_cast<int>(r.intervalEnd % 60), to.half);
    blanksToZeros(text);
    w.append(text);
    if (r.invert) w.append("!");
}

void writeCommand(const TaskRecord& r, const TaskListNames& names, CellWriter& w) {
    if (r.type >= kTypeDocument && r.type <= kTypeShutdown) w.append(names.typePrefixes[r.type - 1]);
    w.append(fieldView(r.command));
}

// The stored year below 80 (before 1980) means never run.
constexpr std::int32_t kFirstShownYear = 80;

void writeLastRun(const TaskRecord& r, const CellOptions& o, CellWriter& w) {
    if (r.lastYear < kFirstShownYear) return;
    ShownHour hour = shownHour(r.lastHour, o.ampm);
    char text[64];
    std::snprintf(text, sizeof text, "%02d.%02d.%04lld %02d:%02d%s", r.lastDay, r.lastMonth,
                  static_cast<long long>(r.lastYear) + 1900, hour.hour, r.lastMinute, hour.half);
    w.append(text);
}

}  // namespace

const TaskListNames& defaultTaskListNames() {
    static const TaskListNames names;
    return names;
}

std::size_t taskCellText(const TaskRecord& record, int column, const CellOptions& options,
                         const TaskListNames& names, char* out, std::size_t size) {
    CellWriter w(out, size);
    switch (column) {
    case kColumnTask: w.append(fieldView(record.name)); break;
    case kColumnDate: writeDate(record, names, w); break;
    case kColumnMonth: writeMonth(record, names, w); break;
    case kColumnTime: writeTime(record, options, w); break;
    case kColumnInterval: writeInterval(record, options, w); break;
    case kColumnCommand: writeCommand(record, names, w); break;
    case kColumnFolder: w.append(fieldView(record.folder)); break;
    case kColumnLastRun: writeLastRun(record, options, w); break;
    case kColumnLastResult:
        if (options.lastResult) w.append(resultText(*options.lastResult));
        break;
    default: break;
    }
    return w.length();
}

std::string taskCellText(const TaskRecord& record, int column, const CellOptions& options,
                         const TaskListNames& names) {
    // The longest cell: a prefix and a whole command field.
    char text[1024];
    std::size_t n = taskCellText(record, column, options, names, text, sizeof text);
    return std::string(text, n);
}

RowColorEntries rowColorEntries(const TaskRecord& record) {
    int type = record.type >= kTypeApplication && record.type <= kTypeShutdown ? record.type : 0;
    if (record.active) return {1 + type, 11 + type};
    return {5 + type, 15 + type};
}

RowColors rowColors(const TerminalSettings& settings, const TaskRecord& record, bool lastRunFailed) {
    if (lastRunFailed) return {settings.failedTextColor, settings.failedBkColor};
    RowColorEntries entries = rowColorEntries(record);
    return {settings.textColors[entries.text - kColorEntries], settings.bkColors[entries.background]};
}

namespace {

template <typename T>
int threeWay(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// Byte-wise (unsigned) comparison of two text fields, each ending at its NUL or
// at its width.
template <std::size_t N>
int compareText(const char (&a)[N], const char (&b)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

// Bit by bit from bit 0: at the first bit where the two differ, the one
// without it comes first.
int compareBits(std::uint32_t a, std::uint32_t b) {
    std::uint32_t differ = a ^ b;
    if (differ == 0) return 0;
    std::uint32_t lowest = differ & (~differ + 1);
    return (a & lowest) ? 1 : -1;
}

std::uint32_t sortedMonths(const TaskRecord& r) {
    return r.months == 0 ? 4095u : static_cast<std::uint32_t>(r.months);
}

// Cycle tasks before timed ones.
std::int64_t sortedTime(const TaskRecord& r) {
    return static_cast<std::int64_t>(r.time) + (isCycle(r) ? 0 : 2000);
}

std::int64_t intervalLength(const TaskRecord& r) {
    return static_cast<std::int64_t>(r.intervalEnd) - r.intervalStart;
}

int compareLastRun(const TaskRecord& a, const TaskRecord& b) {
    if (int c = threeWay(a.lastYear, b.lastYear)) return c;
    if (int c = threeWay(a.lastMonth, b.lastMonth)) return c;
    if (int c = threeWay(a.lastDay, b.lastDay)) return c;
    return threeWay(a.lastHour * 60 + a.lastMinute, b.lastHour * 60 + b.lastMinute);
}

}  // namespace

int compareLastResults(const RunEvent* a, const RunEvent* b) {
    if (!a || !b) return threeWay(a != nullptr, b != nullptr);
    if (int c = threeWay(isFailure(*a), isFailure(*b))) return c;
    if (int c = threeWay(static_cast<int>(a->outcome), static_cast<int>(b->outcome))) return c;
    if (int c = threeWay(a->hasCode, b->hasCode)) return c;
    if (int c = threeWay(a->code, b->code)) return c;
    const LaunchTime& x = a->time;
    const LaunchTime& y = b->time;
    const std::int32_t fields[][2] = {{x.year, y.year},     {x.month, y.month},   {x.day, y.day},
                                      {x.hour, y.hour},     {x.minute, y.minute}, {x.second, y.second}};
    for (const auto& f : fields)
        if (int c = threeWay(f[0], f[1])) return c;
    return 0;
}

int compareTasks(const TaskRecord& a, const TaskRecord& b, int column, const RunEvent* lastA,
                 const RunEvent* lastB) {
    switch (column) {
    case kColumnDate:
        // Bit 7 is no weekday: it is neither shown nor sorted by.
        if (int c = compareBits(static_cast<std::uint32_t>(a.weekdays) & 0x7F,
                                static_cast<std::uint32_t>(b.weekdays) & 0x7F))
            return c;
        return compareText(a.daysOfMonth, b.daysOfMonth);
    case kColumnMonth: return compareBits(sortedMonths(a), sortedMonths(b));
    case kColumnTime: return threeWay(sortedTime(a), sortedTime(b));
    case kColumnInterval: return threeWay(intervalLength(a), intervalLength(b));
    case kColumnCommand: return compareText(a.command, b.command);
    case kColumnFolder: return compareText(a.folder, b.folder);
    case kColumnLastRun: return compareLastRun(a, b);
    case kColumnLastResult: return compareLastResults(lastA, lastB);
    default: return compareText(a.name, b.name);
    }
}

namespace {

// The sort values of the first eight columns.
constexpr int kFirstSortColumns = 8;
constexpr int kLastResultAscending = 2 * kFirstSortColumns;

}  // namespace

int validSortValue(int sortValue) { return sortValue >= 0 && sortValue < kSortValues ? sortValue : 0; }

int sortColumn(int sortValue) {
    int v = validSortValue(sortValue);
    return v >= kLastResultAscending ? kColumnLastResult : v % kFirstSortColumns;
}

bool sortDescending(int sortValue) {
    int v = validSortValue(sortValue);
    return v >= kLastResultAscending ? v > kLastResultAscending : v >= kFirstSortColumns;
}

int sortValueOf(int column, bool descending) {
    if (column == kColumnLastResult) return kLastResultAscending + (descending ? 1 : 0);
    if (column < 0 || column >= kFirstSortColumns) column = 0;
    return column + (descending ? kFirstSortColumns : 0);
}

int compareTasksForSort(const TaskRecord& a, const TaskRecord& b, int sortValue, const RunEvent* lastA,
                        const RunEvent* lastB) {
    int c = compareTasks(a, b, sortColumn(sortValue), lastA, lastB);
    return sortDescending(sortValue) ? -c : c;
}

int sortValueAfterClick(int sortValue, int clickedColumn) {
    if (clickedColumn < 0 || clickedColumn >= kColumnCount) return validSortValue(sortValue);
    const bool ascendingByIt = sortColumn(sortValue) == clickedColumn && !sortDescending(sortValue);
    return sortValueOf(clickedColumn, ascendingByIt);
}

int headerArrowBitmap(int sortValue, int column) {
    if (column != sortColumn(sortValue)) return kArrowBlankBitmap;
    return sortDescending(sortValue) ? kArrowDownBitmap : kArrowUpBitmap;
}

std::string historyTimeText(const LaunchTime& t, bool ampm) {
    ShownHour hour = shownHour(t.hour, ampm);
    char text[80];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d%s", static_cast<int>(t.day),
                  static_cast<int>(t.month), static_cast<int>(t.year), hour.hour, static_cast<int>(t.minute),
                  static_cast<int>(t.second), hour.half);
    return text;
}

std::string lastResultTip(const RunEvent& last, bool ampm) {
    return "Last result: " + resultText(last) + ", " + historyTimeText(last.time, ampm);
}

}  // namespace kzo
