// The task list over any record bytes: every cell is written within the
// buffer it is given (guard bytes after it stay), always terminated, and is the
// start of the whole text, which itself is never cut; the row colours are
// entries of the table; and the comparison of every column and direction is a
// strict weak order, so that sorting the list is sound.
//
// Input: the options (1 byte), the buffer size (2), the names' choice (1),
// then up to four records of 1709 bytes (the last padded with zeros).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "task_cells.h"

namespace {

using namespace kzo;

constexpr std::size_t kGuard = 32;
constexpr char kGuardByte = '\xA5';

int sign(int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); }

void checkCells(const TaskRecord& record, const CellOptions& options, const TaskListNames& names,
                std::size_t size) {
    std::vector<char> buffer(size + kGuard, kGuardByte);
    for (int column = -1; column <= kColumnCount; ++column) {
        std::fill(buffer.begin(), buffer.end(), kGuardByte);
        std::size_t n = taskCellText(record, column, options, names, buffer.data(), size);
        for (std::size_t i = size; i < buffer.size(); ++i) FUZZ_CHECK(buffer[i] == kGuardByte);
        const std::string whole = taskCellText(record, column, options, names);
        FUZZ_CHECK(whole.size() < 1023);  // the string's own buffer never cuts it
        FUZZ_CHECK(whole.find('\0') == std::string::npos);
        if (size == 0) {
            FUZZ_CHECK(n == 0);
            continue;
        }
        FUZZ_CHECK(n < size && buffer[n] == '\0');
        FUZZ_CHECK(n == std::min(whole.size(), size - 1));
        FUZZ_CHECK(whole.compare(0, n, buffer.data(), n) == 0);
        if (column < 0 || column >= kColumnCount) FUZZ_CHECK(n == 0);
    }
}

// A strict weak order: irreflexive, antisymmetric, and transitive in both
// "before" and "neither before the other".
void checkOrder(const std::vector<TaskRecord>& records, int sortValue) {
    const std::size_t n = records.size();
    std::vector<int> c(n * n);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) c[i * n + j] = sign(compareTasksForSort(records[i], records[j], sortValue));
    for (std::size_t i = 0; i < n; ++i) {
        FUZZ_CHECK(c[i * n + i] == 0);
        for (std::size_t j = 0; j < n; ++j) {
            FUZZ_CHECK(c[i * n + j] == -c[j * n + i]);
            for (std::size_t k = 0; k < n; ++k) {
                if (c[i * n + j] < 0 && c[j * n + k] < 0) FUZZ_CHECK(c[i * n + k] < 0);
                if (c[i * n + j] == 0 && c[j * n + k] == 0) FUZZ_CHECK(c[i * n + k] == 0);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t flags = input.byte();
    CellOptions options;
    options.ampm = flags & 1;
    options.userSchedule = flags & 2;
    const std::size_t bufferSize = input.number<std::uint16_t>() % 1100;
    const std::uint8_t naming = input.byte();

    // The string table's names, or longer ones a translation may have.
    TaskListNames names;
    if (naming & 1) {
        for (std::size_t i = 0; i < names.days.size(); ++i) names.days[i] = std::string(1 + (naming >> 2) % 60, 'D');
        for (std::size_t i = 0; i < names.months.size(); ++i) names.months[i] = std::string(1 + (naming >> 1) % 60, 'M');
        for (std::string& prefix : names.typePrefixes) prefix = std::string(1 + naming % 64, 'P');
    }

    std::vector<TaskRecord> records;
    do records.push_back(input.record());
    while (input.left() > 0 && records.size() < 4);
    // Ties: a record again under another name, and again whole.
    TaskRecord renamed = records[0];
    setField(renamed.name, "renamed");
    records.push_back(renamed);
    records.push_back(records[0]);

    for (const TaskRecord& r : records) {
        checkCells(r, options, names, bufferSize);
        RowColorEntries colors = rowColorEntries(r);
        FUZZ_CHECK(colors.background >= 1 && colors.background <= 8);
        FUZZ_CHECK(colors.text == colors.background + 10);
    }
    for (int sortValue = -1; sortValue <= 2 * kColumnCount; ++sortValue) checkOrder(records, sortValue);

    // A stored sort value and a click: a valid value, the clicked column's.
    const int stored = static_cast<std::int8_t>(flags);
    const int valid = validSortValue(stored);
    FUZZ_CHECK(valid >= 0 && valid < 2 * kColumnCount);
    for (int column = -1; column <= kColumnCount; ++column) {
        int after = sortValueAfterClick(stored, column);
        FUZZ_CHECK(after == validSortValue(after));
        if (column >= 0 && column < kColumnCount) {
            FUZZ_CHECK(sortColumn(after) == column);
            // A second click on the column sorted ascending sorts it descending.
            FUZZ_CHECK(sortDescending(after) == (sortColumn(valid) == column && !sortDescending(valid)));
            FUZZ_CHECK(headerArrowBitmap(after, column) != kArrowBlankBitmap);
        }
    }
    return 0;
}
