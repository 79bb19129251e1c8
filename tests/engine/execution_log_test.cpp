// The execution log: its lines byte for byte, and the append on real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "execution_log.h"
#include "test_support.h"

namespace kzo {
namespace {

TaskRecord launched(const char* name, int type, const char* command, int year, int month, int day,
                    int hour, int minute) {
    TaskRecord r = test::record(name);
    r.type = static_cast<int8_t>(type);
    setField(r.command, command);
    r.lastYear = year - 1900;
    r.lastMonth = static_cast<int8_t>(month);
    r.lastDay = static_cast<int8_t>(day);
    r.lastHour = static_cast<int8_t>(hour);
    r.lastMinute = static_cast<int8_t>(minute);
    r.lastSecond = 1;
    return r;
}

// --- Lines -------------------------------------------------------------------

TEST(LogLine, EachTaskTypeHasItsPrefixBeforeTheQuotedCommand) {
    struct Case {
        int type;
        const char* command;
        const char* expected;
    } cases[] = {
        {kTypeApplication, "C:\\Tools\\backup.exe /all",
         "Executed \"Nightly\" : \"C:\\Tools\\backup.exe /all\" at 07.03.2001 09:05\r\n"},
        {kTypeDocument, "C:\\Docs\\report.txt",
         "Executed \"Nightly\" : DOC>\"C:\\Docs\\report.txt\" at 07.03.2001 09:05\r\n"},
        {kTypeMessage, "Time to go home",
         "Executed \"Nightly\" : MSG>\"Time to go home\" at 07.03.2001 09:05\r\n"},
        {kTypeShutdown, "", "Executed \"Nightly\" : SDN>\"\" at 07.03.2001 09:05\r\n"},
        {9, "x.exe", "Executed \"Nightly\" : \"x.exe\" at 07.03.2001 09:05\r\n"},
        // The command as stored: its macros are not expanded in the log.
        {kTypeApplication, "copy %KZO.DAY%.log",
         "Executed \"Nightly\" : \"copy %KZO.DAY%.log\" at 07.03.2001 09:05\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, formatLogLine(launched("Nightly", c.type, c.command, 2001, 3, 7, 9, 5),
                                            false))
            << "type " << c.type;
}

TEST(LogLine, HoursOnTheTwentyFourAndTheTwelveHourClock) {
    struct Case {
        int hour, minute;
        const char* clock24;
        const char* clock12;
    } cases[] = {
        {0, 0, "00:00", "12:00AM"},   {0, 7, "00:07", "12:07AM"},   {1, 0, "01:00", "01:00AM"},
        {11, 59, "11:59", "11:59AM"}, {12, 0, "12:00", "12:00PM"},  {12, 30, "12:30", "12:30PM"},
        {13, 5, "13:05", "01:05PM"},  {23, 59, "23:59", "11:59PM"},
    };
    for (const Case& c : cases) {
        TaskRecord r = launched("T", kTypeApplication, "a", 2010, 12, 31, c.hour, c.minute);
        EXPECT_EQ(std::string("Executed \"T\" : \"a\" at 31.12.2010 ") + c.clock24 + "\r\n",
                  formatLogLine(r, false));
        EXPECT_EQ(std::string("Executed \"T\" : \"a\" at 31.12.2010 ") + c.clock12 + "\r\n",
                  formatLogLine(r, true));
    }
}

TEST(LogLine, FieldsWithoutTheirTerminatingZeroAreBoundedByTheirWidth) {
    TaskRecord r = launched("", kTypeMessage, "", 2001, 1, 2, 3, 4);
    std::memset(r.name, 'n', sizeof r.name);
    std::memset(r.command, 'c', sizeof r.command);
    EXPECT_EQ("Executed \"" + std::string(65, 'n') + "\" : MSG>\"" + std::string(512, 'c') +
                  "\" at 02.01.2001 03:04\r\n",
              formatLogLine(r, false));
}

// --- Appending ---------------------------------------------------------------

const LaunchTime kPass = launchTimeAt(2001, 3, 7, 13, 5, 1);

const char kPassLines[] =
    "Executed \"first\" : \"a.exe\" at 07.03.2001 01:05PM\r\n"
    "Executed \"second\" : MSG>\"hello\" at 07.03.2001 01:05PM\r\n";

// A pass store as the loop holds it: records stamped in this pass and others;
// a log file in a scratch folder.
class AppendExecutionLog : public ::testing::Test {
protected:
    AppendExecutionLog() {
        EXPECT_TRUE(store.reserve(10 * kRecordSize));
        store.append(launched("first", kTypeApplication, "a.exe", 2001, 3, 7, 13, 5));
        store.append(launched("minute before", kTypeApplication, "b.exe", 2001, 3, 7, 13, 4));
        store.append(launched("hour before", kTypeApplication, "c.exe", 2001, 3, 7, 12, 5));
        store.append(launched("day before", kTypeApplication, "d.exe", 2001, 3, 6, 13, 5));
        store.append(launched("month before", kTypeApplication, "e.exe", 2001, 2, 7, 13, 5));
        store.append(launched("year before", kTypeApplication, "f.exe", 2000, 3, 7, 13, 5));
        store.append(launched("never", kTypeApplication, "g.exe", 1900, 1, 1, 0, 0));
        store.append(launched("second", kTypeMessage, "hello", 2001, 3, 7, 13, 5));
    }
    void append(const std::string& file, bool ampm = true) {
        appendExecutionLog(file.c_str(), store, kPass, ampm);
    }

    ScheduleStore store;
    test::TempDir dir;
    std::string path = dir.file("usr.log");
};

TEST_F(AppendExecutionLog, WritesTheRecordsOfThisPassInStoreOrder) {
    append(path);
    EXPECT_EQ(kPassLines, test::readFile(path));
}

TEST_F(AppendExecutionLog, AppendsBehindWhatTheLogHolds) {
    test::writeFile(path, "earlier line\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    append(path);
    append(path);
    EXPECT_EQ(std::string("earlier line\r\n") + kPassLines + kPassLines, test::readFile(path));
    EXPECT_EQ(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY)
        << "the attributes were set to normal";
}

TEST_F(AppendExecutionLog, AReaderShowingTheLogDoesNotStopTheAppend) {
    test::writeFile(path, "");
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    append(path);
    CloseHandle(reader);
    EXPECT_EQ(kPassLines, test::readFile(path));
}

TEST_F(AppendExecutionLog, ALogThatCannotBeOpenedIsSkipped) {
    // A folder in the log's place.
    append(dir.path(), false);
    // A missing folder on the way.
    std::string missing = dir.file("no\\such\\usr.log");
    append(missing, false);
    EXPECT_FALSE(test::fileExists(missing));
    // A file held exclusively by another writer.
    test::writeFile(path, "kept\r\n");
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    append(path, false);
    CloseHandle(holder);
    EXPECT_EQ("kept\r\n", test::readFile(path));
}

TEST_F(AppendExecutionLog, ExpandsTheEnvironmentInThePath) {
    char temp[MAX_PATH];
    ASSERT_NE(0u, GetEnvironmentVariableA("TEMP", temp, sizeof temp));
    std::string name = test::uniqueName("kzo-log-") + ".log";
    std::string expanded = std::string(temp) + "\\" + name;
    DeleteFileA(expanded.c_str());
    append("%TEMP%\\" + name, false);
    std::string written = test::readFile(expanded);
    DeleteFileA(expanded.c_str());
    EXPECT_EQ("Executed \"first\" : \"a.exe\" at 07.03.2001 13:05\r\n"
              "Executed \"second\" : MSG>\"hello\" at 07.03.2001 13:05\r\n",
              written);
}

}  // namespace
}  // namespace kzo
