// The record layouts of earlier versions' schedule files and their conversion
// into task records. Pure: no windows.h.
//
// A file of old records carries no header: its layout is known by its size
// alone. Old records are read as bytes and may hold anything; the conversion
// bounds every text and never reads past the old record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "task_record.h"

namespace kzo {

enum class OldLayout {
    None,
    A,  // 413 bytes: no interval, cycle or months
    B,  // 422 bytes: the activity interval and the cycle flag
    C,  // 966 bytes: a month number, run once, minimized, quit and kill, folder, on error
    D,  // 1708 bytes: today's record without invert, with a month number
};

// The record size of a layout (0 for None).
std::size_t oldRecordSize(OldLayout layout);

// The layout of a file of this size: the sizes 413, 422, 966 and 1708 are
// tested in that order and each one that divides the size replaces the earlier
// choice (100,772 bytes, a multiple of 413 and of 1708, is layout D). None for
// an empty file or a size no layout divides.
OldLayout oldLayoutForSize(std::uint64_t fileSize);

// The months mask of an old month number: 1..12 selects that month alone;
// 0 or less means every month (0). A number above 12 names no month; it is
// taken as every month (0) rather than as a bit beyond December, which no
// date would ever match.
std::int32_t monthsFromNumber(std::int32_t monthNumber);

// Converts one old record of the layout (oldRecordSize(layout) bytes at old)
// into a task record: all bytes 0, the texts copied up to their NUL or their
// old width and always terminated within the new field, the other fields
// copied by value, months from the month number, layout A's interval 0-1439.
// The edited mark, interactive and invert are 0. Layout None gives all zeros.
TaskRecord convertOldRecord(OldLayout layout, const unsigned char* old);

}  // namespace kzo
