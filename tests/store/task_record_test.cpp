#include <gtest/gtest.h>

#include <cstring>

#include "task_record.h"

namespace kzo {
namespace {

int32_t int32At(const TaskRecord& r, std::size_t offset) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&r) + offset;
    return static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
}

TEST(TaskRecord, NewTaskHasTheTerminalsDefaultsAtTheStoredOffsets) {
    TaskRecord r = newTaskRecord(3);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_STREQ("Task 3", r.name);
    EXPECT_EQ(1, b[642]) << "active";
    EXPECT_EQ(0, b[643]) << "type";
    EXPECT_EQ(0, int32At(r, 645)) << "time";
    EXPECT_EQ(1, b[649]) << "run later";
    EXPECT_EQ(0, int32At(r, 650)) << "interval start";
    EXPECT_EQ(1439, int32At(r, 654)) << "interval end";
    EXPECT_EQ(0, int32At(r, 659)) << "months";
    EXPECT_EQ(1, b[1697]) << "edited mark";
    EXPECT_EQ(1, b[1700]) << "last-run day";
    EXPECT_EQ(1, b[1701]) << "last-run month";
    EXPECT_EQ(0, int32At(r, 1702)) << "last-run year";
    // Everything else is zero.
    std::size_t nonZero = 0;
    for (std::size_t i = 0; i < kRecordSize; ++i) nonZero += b[i] != 0;
    EXPECT_EQ(std::strlen("Task 3") + 7, nonZero);  // 1439 takes two bytes
}

TEST(TaskRecord, TextFieldsAreReadWithinTheirWidthEvenWithoutNul) {
    TaskRecord r = newTaskRecord(1);
    std::memset(r.name, 'x', sizeof r.name);  // no NUL: a hand-edited file
    EXPECT_EQ(65u, fieldLength(r.name));
    EXPECT_EQ(std::string(65, 'x'), fieldText(r.name));

    setField(r.name, std::string(100, 'y'));
    EXPECT_EQ(64u, std::strlen(r.name)) << "cut to 64 characters and terminated";
}

TEST(TaskRecord, TrimmedNameDropsOnlyBlanks) {
    TaskRecord r = newTaskRecord(1);
    setField(r.name, "  Backup \t ");
    EXPECT_EQ("Backup \t", trimmedName(r));
}

TEST(TaskRecord, CopyStampCopiesTheNineStampBytesOnly) {
    TaskRecord from = newTaskRecord(1);
    from.lastDay = 7;
    from.lastMonth = 3;
    from.lastYear = 101;
    from.lastHour = 14;
    from.lastMinute = 5;
    from.lastSecond = 59;
    from.edited = 0;
    TaskRecord to = newTaskRecord(2);
    copyStamp(to, from);
    EXPECT_EQ(0, std::memcmp(&to.lastDay, &from.lastDay, kStampSize));
    EXPECT_STREQ("Task 2", to.name);
    EXPECT_EQ(1, to.edited);
}

}  // namespace
}  // namespace kzo
