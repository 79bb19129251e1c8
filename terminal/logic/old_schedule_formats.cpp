#include "old_schedule_formats.h"

#include <cstring>

#include "days_of_month.h"

namespace kzo {

namespace {

constexpr std::size_t kSizeA = 413;
constexpr std::size_t kSizeB = 422;
constexpr std::size_t kSizeC = 966;
constexpr std::size_t kSizeD = 1708;

std::int32_t int32At(const unsigned char* old, std::size_t offset) {
    std::uint32_t value = static_cast<std::uint32_t>(old[offset]) |
                          static_cast<std::uint32_t>(old[offset + 1]) << 8 |
                          static_cast<std::uint32_t>(old[offset + 2]) << 16 |
                          static_cast<std::uint32_t>(old[offset + 3]) << 24;
    return static_cast<std::int32_t>(value);
}

std::int8_t byteAt(const unsigned char* old, std::size_t offset) {
    return static_cast<std::int8_t>(old[offset]);
}

// Copies the old text of width bytes up to its NUL into the new field, cut to
// the field's width - 1 and terminated.
template <std::size_t N>
void copyText(char (&field)[N], const unsigned char* old, std::size_t offset, std::size_t width) {
    std::size_t n = 0;
    while (n < width && n < N - 1 && old[offset + n] != 0) ++n;
    std::memcpy(field, old + offset, n);
    field[n] = '\0';
}

// The fields every layout starts with (offsets 0-403; layouts A, B and C have
// commands of 266 bytes, D of 512).
struct Offsets {
    std::size_t command, commandWidth, daysOfMonth, active;
};

void copyCommonStart(TaskRecord& r, const unsigned char* old, const Offsets& at) {
    copyText(r.name, old, 0, 65);
    copyText(r.command, old, at.command, at.commandWidth);
    copyText(r.daysOfMonth, old, at.daysOfMonth, 65);
    // An older executor read "L" as no day; this one reads it as the last day
    // of the month, so the converted record does without it.
    setField(r.daysOfMonth, withoutLastDayItems(fieldText(r.daysOfMonth)));
    r.active = byteAt(old, at.active);
    r.type = byteAt(old, at.active + 1);
    r.weekdays = byteAt(old, at.active + 2);
    r.time = int32At(old, at.active + 3);
    r.runLater = byteAt(old, at.active + 7);
}

void copyStampAt(TaskRecord& r, const unsigned char* old, std::size_t offset) {
    std::memcpy(&r.lastDay, old + offset, kStampSize);
}

constexpr Offsets kShortCommand{65, 266, 331, 396};

void convertA(TaskRecord& r, const unsigned char* old) {
    copyCommonStart(r, old, kShortCommand);
    r.intervalStart = 0;
    r.intervalEnd = kLastMinuteOfDay;
    copyStampAt(r, old, 404);
}

void copyIntervalAndCycle(TaskRecord& r, const unsigned char* old) {
    r.intervalStart = int32At(old, 404);
    r.intervalEnd = int32At(old, 408);
    r.cycle = byteAt(old, 412);
}

void convertB(TaskRecord& r, const unsigned char* old) {
    copyCommonStart(r, old, kShortCommand);
    copyIntervalAndCycle(r, old);
    copyStampAt(r, old, 413);
}

void convertC(TaskRecord& r, const unsigned char* old) {
    copyCommonStart(r, old, kShortCommand);
    copyIntervalAndCycle(r, old);
    r.months = monthsFromNumber(byteAt(old, 413));
    r.runOnce = byteAt(old, 414);
    r.runMinimized = byteAt(old, 415);
    r.quitAfter = int32At(old, 416);
    r.killAfter = int32At(old, 420);
    copyText(r.folder, old, 424, 266);
    copyText(r.onError, old, 690, 266);
    copyStampAt(r, old, 957);
}

void convertD(TaskRecord& r, const unsigned char* old) {
    copyCommonStart(r, old, Offsets{65, 512, 577, 642});
    r.intervalStart = int32At(old, 650);
    r.intervalEnd = int32At(old, 654);
    r.cycle = byteAt(old, 658);
    r.months = monthsFromNumber(int32At(old, 659));
    r.runOnce = byteAt(old, 663);
    r.runMinimized = byteAt(old, 664);
    r.quitAfter = int32At(old, 665);
    r.killAfter = int32At(old, 669);
    copyText(r.folder, old, 673, 512);
    copyText(r.onError, old, 1185, 512);
    copyStampAt(r, old, 1699);
}

}  // namespace

std::size_t oldRecordSize(OldLayout layout) {
    switch (layout) {
    case OldLayout::A: return kSizeA;
    case OldLayout::B: return kSizeB;
    case OldLayout::C: return kSizeC;
    case OldLayout::D: return kSizeD;
    default: return 0;
    }
}

OldLayout oldLayoutForSize(std::uint64_t fileSize) {
    OldLayout chosen = OldLayout::None;
    if (fileSize == 0) return chosen;
    for (OldLayout layout : {OldLayout::A, OldLayout::B, OldLayout::C, OldLayout::D})
        if (fileSize % oldRecordSize(layout) == 0) chosen = layout;
    return chosen;
}

std::int32_t monthsFromNumber(std::int32_t monthNumber) {
    if (monthNumber < 1 || monthNumber > 12) return 0;
    return static_cast<std::int32_t>(1u << (monthNumber - 1));
}

TaskRecord convertOldRecord(OldLayout layout, const unsigned char* old) {
    TaskRecord r;
    std::memset(&r, 0, sizeof r);
    switch (layout) {
    case OldLayout::A: convertA(r, old); break;
    case OldLayout::B: convertB(r, old); break;
    case OldLayout::C: convertC(r, old); break;
    case OldLayout::D: convertD(r, old); break;
    default: break;
    }
    return r;
}

}  // namespace kzo
