// Conversions of real files: the result's message, the target's bytes, and a
// target that stays as it was whenever the conversion does not complete.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "schedule_conversion.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

using test::TempDir;

// Old records of layout B named Old 1, Old 2, ...
std::string layoutBFile(int records) {
    std::string bytes;
    for (int i = 1; i <= records; ++i) {
        std::string record(422, '\0');
        std::string name = "Old " + std::to_string(i);
        record.replace(0, name.size(), name);
        record[396] = 1;     // active
        record[399] = 0x58;  // time 600 = 0x258
        record[400] = 0x02;
        bytes += record;
    }
    return bytes;
}

std::vector<std::string> namesIn(const std::string& path) {
    std::vector<std::string> names;
    for (const TaskRecord& r : test::readSchedule(path)) names.push_back(fieldText(r.name));
    return names;
}

// A target that holds records of the current layout.
void writeGoodTarget(const std::string& path, int records) {
    std::vector<TaskRecord> tasks;
    for (int i = 1; i <= records; ++i) tasks.push_back(test::record("Good " + std::to_string(i)));
    test::writeSchedule(path, tasks);
}

int filesIn(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    int n = 0;
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return n;
}

const auto kYes = [] { return true; };

TEST(ScheduleConversion, TwoLayoutBRecordsBecomeTwoTaskRecords) {
    TempDir dir;
    test::writeFile(dir.file("old.dat"), layoutBFile(2));
    ASSERT_EQ(844, test::fileSize(dir.file("old.dat")));
    int asked = 0;
    ConversionResult result = convertScheduleFile("  " + dir.file("old.dat") + " ", " " + dir.file("new.jsf"), [&] {
        ++asked;
        return true;
    });
    EXPECT_EQ(ConversionStatus::Converted, result.status) << result.message << " " << result.systemError;
    EXPECT_EQ(OldLayout::B, result.layout);
    EXPECT_EQ(2u, result.records);
    EXPECT_EQ(dir.file("new.jsf"), result.target);
    EXPECT_EQ(0, asked) << "a missing target needs no question";
    EXPECT_EQ(3418, test::fileSize(dir.file("new.jsf")));
    std::vector<TaskRecord> tasks = test::readSchedule(dir.file("new.jsf"));
    ASSERT_EQ(2u, tasks.size());
    EXPECT_STREQ("Old 2", tasks[1].name);
    EXPECT_EQ(600, tasks[1].time);
    EXPECT_EQ(1, tasks[1].active);
    EXPECT_EQ(2, filesIn(dir.path())) << "no temporary file left";
}

// The target is longer, read-only and hidden; an empty target is replaced
// without a question.
TEST(ScheduleConversion, OverwritingALongerFileLeavesNoOldRecords) {
    TempDir dir;
    test::writeFile(dir.file("old.dat"), layoutBFile(2));
    writeGoodTarget(dir.file("new.jsf"), 5);
    SetFileAttributesA(dir.file("old.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(dir.file("new.jsf").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    int asked = 0;
    auto yes = [&] {
        ++asked;
        return true;
    };
    ConversionResult result = convertScheduleFile(dir.file("old.dat"), dir.file("new.jsf"), yes);
    EXPECT_EQ(ConversionStatus::Converted, result.status) << result.systemError;
    EXPECT_EQ(1, asked);
    EXPECT_EQ((std::vector<std::string>{"Old 1", "Old 2"}), namesIn(dir.file("new.jsf")));

    test::writeFile(dir.file("new.jsf"), "");
    EXPECT_EQ(ConversionStatus::Converted, convertScheduleFile(dir.file("old.dat"), dir.file("new.jsf"), yes).status);
    EXPECT_EQ(1, asked) << "asked about an empty target";
    EXPECT_EQ(3418, test::fileSize(dir.file("new.jsf")));
}

// Each case prepares the folder and expects the target of 3 good records to
// stay as it was.
TEST(ScheduleConversion, RefusalsLeaveTheTargetAsItWas) {
    struct Case {
        const char* what;
        std::string sourceBytes;  // written as old.dat unless empty and missing is set
        bool sourceMissing;
        bool answer;
        ConversionStatus status;
        unsigned message;
        std::uint32_t error;
    };
    const Case cases[] = {
        {"answered No", layoutBFile(2), false, false, ConversionStatus::Declined, 0, 0},
        {"empty source", "", false, true, ConversionStatus::Failed, kConvertSourceEmpty, 0},
        {"current format", test::scheduleBytes({test::record("A"), test::record("B"), test::record("C")}), false, true,
         ConversionStatus::Failed, kConvertSourceInvalid, 0},
        {"missing source", "", true, true, ConversionStatus::Failed, kConvertSourceOpen, ERROR_FILE_NOT_FOUND},
        {"no source name", "", true, true, ConversionStatus::Failed, kConvertNoNames, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        if (!c.sourceMissing) test::writeFile(dir.file("old.dat"), c.sourceBytes);
        writeGoodTarget(dir.file("new.jsf"), 3);
        const std::string before = test::readFile(dir.file("new.jsf"));
        const std::string source = c.message == kConvertNoNames ? "  " : dir.file("old.dat");
        ConversionResult result = convertScheduleFile(source, dir.file("new.jsf"), [&c] { return c.answer; });
        EXPECT_EQ(c.status, result.status) << c.what;
        EXPECT_EQ(c.message, result.message) << c.what;
        EXPECT_EQ(c.error, result.systemError) << c.what;
        EXPECT_EQ(before, test::readFile(dir.file("new.jsf"))) << c.what;
    }
}

TEST(ScheduleConversion, FilesInUseGiveTheirOpenMessages) {
    TempDir dir;
    test::writeFile(dir.file("old.dat"), layoutBFile(2));
    writeGoodTarget(dir.file("new.jsf"), 3);
    const std::string before = test::readFile(dir.file("new.jsf"));
    {
        // A scheduler reading the source.
        UniqueHandle reader(CreateFileA(dir.file("old.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        ConversionResult result = convertScheduleFile(dir.file("old.dat"), dir.file("new.jsf"), kYes);
        EXPECT_EQ(kConvertSourceOpen, result.message);
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION), result.systemError);
    }
    {
        // A scheduler reading the target.
        UniqueHandle reader(CreateFileA(dir.file("new.jsf").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        ConversionResult result = convertScheduleFile(dir.file("old.dat"), dir.file("new.jsf"), kYes);
        EXPECT_EQ(kConvertTargetOpen, result.message);
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION), result.systemError);
    }
    EXPECT_EQ(before, test::readFile(dir.file("new.jsf")));
    EXPECT_EQ(2, filesIn(dir.path()));
    // A folder that cannot take the converted file.
    ConversionResult result = convertScheduleFile(dir.file("old.dat"), dir.file("missing\\new.jsf"), kYes);
    EXPECT_EQ(kConvertTargetOpen, result.message);
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND), result.systemError);
}

// The source shrinks (from outside Windows' sharing rules) after the question,
// so that the second chunk of records cannot be read: the records written so
// far never reach the target.
TEST(ScheduleConversion, AFailureHalfWayLeavesTheOldTarget) {
    TempDir dir;
    test::writeFile(dir.file("old.dat"), layoutBFile(100));
    writeGoodTarget(dir.file("new.jsf"), 3);
    const std::string before = test::readFile(dir.file("new.jsf"));
    ConversionResult result = convertScheduleFile(dir.file("old.dat"), dir.file("new.jsf"), [&] {
        test::truncateFromOutside(dir.file("old.dat"), 80 * 422 + 100);
        return true;
    });
    EXPECT_EQ(ConversionStatus::Failed, result.status);
    EXPECT_EQ(kConvertSourceRead, result.message);
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_HANDLE_EOF), result.systemError);
    EXPECT_EQ(before, test::readFile(dir.file("new.jsf")));
    EXPECT_EQ(2, filesIn(dir.path())) << "no temporary file left";
}

TEST(ScheduleConversion, ASourceThatIsTheTargetIsConvertedInPlace) {
    TempDir dir;
    for (const std::string& spelling : {dir.file("old.jsf"), dir.path() + "\\.\\OLD.JSF"}) {
        test::writeFile(dir.file("old.jsf"), layoutBFile(2));
        int asked = 0;
        ConversionResult result = convertScheduleFile(dir.file("old.jsf"), spelling, [&] {
            ++asked;
            return true;
        });
        EXPECT_EQ(ConversionStatus::Converted, result.status) << spelling << " " << result.systemError;
        EXPECT_EQ(1, asked) << spelling;
        EXPECT_EQ((std::vector<std::string>{"Old 1", "Old 2"}), namesIn(dir.file("old.jsf"))) << spelling;
        EXPECT_EQ(1, filesIn(dir.path()));
    }
    test::writeFile(dir.file("old.jsf"), layoutBFile(2));
    ConversionResult declined = convertScheduleFile(dir.file("old.jsf"), dir.file("old.jsf"), [] { return false; });
    EXPECT_EQ(ConversionStatus::Declined, declined.status);
    EXPECT_EQ(844, test::fileSize(dir.file("old.jsf")));
}

}  // namespace
}  // namespace kzo
