// The save's merge: the executor's stamps and edited marks in the file survive
// the Terminal's rewrite; what only the file holds does not.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "save_merge.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::record;

TaskRecord stamped(const std::string& name, int year, int day, int edited) {
    TaskRecord r = record(name);
    r.lastYear = year;
    r.lastDay = static_cast<int8_t>(day);
    r.lastHour = 12;
    r.edited = static_cast<int8_t>(edited);
    return r;
}

struct Expect {
    const char* name;
    int year, day, edited;
};

TEST(SaveMerge, StampsAndEditedMarksFromTheFile) {
    struct Case {
        const char* what;
        std::vector<TaskRecord> memory, file;
        std::vector<Expect> expected;
    };
    const std::vector<Case> cases = {
        {"the file's newer stamp is kept",
         {stamped("A", 100, 1, 0)}, {stamped("A", 124, 9, 0)}, {{"A", 124, 9, 0}}},
        {"an edited task keeps its mark 1",
         {stamped("A", 0, 1, 1)}, {stamped("A", 124, 9, 0)}, {{"A", 124, 9, 1}}},
        {"an unedited task takes the file's mark",
         {stamped("A", 0, 1, 0)}, {stamped("A", 0, 1, 1)}, {{"A", 0, 1, 1}}},
        {"a task only in memory stays as it is",
         {stamped("New", 0, 1, 1)}, {stamped("Old", 124, 9, 0)}, {{"New", 0, 1, 1}}},
        {"names compared trimmed on both sides",
         {stamped("  A ", 0, 1, 0)}, {stamped(" A  ", 124, 9, 1)}, {{"A", 124, 9, 1}}},
        {"names are case-sensitive",
         {stamped("a", 0, 1, 0)}, {stamped("A", 124, 9, 1)}, {{"a", 0, 1, 0}}},
        {"the file's first task of a name wins",
         {stamped("A", 0, 1, 0)}, {stamped("A", 110, 2, 0), stamped("A", 120, 3, 1)}, {{"A", 110, 2, 0}}},
        {"each task of memory found",
         {stamped("B", 0, 1, 0), stamped("A", 0, 1, 0)}, {stamped("A", 111, 5, 0), stamped("B", 122, 6, 0)},
         {{"B", 122, 6, 0}, {"A", 111, 5, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<TaskRecord> memory = c.memory;
        mergeSavedFile(memory.data(), memory.size(), c.file.data(), c.file.size());
        ASSERT_EQ(c.expected.size(), memory.size()) << c.what;
        for (std::size_t i = 0; i < memory.size(); ++i) {
            EXPECT_STREQ(c.expected[i].name, memory[i].name) << c.what;
            EXPECT_EQ(c.expected[i].year, memory[i].lastYear) << c.what;
            EXPECT_EQ(c.expected[i].day, memory[i].lastDay) << c.what;
            EXPECT_EQ(12, memory[i].lastHour) << c.what;
            EXPECT_EQ(c.expected[i].edited, memory[i].edited) << c.what;
        }
    }
}

TEST(SaveMerge, OnlyTheStampAndTheMarkChange) {
    TaskRecord mine = stamped("A", 0, 1, 0);
    setField(mine.command, "mine.exe");
    mine.time = 600;
    TaskRecord theirs = stamped("A", 124, 9, 1);
    setField(theirs.command, "theirs.exe");
    theirs.time = 700;
    theirs.lastSecond = 42;
    mergeSavedFile(&mine, 1, &theirs, 1);
    TaskRecord expected = stamped("A", 0, 1, 0);
    setField(expected.command, "mine.exe");
    expected.time = 600;
    copyStamp(expected, theirs);
    expected.edited = 1;
    EXPECT_EQ(0, std::memcmp(&expected, &mine, sizeof mine));
}

TEST(SaveMerge, TheTaskWhoseStampWasResetKeepsIt) {
    // Its schedule was just applied (year 0); the other task still takes the
    // executor's stamp.
    std::vector<TaskRecord> memory = {stamped("Edited", 0, 3, 1), stamped("Other", 120, 3, 0)};
    std::vector<TaskRecord> file = {stamped("Edited", 125, 9, 0), stamped("Other", 125, 9, 0)};
    mergeSavedFile(memory.data(), memory.size(), file.data(), file.size(), &memory[0]);
    EXPECT_EQ(0, memory[0].lastYear);
    EXPECT_EQ(3, memory[0].lastDay);
    EXPECT_EQ(1, memory[0].edited);
    EXPECT_EQ(125, memory[1].lastYear);
    EXPECT_EQ(9, memory[1].lastDay);
}

TEST(SaveMerge, NamesWithoutTheirNulAreBoundedAndKept) {
    TaskRecord full = stamped("", 0, 1, 0);
    std::memset(full.name, 'N', sizeof full.name);
    TaskRecord fileFull = full;
    fileFull.lastYear = 124;
    TaskRecord padded = stamped("", 0, 1, 0);
    std::memset(padded.name, ' ', sizeof padded.name);
    std::memcpy(padded.name + 10, "Padded", 6);
    TaskRecord filePadded = stamped("Padded", 123, 1, 0);

    std::vector<TaskRecord> memory = {full, padded};
    std::vector<TaskRecord> file = {filePadded, fileFull};
    mergeSavedFile(memory.data(), memory.size(), file.data(), file.size());
    EXPECT_EQ(0, std::memcmp(memory[0].name, full.name, sizeof full.name)) << "a name without blanks is untouched";
    EXPECT_EQ(124, memory[0].lastYear);
    EXPECT_STREQ("Padded", memory[1].name);
    EXPECT_EQ(123, memory[1].lastYear);
}

TEST(SaveMerge, OverStores) {
    ScheduleStore memory, file, empty;
    ASSERT_TRUE(memory.reserve(kRecordSize));
    ASSERT_TRUE(file.reserve(kRecordSize));
    memory.append(stamped(" A", 0, 1, 0));
    file.append(stamped("A", 124, 9, 1));
    mergeSavedFile(memory, empty);
    EXPECT_STREQ("A", memory.item(0).name);
    mergeSavedFile(memory, file);
    EXPECT_EQ(124, memory.item(0).lastYear);
    EXPECT_EQ(1, memory.item(0).edited);
    mergeSavedFile(empty, file);
}

}  // namespace
}  // namespace kzo
