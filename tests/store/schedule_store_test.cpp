// The schedule store on real files under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "schedule_store.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::record;
using test::TempDir;

class RejectNamed final : public RecordFilter {
public:
    explicit RejectNamed(const char* name) : name_(name) {}
    bool accept(TaskRecord& r) const override { return std::strcmp(r.name, name_) != 0; }

private:
    const char* name_;
};

std::vector<std::string> names(const ScheduleStore& store) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < store.count(); ++i) result.push_back(store.item(i).name);
    return result;
}

HANDLE openExclusive(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::vector<TaskRecord> threeTasks() { return {record("one"), record("two"), record("three")}; }

// A store on a schedule file in a scratch folder.
class StoreOnFile : public ::testing::Test {
protected:
    StoreOnFile() { store.setFileName(path.c_str()); }

    // Opens and reads the file the way a Terminal load does.
    int load(const RecordFilter& filter) {
        int opened = store.open(false);
        return opened == kStoreOk ? store.read(filter) : opened;
    }

    TempDir dir;
    std::string path = dir.file("s.jsf");
    ScheduleStore store;
};
class ScheduleStoreRead : public StoreOnFile {};
class ScheduleStoreRecords : public StoreOnFile {};
class ScheduleStoreWrite : public StoreOnFile {};
class ScheduleStoreOpen : public StoreOnFile {};

// --- Reading -----------------------------------------------------------------

TEST_F(ScheduleStoreRead, MissingFileIsCreatedAndReadsAsEmpty) {
    EXPECT_EQ(kStoreEmpty, load(UnchangedFilter()));
    EXPECT_TRUE(test::fileExists(path));
    EXPECT_EQ(0, test::fileSize(path));
    EXPECT_TRUE(store.isOpen()) << "an empty file stays open for the write that follows";
}

TEST_F(ScheduleStoreWrite, AnEmptyFileStaysHeldUntilItsWriterHasWritten) {
    ASSERT_EQ(kStoreOk, store.open(true));
    ASSERT_EQ(kStoreEmpty, store.read(UnchangedFilter()));
    HANDLE other = openExclusive(path);
    EXPECT_EQ(INVALID_HANDLE_VALUE, other) << "another writer came in between the read and the write";
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    ASSERT_TRUE(store.reserve(kRecordSize));
    store.append(record("only"));
    ASSERT_EQ(kStoreOk, store.write(false));
    store.close();
    EXPECT_EQ(test::scheduleBytes({record("only")}), test::readFile(path));
}

TEST_F(ScheduleStoreRead, SizeNotAMultipleOfTheRecordIsRefusedWhole) {
    test::writeFile(path, test::scheduleBytes(threeTasks()) + "x");
    EXPECT_EQ(kStoreBadSize, load(UnchangedFilter()));
    EXPECT_EQ(0u, store.count());
    EXPECT_FALSE(store.isOpen());
    HANDLE h = openExclusive(path);
    EXPECT_NE(INVALID_HANDLE_VALUE, h) << "the file was closed: " << GetLastError();
    CloseHandle(h);
}

TEST_F(ScheduleStoreRead, RecordsArriveInFileOrderThroughTheFilter) {
    std::vector<TaskRecord> records = threeTasks();
    for (TaskRecord& r : records) r.edited = 1;
    test::writeSchedule(path, records);

    ASSERT_EQ(kStoreOk, load(DisplayFilter()));
    EXPECT_TRUE(store.isOpen()) << "a successful read leaves the file open";
    EXPECT_EQ((std::vector<std::string>{"one", "two", "three"}), names(store));
    for (std::size_t i = 0; i < store.count(); ++i) EXPECT_EQ(0, store.item(i).edited);
    store.close();

    ASSERT_EQ(kStoreOk, load(UnchangedFilter()));
    EXPECT_EQ(1, store.item(0).edited);
    store.close();

    ASSERT_EQ(kStoreOk, load(RejectNamed("two")));
    EXPECT_EQ((std::vector<std::string>{"one", "three"}), names(store))
        << "each read empties the store first";
}

TEST_F(ScheduleStoreRead, ManyRecordsSurviveTheBulkReadAndFilterByteForByte) {
    std::vector<TaskRecord> records;
    for (int i = 0; i < 1000; ++i) {
        TaskRecord r = record("task " + std::to_string(i));
        r.time = i;
        r.lastSecond = static_cast<int8_t>(i % 60);
        records.push_back(r);
    }
    test::writeSchedule(path, records);

    ASSERT_EQ(kStoreOk, load(RejectNamed("task 500")));
    ASSERT_EQ(999u, store.count());
    EXPECT_EQ(1001u, store.capacity()) << "one slot beyond the file's records";
    for (std::size_t i = 0, j = 0; i < records.size(); ++i) {
        if (i == 500) continue;
        EXPECT_EQ(0, std::memcmp(&records[i], &store.item(j++), kRecordSize)) << "record " << i;
    }
}

// Cuts the file on its first call, after the first bulk read.
class CutAfterFirstRead final : public RecordFilter {
public:
    CutAfterFirstRead(std::string path, std::int64_t size) : path_(std::move(path)), size_(size) {}
    bool accept(TaskRecord&) const override {
        if (!cut_) test::truncateFromOutside(path_, size_);
        cut_ = true;
        return true;
    }

private:
    std::string path_;
    std::int64_t size_;
    mutable bool cut_ = false;
};

TEST_F(ScheduleStoreRead, ShortReadKeepsTheRecordsBeforeItAndIsAnError) {
    std::vector<TaskRecord> records;
    for (int i = 0; i < 600; ++i) records.push_back(record("t" + std::to_string(i)));
    test::writeSchedule(path, records);

    // Cut inside record 300, far behind the first bulk read.
    int result = load(CutAfterFirstRead(path, 300 * kRecordSize + 100));
    EXPECT_GT(result, 0) << "a system error code, not success";
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(300u, store.count()) << "every whole record before the cut";
    for (std::size_t i = 0; i < store.count(); ++i)
        EXPECT_EQ("t" + std::to_string(i), store.item(i).name);
}

// --- Capacity, append, find, remove --------------------------------------------

TEST_F(ScheduleStoreRecords, AfterALoadExactlyOneAppendSucceeds) {
    test::writeSchedule(path, threeTasks());
    ASSERT_EQ(kStoreOk, load(UnchangedFilter()));
    EXPECT_EQ(0, store.append(record("four")));
    EXPECT_EQ(-1, store.append(record("five")));
    EXPECT_EQ(4u, store.count());
    EXPECT_EQ(nullptr, store.find("five"));
}

TEST_F(ScheduleStoreRecords, ReserveKeepsEnoughCapacityAndFailsCleanlyWithoutMemory) {
    ASSERT_TRUE(store.reserve(2 * kRecordSize));
    EXPECT_EQ(3u, store.capacity());
    ASSERT_EQ(0, store.append(record("a")));
    EXPECT_TRUE(store.reserve(kRecordSize)) << "capacity already enough";
    EXPECT_EQ(1u, store.count()) << "records kept when nothing changes";

    EXPECT_FALSE(store.reserve(UINT64_MAX - 1));
    EXPECT_EQ(0u, store.capacity());
    EXPECT_EQ(0u, store.count());
    EXPECT_EQ(-1, store.append(record("b")));
}

// Names come with blanks around them from hand edits and converted old files:
// the search compares both sides without them, and the records keep theirs.
TEST_F(ScheduleStoreRecords, FindComparesNamesWithoutOuterBlanksCaseSensitively) {
    const std::vector<TaskRecord> records = {record("one"), record(" two"), record("three  "),
                                             record("   "), record("t w o"), record("two")};
    ASSERT_TRUE(store.reserve(records.size() * kRecordSize));
    for (const TaskRecord& r : records) store.append(r);
    struct Case {
        const char* name;
        int index;  // -1: none
    };
    const Case cases[] = {
        {"one", 0},   {" one  ", 0},  {"two", 1},  {"  two", 1},   {"two ", 1},
        {"three", 2}, {"three  ", 2}, {"t w o", 4}, {"Two", -1},   {"tw", -1},
        {"tw o", -1}, {"", -1},       {" ", -1},   {"   ", -1},   {"\ttwo", -1},
    };
    for (const Case& c : cases) {
        TaskRecord* found = store.find(c.name);
        EXPECT_EQ(c.index < 0 ? nullptr : &store.item(static_cast<std::size_t>(c.index)), found)
            << "'" << c.name << "'";
    }
    EXPECT_STREQ(" two", store.item(1).name) << "the stored name keeps its blanks";
}

TEST_F(ScheduleStoreRecords, RemovingMovesTheLastRecordIntoPlace) {
    ASSERT_TRUE(store.reserve(3 * kRecordSize));
    for (const TaskRecord& r : threeTasks()) store.append(r);
    EXPECT_EQ(0, store.remove("one"));
    EXPECT_EQ((std::vector<std::string>{"three", "two"}), names(store));
    EXPECT_EQ(-1, store.remove("one"));
    EXPECT_EQ(0, store.remove("two"));
    EXPECT_EQ(0, store.remove("three"));
    EXPECT_EQ(0u, store.count());
}

TEST_F(ScheduleStoreRecords, RemoveFindsTheNameAsFindDoes) {
    ASSERT_TRUE(store.reserve(3 * kRecordSize));
    for (const char* name : {"Clock ", "  ", " Alarm"}) store.append(record(name));
    EXPECT_EQ(-1, store.remove(" ")) << "a name of blanks only matches nothing";
    EXPECT_EQ(0, store.remove("Alarm"));
    EXPECT_EQ(0, store.remove(" Clock"));
    EXPECT_EQ((std::vector<std::string>{"  "}), names(store));
}

// --- Writing -----------------------------------------------------------------

TEST_F(ScheduleStoreWrite, ExecutorWriteLeavesOutLaunchedRunOnceRecordsAndTruncates) {
    std::vector<TaskRecord> records = threeTasks();
    records.push_back(record("four"));
    records.push_back(record("five"));
    test::writeSchedule(path, records);

    ASSERT_EQ(kStoreOk, store.open(true));
    ASSERT_EQ(kStoreOk, store.read(UnchangedFilter()));
    store.item(0).runOnce = kRunOnceLaunched;
    store.item(2).runOnce = kRunOnceLaunched;
    store.item(3).runOnce = kRunOnceYes;
    ASSERT_EQ(kStoreOk, store.write(true));
    EXPECT_TRUE(store.isOpen());
    store.close();

    std::vector<TaskRecord> written = test::readSchedule(path);
    ASSERT_EQ(3 * static_cast<std::int64_t>(kRecordSize), test::fileSize(path));
    EXPECT_STREQ("two", written[0].name);
    EXPECT_STREQ("four", written[1].name);
    EXPECT_EQ(kRunOnceYes, written[1].runOnce);
    EXPECT_STREQ("five", written[2].name);
}

TEST_F(ScheduleStoreWrite, TerminalWriteKeepsEveryRecordByteForByte) {
    std::vector<TaskRecord> records = threeTasks();
    records[1].runOnce = kRunOnceLaunched;
    records[2].killAfter = 12345;

    ASSERT_EQ(kStoreOk, store.open(true));
    ASSERT_EQ(kStoreEmpty, store.read(UnchangedFilter()));
    ASSERT_TRUE(store.reserve(3 * kRecordSize));
    for (const TaskRecord& r : records) store.append(r);
    ASSERT_EQ(kStoreOk, store.write(false));
    store.close();
    EXPECT_EQ(test::scheduleBytes(records), test::readFile(path));
}

TEST_F(ScheduleStoreWrite, WritingNothingEmptiesTheFile) {
    std::vector<TaskRecord> records = {record("only")};
    records[0].runOnce = kRunOnceLaunched;
    test::writeSchedule(path, records);
    ASSERT_EQ(kStoreOk, store.open(true));
    ASSERT_EQ(kStoreOk, store.read(UnchangedFilter()));
    ASSERT_EQ(kStoreOk, store.write(true));
    store.close();
    EXPECT_EQ(0, test::fileSize(path));
}

TEST_F(ScheduleStoreWrite, WriteThroughAReadOnlyHandleFailsAndCloses) {
    test::writeSchedule(path, threeTasks());
    ASSERT_EQ(kStoreOk, load(UnchangedFilter()));
    EXPECT_GT(store.write(false), 0);
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(test::scheduleBytes(threeTasks()), test::readFile(path)) << "file untouched";
}

// --- Opening and attributes ---------------------------------------------------

TEST_F(ScheduleStoreOpen, ReadOnlyFileIsMadeWritableAndCloseResetsAttributes) {
    test::writeSchedule(path, threeTasks());
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    ASSERT_EQ(kStoreOk, store.open(true));
    EXPECT_EQ(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    store.close();
    EXPECT_EQ(0u, GetFileAttributesA(path.c_str()) &
                      (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

TEST_F(ScheduleStoreOpen, ReadersShareButExcludeWriters) {
    test::writeSchedule(path, threeTasks());
    ScheduleStore second;
    second.setFileName(path.c_str());
    ASSERT_EQ(kStoreOk, store.open(false));
    EXPECT_EQ(kStoreOk, second.open(false));
    EXPECT_EQ(INVALID_HANDLE_VALUE, openExclusive(path));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
}

TEST_F(ScheduleStoreOpen, ExclusiveHolderMakesOpenRetryAboutTwoSecondsThenFailWith32) {
    test::writeSchedule(path, threeTasks());
    HANDLE holder = openExclusive(path);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);

    std::uint64_t start = test::nowMs();
    int result = store.open(false);
    std::uint64_t elapsed = test::nowMs() - start;
    CloseHandle(holder);

    EXPECT_EQ(ERROR_SHARING_VIOLATION, result);
    EXPECT_GE(elapsed, 1900u) << "two pauses of 1000 ms";
    EXPECT_LT(elapsed, 4000u);
}

TEST_F(ScheduleStoreOpen, RetriesSucceedOnceAnotherThreadReleasesTheFile) {
    test::writeSchedule(path, threeTasks());
    HANDLE holder = openExclusive(path);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    std::thread release([holder] {
        Sleep(300);
        CloseHandle(holder);
    });

    std::uint64_t start = test::nowMs();
    int result = store.open(true);
    std::uint64_t elapsed = test::nowMs() - start;
    release.join();

    EXPECT_EQ(kStoreOk, result);
    EXPECT_GE(elapsed, 900u) << "the first pause of 1000 ms came after the third attempt";
    EXPECT_LT(elapsed, 1900u) << "no second pause";
}

TEST_F(ScheduleStoreOpen, FileNameExpandsEnvironmentReferences) {
    SetEnvironmentVariableA("KZO_TEST_FOLDER", "C:\\schedules");
    store.setFileName("%KZO_TEST_FOLDER%\\user.jsf");
    EXPECT_STREQ("C:\\schedules\\user.jsf", store.fileName());
    store.setFileName("%KZO_NO_SUCH_VARIABLE%\\user.jsf");
    EXPECT_STREQ("%KZO_NO_SUCH_VARIABLE%\\user.jsf", store.fileName());
}

}  // namespace
}  // namespace kzo
