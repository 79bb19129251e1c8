// The index of first records by name that merges and write-backs go through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "name_index.h"
#include "test_support.h"

namespace kzo {
namespace {

NameIndex indexOf(const std::vector<TaskRecord>& records) {
    NameIndex index;
    index.build(records.size(), [&](std::size_t i) -> const TaskRecord& { return records[i]; });
    return index;
}

TEST(NameIndex, FindsTheFirstRecordOfATrimmedName) {
    std::vector<TaskRecord> records = {test::record(" Clock"), test::record("Backup"), test::record("Clock  "),
                                       test::record("   "), test::record("")};
    NameIndex index = indexOf(records);
    EXPECT_EQ(0u, index.find("Clock")) << "the first of two, blanks around it or not";
    EXPECT_EQ(1u, index.find("Backup"));
    EXPECT_EQ(NameIndex::npos, index.find("clock")) << "case counts";
    EXPECT_EQ(NameIndex::npos, index.find("")) << "blanks only match nothing";
    EXPECT_EQ(NameIndex::npos, index.find("Missing"));
}

TEST(NameIndex, FindsEveryNameOfALargeScheduleAndRebuildsInPlace) {
    std::vector<TaskRecord> records;
    for (int i = 0; i < 5000; ++i) records.push_back(test::record("Task " + std::to_string(i)));
    NameIndex index = indexOf(records);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(static_cast<std::size_t>(i), index.find("Task " + std::to_string(i)));
    index.build(1, [&](std::size_t) -> const TaskRecord& { return records[4999]; });
    EXPECT_EQ(0u, index.find("Task 4999"));
    EXPECT_EQ(NameIndex::npos, index.find("Task 0")) << "nothing of the earlier build is left";
}

}  // namespace
}  // namespace kzo
