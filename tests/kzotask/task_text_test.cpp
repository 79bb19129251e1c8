// The text form of tasks: every field by name, texts quoted so that any byte
// comes back, and a reading that names the line of what it cannot read.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "random_tasks.h"
#include "task_text.h"
#include "test_support.h"

namespace kzo {
namespace {

TEST(TaskText, RandomTasksReadBackByteForByte) {
    std::mt19937 random(20261209);
    const std::vector<TaskRecord> tasks = test::randomTasks(random, 300);
    TaskFileRead read = readTaskFile(taskFile(tasks));
    ASSERT_EQ("", read.error) << "line " << read.errorLine;
    ASSERT_EQ(tasks.size(), read.blocks.size());
    for (std::size_t i = 0; i < tasks.size(); ++i)
        EXPECT_EQ(0, std::memcmp(&tasks[i], &read.blocks[i].record, kRecordSize)) << taskBlock(tasks[i]);
}

TEST(TaskText, ABlockReadsAsTheTerminalShowsTheTask) {
    TaskRecord r = test::record("Bob's \"backup\"");
    setField(r.command, "\"C:\\Program Files\\Backup\\backup.exe\" /all");
    setField(r.folder, "C:\\Caf\xE9");
    setField(r.onError, "cmd /c echo\tfailed");
    setField(r.daysOfMonth, "01,15");
    r.weekdays = 1 | 16;
    r.months = 1 | 4;
    r.time = 1515;
    r.runOnce = kRunOnceYes;
    r.intervalStart = 9 * 60;
    r.intervalEnd = 17 * 60 + 30;
    r.lastDay = 5, r.lastMonth = 3, r.lastYear = 101, r.lastHour = 9, r.lastMinute = 7, r.lastSecond = 2;
    EXPECT_EQ("[Task]\n"
              "Name = \"Bob's \\\"backup\\\"\"\n"
              "Type = Application\n"
              "Command = '\"C:\\Program Files\\Backup\\backup.exe\" /all'\n"
              "Folder = 'C:\\Caf\xE9'\n"
              "Active = 1\n"
              "RunOnce = 1\n"
              "Minimized = 0\n"
              "Interactive = 0\n"
              "QuitAfter = 0\n"
              "KillAfter = 0\n"
              "OnError = \"cmd /c echo\\tfailed\"\n"
              "Time = *:15\n"
              "Cycle = 0\n"
              "RunLater = 1\n"
              "Weekdays = Mo,Fr\n"
              "DaysOfMonth = '01,15'\n"
              "Months = Jan,Mar\n"
              "IntervalStart = 09:00\n"
              "IntervalEnd = 17:30\n"
              "Invert = 0\n"
              "Edited = 1\n"
              "LastRun = 05.03.2001 09:07:02\n",
              taskBlock(r));

    // Values no Terminal stores are written as their numbers, for the reading
    // (and the rules) to refuse.
    TaskRecord odd = test::record("Odd");
    odd.type = 9;
    odd.weekdays = static_cast<int8_t>(0x81);
    odd.months = 0x1001;
    odd.time = -5;
    odd.cycle = 1;
    std::string block = taskBlock(odd);
    EXPECT_NE(std::string::npos, block.find("Type = 9\n"));
    EXPECT_NE(std::string::npos, block.find("Weekdays = 129\n"));
    EXPECT_NE(std::string::npos, block.find("Months = 4097\n"));
    EXPECT_NE(std::string::npos, block.find("Time = -5\n"));
    EXPECT_NE(std::string::npos, block.find("LastRun = never\n"));
}

TEST(TaskText, KeysInAnyOrderAndCaseOverTheDefaultsOfANewTask) {
    TaskFileRead read = readTaskFile(
        "# hand-written\r\n[TASK]\r\n  weekdays=daily\r\nNAME  =  'Clock'  \r\ncommand = \"a\\\\b\\x41\"\r\n"
        "time = startup\r\nlastrun = 31.12.1999 23:59:58\r\n");
    ASSERT_EQ("", read.error);
    ASSERT_EQ(1u, read.blocks.size());
    const TaskBlock& block = read.blocks[0];
    TaskRecord expected = test::record("Clock");
    expected.weekdays = 127;
    expected.months = 4095;
    setField(expected.command, "a\\bA");
    expected.time = kTimeStartup;
    expected.lastDay = 31, expected.lastMonth = 12, expected.lastYear = 99;
    expected.lastHour = 23, expected.lastMinute = 59, expected.lastSecond = 58;
    std::memset(expected.name, 0, sizeof expected.name);  // nothing of "Task 1" behind the name
    setField(expected.name, "Clock");
    EXPECT_EQ(0, std::memcmp(&expected, &block.record, kRecordSize)) << taskBlock(block.record);
    EXPECT_EQ(2, block.line);
    EXPECT_EQ(4, block.lineOf("Name"));
    EXPECT_EQ(2, block.lineOf("Months"));
}

TEST(TaskText, WhatCannotBeReadNamesItsLine) {
    struct Case {
        const char* text;
        int line;
        const char* error;
    } const cases[] = {
        {"[Task]\nName = Backup\n", 2, "Name: a text in quotes ('...' or \"...\") is expected"},
        {"[Task]\nName = 'Backup\n", 2, "Name: the text has no closing '"},
        {"[Task]\nName = \"a\\qb\"\n", 2, "Name: unknown escape \\q"},
        {"[Task]\nName = \"a\\x4\"\n", 2, "Name: \\x needs two hexadecimal digits"},
        {"[Task]\nName = 'a' b\n", 2, "Name: nothing may follow the closing quote"},
        {"[Task]\nName = \"a\\x00b\"\n", 2, "Name: a text holds no \\x00"},
        {"[Task]\nName = '0123456789012345678901234567890123456789012345678901234567890123x'\n", 2,
         "Name: the text is longer than 64 characters"},
        {"[Task]\nName = 'a'\nTime = 7:60\n", 3, "Time: a time (HH:MM, *:MM for every hour, or startup) is expected"},
        {"[Task]\nName = 'a'\nWeekdays = Mo,Xx\n", 3,
         "Weekdays: days (Mo,Tu,We,Th,Fr,Sa,Su), daily, weekdays or none are expected"},
        {"[Task]\nName = 'a'\nWeekdays = 128\n", 3,
         "Weekdays: days (Mo,Tu,We,Th,Fr,Sa,Su), daily, weekdays or none are expected"},
        {"[Task]\nName = 'a'\nMonths = Ju\n", 3, "Months: months (Jan,Feb,...,Dec) or every are expected"},
        {"[Task]\nName = 'a'\nRunOnce = 3\n", 3, "RunOnce: 0 to 2 is expected"},
        {"[Task]\nName = 'a'\nKillAfter = 99999999999\n", 3, "KillAfter: a whole number is expected"},
        {"[Task]\nName = 'a'\nLastRun = 1.1.2001\n", 3,
         "LastRun: a date and time (DD.MM.YYYY HH:MM:SS) or never is expected"},
        {"[Task]\nName = 'a'\nName = 'b'\n", 3, "Name is given twice"},
        {"[Task]\nName = 'a'\nwhen\n", 3, "a line Key = value is expected"},
        {"[Task]\nName = 'a'\n[Tasks]\n", 3, "only [Task] blocks are known"},
        {"[Task]\nCommand = 'a'\n[Task]\nName = 'b'\n", 1, "the block has no Name"},
        {"[Task]\nName = 'a'\n\n[Task]\n", 4, "the block has no Name"},
    };
    for (const Case& c : cases) {
        TaskFileRead read = readTaskFile(c.text);
        EXPECT_EQ(c.line, read.errorLine) << c.text;
        EXPECT_EQ(c.error, read.error) << c.text;
    }
    EXPECT_EQ("", readTaskFile("; nothing but a comment\n\n").error);
}

TEST(TaskText, WordsOfTheOptions) {
    EXPECT_EQ(127, readWeekdays(" daily "));
    EXPECT_EQ(31, readWeekdays("Weekdays"));
    EXPECT_EQ(0, readWeekdays("none"));
    EXPECT_EQ(1 | 4 | 64, readWeekdays("mo, WED,sunday"));
    EXPECT_FALSE(readWeekdays("m"));       // one letter names no day
    EXPECT_FALSE(readWeekdays("Mo,,Tu"));  // an empty item
    EXPECT_EQ(0, readMonths("every"));
    EXPECT_EQ(32 | 64, readMonths("jun,July"));
    EXPECT_FALSE(readMonths("Ju"));
    EXPECT_EQ(kTypeMessage, readType("MSG"));
    EXPECT_EQ(kTypeShutdown, readType("Shutdown"));
    EXPECT_FALSE(readType("shut"));
}

}  // namespace
}  // namespace kzo
