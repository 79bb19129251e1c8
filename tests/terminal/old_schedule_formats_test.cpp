// Old schedule layouts: chosen by the file's size, and each field mapped into
// the task record.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "old_schedule_formats.h"

namespace kzo {
namespace {

TEST(OldLayoutChoice, BySizeTheLastMatchWins) {
    struct Case {
        std::uint64_t size;
        OldLayout layout;
    } const cases[] = {
        {413, OldLayout::A},        {826, OldLayout::A},   {422, OldLayout::B},  {844, OldLayout::B},
        {966, OldLayout::C},        {1708, OldLayout::D},  {100772, OldLayout::D},  // 244 x 413 = 59 x 1708
        {413 * 422, OldLayout::B},  {422 * 966, OldLayout::C},  {1709, OldLayout::None},
        {1709 * 3, OldLayout::None}, {0, OldLayout::None},  {412, OldLayout::None},
        {1708ull * 413 * 3000000, OldLayout::D},
    };
    for (const Case& c : cases) EXPECT_EQ(static_cast<int>(c.layout), static_cast<int>(oldLayoutForSize(c.size))) << c.size;
}

// An old record written field by field.
class OldRecord {
public:
    explicit OldRecord(OldLayout layout) : bytes_(oldRecordSize(layout), 0) {}
    OldRecord& byte(std::size_t at, int value) {
        bytes_.at(at) = static_cast<unsigned char>(value);
        return *this;
    }
    OldRecord& int32(std::size_t at, std::int32_t value) {
        for (int i = 0; i < 4; ++i) byte(at + i, static_cast<unsigned char>(static_cast<std::uint32_t>(value) >> (8 * i)));
        return *this;
    }
    OldRecord& text(std::size_t at, const std::string& value) {
        for (std::size_t i = 0; i < value.size(); ++i) byte(at + i, value[i]);
        return *this;
    }
    // The common start, offsets of layouts A, B and C.
    OldRecord& start() {
        return text(0, "Backup").text(65, "copy.exe").text(331, "01,15").byte(396, 1).byte(397, 2).byte(398, 31)
            .int32(399, 600).byte(403, 1);
    }
    // Nine stamp bytes: day 5, month 3, year 101, 9:07:30.
    OldRecord& stamp(std::size_t at) { return byte(at, 5).byte(at + 1, 3).int32(at + 2, 101).byte(at + 6, 9).byte(at + 7, 7).byte(at + 8, 30); }
    const unsigned char* data() const { return bytes_.data(); }

private:
    std::vector<unsigned char> bytes_;
};

// What the common start and the stamp convert to: the rest of the record 0.
TaskRecord convertedStart() {
    TaskRecord r;
    std::memset(&r, 0, sizeof r);
    setField(r.name, "Backup");
    setField(r.command, "copy.exe");
    setField(r.daysOfMonth, "01,15");
    r.active = 1;
    r.type = 2;
    r.weekdays = 31;
    r.time = 600;
    r.runLater = 1;
    r.lastDay = 5;
    r.lastMonth = 3;
    r.lastYear = 101;
    r.lastHour = 9;
    r.lastMinute = 7;
    r.lastSecond = 30;
    return r;
}

// The later layouts' fields in the old record, and as converted.
void addLaterFields(TaskRecord& r) {
    r.intervalStart = 480;
    r.intervalEnd = 1020;
    r.cycle = 1;
}
void addLaunchFields(TaskRecord& r) {
    r.runOnce = 1;
    r.runMinimized = 1;
    r.quitAfter = 30;
    r.killAfter = 60;
    setField(r.folder, "C:\\Work");
    setField(r.onError, "fail.exe");
}

std::size_t firstDifference(const TaskRecord& a, const TaskRecord& b) {
    const auto* x = reinterpret_cast<const unsigned char*>(&a);
    const auto* y = reinterpret_cast<const unsigned char*>(&b);
    std::size_t at = 0;
    while (at < sizeof a && x[at] == y[at]) ++at;
    return at;  // sizeof a when equal
}

TEST(OldRecordConversion, EachLayoutsFieldsByteForByte) {
    struct Case {
        OldLayout layout;
        int monthNumber;
        std::int32_t months;
    } const cases[] = {
        {OldLayout::A, 0, 0},  {OldLayout::B, 0, 0},   {OldLayout::C, 3, 4},    {OldLayout::C, 0, 0},
        {OldLayout::C, 127, 0}, {OldLayout::C, -128, 0}, {OldLayout::D, 12, 2048}, {OldLayout::D, 13, 0},
        {OldLayout::D, -5, 0},
    };
    for (const Case& c : cases) {
        OldRecord old(c.layout);
        TaskRecord expected = convertedStart();
        switch (c.layout) {
        case OldLayout::A:
            old.start().stamp(404);
            expected.intervalEnd = 1439;
            break;
        case OldLayout::B:
            old.start().int32(404, 480).int32(408, 1020).byte(412, 1).stamp(413);
            addLaterFields(expected);
            break;
        case OldLayout::C:
            old.start().int32(404, 480).int32(408, 1020).byte(412, 1).byte(413, c.monthNumber).byte(414, 1)
                .byte(415, 1).int32(416, 30).int32(420, 60).text(424, "C:\\Work").text(690, "fail.exe")
                .byte(956, 1).stamp(957);
            addLaterFields(expected);
            addLaunchFields(expected);
            break;
        default:
            old.text(0, "Backup").text(65, "copy.exe").text(577, "01,15").byte(642, 1).byte(643, 2)
                .byte(644, 31).int32(645, 600).byte(649, 1).int32(650, 480).int32(654, 1020).byte(658, 1)
                .int32(659, c.monthNumber).byte(663, 1).byte(664, 1).int32(665, 30).int32(669, 60)
                .text(673, "C:\\Work").text(1185, "fail.exe").byte(1697, 1).byte(1698, 1).stamp(1699);
            addLaterFields(expected);
            addLaunchFields(expected);
            break;
        }
        expected.months = c.months;
        TaskRecord converted = convertOldRecord(c.layout, old.data());
        EXPECT_EQ(sizeof converted, firstDifference(expected, converted))
            << "layout " << static_cast<int>(c.layout) << ", month number " << c.monthNumber;
    }
}

// An older executor read "L" as no day; converted, the record still runs on
// the days it ran on, never on the last day of the month.
TEST(OldRecordConversion, DaysOfMonthKeepTheirOldMeaning) {
    struct Case {
        const char* old;
        const char* converted;
    } const cases[] = {
        {"28,29,30,31", "28,29,30,31"}, {"L", ""}, {"05,L,15", "05,15"}, {"l;05", "05"}, {"05, L", "05"},
        {"L5,LL", "L5,LL"}, {"", ""},
    };
    for (const Case& c : cases) {
        OldRecord old(OldLayout::A);
        old.start().text(331, std::string(c.old) + std::string(65 - std::strlen(c.old), '\0'));
        EXPECT_STREQ(c.converted, convertOldRecord(OldLayout::A, old.data()).daysOfMonth) << c.old;
    }
}

// Texts that fill their old fields without a NUL end at the old width (or the
// new field's, when that is shorter) and are terminated.
TEST(OldRecordConversion, TextsWithoutTheirNulAreBounded) {
    for (OldLayout layout : {OldLayout::A, OldLayout::B, OldLayout::C, OldLayout::D}) {
        std::vector<unsigned char> old(oldRecordSize(layout), 'x');
        TaskRecord r = convertOldRecord(layout, old.data());
        const std::size_t command = layout == OldLayout::D ? 511 : 266;
        EXPECT_EQ(64u, std::strlen(r.name)) << static_cast<int>(layout);
        EXPECT_EQ(command, std::strlen(r.command)) << static_cast<int>(layout);
        EXPECT_EQ(64u, std::strlen(r.daysOfMonth)) << static_cast<int>(layout);
        if (layout == OldLayout::C || layout == OldLayout::D) {
            EXPECT_EQ(command, std::strlen(r.folder)) << static_cast<int>(layout);
            EXPECT_EQ(command, std::strlen(r.onError)) << static_cast<int>(layout);
        }
        EXPECT_EQ(0, r.edited);
        EXPECT_EQ(0, r.invert);
    }
    TaskRecord none = convertOldRecord(OldLayout::None, nullptr);
    EXPECT_EQ(std::string(sizeof none, '\0'), std::string(reinterpret_cast<const char*>(&none), sizeof none));
}

}  // namespace
}  // namespace kzo
