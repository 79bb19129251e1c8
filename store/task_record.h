// The task record: one task of a schedule, the same 1709 bytes on disk, in a
// schedule store and in a launch request. No header, no version, no padding.
//
// Numbers are 32-bit little-endian two's complement (the native layout of every
// Windows target), text fields are NUL-terminated ANSI strings whose bytes after
// the NUL mean nothing, single-byte fields are signed. A record read from a file
// may hold anything: readers bound every text field by its width (fieldText).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kzo {

enum TaskType : int8_t {
    kTypeApplication = 0,
    kTypeDocument = 1,
    kTypeMessage = 2,
    kTypeShutdown = 3,
};

// Run-once byte.
enum RunOnce : int8_t {
    kRunOnceNo = 0,
    kRunOnceYes = 1,
    kRunOnceLaunched = 2,  // launched in this pass: left out of the executor's write-back
};

// Hour codes of the time field (time / 60) when the cycle flag is clear.
constexpr int32_t kHourEveryHour = 25;  // 1500 + m: every hour at minute m
constexpr int32_t kHourStartup = 26;    // 1560: at system startup or user logon
constexpr int32_t kTimeEveryHour = 1500;
constexpr int32_t kTimeStartup = 1560;
constexpr int32_t kLastMinuteOfDay = 1439;

#pragma pack(push, 1)
struct TaskRecord {
    char name[65];
    char command[512];
    char daysOfMonth[65];
    int8_t active;
    int8_t type;
    int8_t weekdays;        // bit 0 Monday .. bit 6 Sunday
    int32_t time;           // minutes after midnight, 1500 + m, 1560, or the cycle period
    int8_t runLater;
    int32_t intervalStart;  // minutes after midnight
    int32_t intervalEnd;
    int8_t cycle;
    int32_t months;         // bit 0 January .. bit 11 December; 0 = every month
    int8_t runOnce;
    int8_t runMinimized;
    int32_t quitAfter;      // seconds; 0 = never
    int32_t killAfter;      // seconds; 0 = never
    char folder[512];       // startup folder, or the target list of Message and Shut down tasks
    char onError[512];      // fallback command
    int8_t edited;
    int8_t interactive;
    int8_t invert;
    // The last-run stamp: always copied as one nine-byte block.
    int8_t lastDay;
    int8_t lastMonth;
    int32_t lastYear;       // year - 1900; 0 = never ran
    int8_t lastHour;
    int8_t lastMinute;
    int8_t lastSecond;
};
#pragma pack(pop)

constexpr std::size_t kRecordSize = 1709;
constexpr std::size_t kStampSize = 9;

static_assert(sizeof(TaskRecord) == kRecordSize, "the task record is 1709 bytes");
static_assert(offsetof(TaskRecord, name) == 0);
static_assert(offsetof(TaskRecord, command) == 65);
static_assert(offsetof(TaskRecord, daysOfMonth) == 577);
static_assert(offsetof(TaskRecord, active) == 642);
static_assert(offsetof(TaskRecord, type) == 643);
static_assert(offsetof(TaskRecord, weekdays) == 644);
static_assert(offsetof(TaskRecord, time) == 645);
static_assert(offsetof(TaskRecord, runLater) == 649);
static_assert(offsetof(TaskRecord, intervalStart) == 650);
static_assert(offsetof(TaskRecord, intervalEnd) == 654);
static_assert(offsetof(TaskRecord, cycle) == 658);
static_assert(offsetof(TaskRecord, months) == 659);
static_assert(offsetof(TaskRecord, runOnce) == 663);
static_assert(offsetof(TaskRecord, runMinimized) == 664);
static_assert(offsetof(TaskRecord, quitAfter) == 665);
static_assert(offsetof(TaskRecord, killAfter) == 669);
static_assert(offsetof(TaskRecord, folder) == 673);
static_assert(offsetof(TaskRecord, onError) == 1185);
static_assert(offsetof(TaskRecord, edited) == 1697);
static_assert(offsetof(TaskRecord, interactive) == 1698);
static_assert(offsetof(TaskRecord, invert) == 1699);
static_assert(offsetof(TaskRecord, lastDay) == 1700);
static_assert(offsetof(TaskRecord, lastMonth) == 1701);
static_assert(offsetof(TaskRecord, lastYear) == 1702);
static_assert(offsetof(TaskRecord, lastHour) == 1706);
static_assert(offsetof(TaskRecord, lastMinute) == 1707);
static_assert(offsetof(TaskRecord, lastSecond) == 1708);
static_assert(offsetof(TaskRecord, lastSecond) + 1 - offsetof(TaskRecord, lastDay) == kStampSize);

// A new task as the Terminal creates it: all bytes 0, then name "Task N"
// (N = number of tasks + 1), active, run later, the full-day interval, edited,
// last run 1 January 1900 00:00:00 (never).
TaskRecord newTaskRecord(int taskNumber);

// Length of a text field, never reading past its width (a hand-edited file may
// hold a field without its NUL).
template <std::size_t N>
std::size_t fieldLength(const char (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != '\0') ++n;
    return n;
}

template <std::size_t N>
std::string fieldText(const char (&field)[N]) {
    return std::string(field, fieldLength(field));
}

// Copies text into a field, cutting it to width - 1 and NUL-terminating it.
template <std::size_t N>
void setField(char (&field)[N], const std::string& text) {
    std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    text.copy(field, n);
    field[n] = '\0';
}

// The nine-byte last-run stamp.
void copyStamp(TaskRecord& to, const TaskRecord& from);

// The record's name with blanks trimmed at both ends, as used for finding it.
std::string trimmedName(const TaskRecord& record);

}  // namespace kzo
