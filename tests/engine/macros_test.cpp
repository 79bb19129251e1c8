// Command macros, byte for byte: what a user writes into a command and what the
// launch receives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "macros.h"

namespace kzo {
namespace {

// 2001-03-04 is a Sunday, 2001-03-05 a Monday, 2001-03-07 a Wednesday.
const LaunchTime kWednesday = launchTimeAt(2001, 3, 7, 9, 5, 42);

std::string expanded(const std::string& text, const LaunchTime& time) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    char* result = expandMacros(buffer.data(), time);
    EXPECT_EQ(buffer.data(), result) << "returns its argument";
    return result;
}

struct MacroCase {
    const char* text;
    LaunchTime time;
    const char* expected;
};

TEST(ExpandMacros, ReplacesEachMacroByTheLaunchTimesValue) {
    const MacroCase cases[] = {
        {"C:\\Logs\\%KZO.YEAR%-%KZO.MONTH%-%KZO.DAY%.log", kWednesday, "C:\\Logs\\2001-03-07.log"},
        {"%KZO.HOUR%h%KZO.MINUTE%", kWednesday, "09h05"},
        {"%KZO.YEAR2%", launchTimeAt(2001, 1, 1, 0, 0), "01"},
        {"%KZO.YEAR2%", launchTimeAt(2010, 1, 1, 0, 0), "10"},
        {"%KZO.YEAR%", launchTimeAt(999, 1, 1, 0, 0), "0999"},
        {"%KZO.WEEKDAY%", launchTimeAt(2001, 3, 4, 0, 0), "0"},
        {"%KZO.WEEKDAY2%", launchTimeAt(2001, 3, 4, 0, 0), "SU"},
        {"%KZO.WEEKDAY%", launchTimeAt(2001, 3, 5, 0, 0), "1"},
        {"%KZO.WEEKDAY2%", launchTimeAt(2001, 3, 5, 0, 0), "MO"},
        {"%KZO.WEEKDAY%", launchTimeAt(2001, 3, 10, 0, 0), "6"},
        {"%KZO.MONTH3%", launchTimeAt(2001, 12, 24, 0, 0), "DEC"},
        {"%KZO.MONTH3%", launchTimeAt(2001, 1, 24, 0, 0), "JAN"},
        {"%KZO.HOUR%:%KZO.MINUTE%", launchTimeAt(2001, 1, 1, 23, 59), "23:59"},
    };
    for (const MacroCase& c : cases) EXPECT_EQ(c.expected, expanded(c.text, c.time)) << c.text;
}

TEST(ExpandMacros, MatchesNamesInAnyCaseAndKeepsTheCaseOfTheRest) {
    const MacroCase cases[] = {
        {"%Kzo.Hour%", kWednesday, "09"},
        {"%kzo.year%", kWednesday, "2001"},
        {"Backup of %kzo.Day%.%Kzo.MONTH3% in c:\\Data\\MixedCase.txt", kWednesday,
         "Backup of 07.MAR in c:\\Data\\MixedCase.txt"},
    };
    for (const MacroCase& c : cases) EXPECT_EQ(c.expected, expanded(c.text, c.time)) << c.text;
}

TEST(ExpandMacros, LeavesUnknownAndUnterminatedMacrosAsText) {
    const MacroCase cases[] = {
        {"", kWednesday, ""},
        {"%", kWednesday, "%"},
        {"%KZO.YEAR", kWednesday, "%KZO.YEAR"},
        {"%KZO.SECOND%", kWednesday, "%KZO.SECOND%"},
        {"%KZO.YEAR %", kWednesday, "%KZO.YEAR %"},
        {"%WINDIR%\\notepad.exe", kWednesday, "%WINDIR%\\notepad.exe"},
        {"50% done", kWednesday, "50% done"},
        {"KZO.DAY%", kWednesday, "KZO.DAY%"},
    };
    for (const MacroCase& c : cases) EXPECT_EQ(c.expected, expanded(c.text, c.time)) << c.text;
}

TEST(ExpandMacros, ScanningResumesRightAfterTheInsertedValue) {
    const MacroCase cases[] = {
        // The first '%' starts no name and is kept; the second starts the day.
        {"100%%KZO.DAY%", kWednesday, "100%07"},
        {"%%KZO.DAY%%", kWednesday, "%07%"},
        // Adjacent macros both expand; the closing '%' of one is not the start of the next.
        {"%KZO.DAY%%KZO.MONTH%%KZO.YEAR%", kWednesday, "07032001"},
        {"%KZO.DAY%KZO.MONTH%", kWednesday, "07KZO.MONTH%"},
        // A macro at the very end of the text.
        {"file-%KZO.MINUTE%", kWednesday, "file-05"},
        {"%KZO.WEEKDAY2%", kWednesday, "WE"},
        // One character short of a name at the end.
        {"file-%KZO.MINUTE", kWednesday, "file-%KZO.MINUTE"},
    };
    for (const MacroCase& c : cases) EXPECT_EQ(c.expected, expanded(c.text, c.time)) << c.text;
}

TEST(ExpandMacros, ExpandsEveryMacroOfAFullLengthText) {
    // 113 day macros and the start of another fill 1023 characters.
    std::string text, expected;
    for (int k = 0; k < 113; ++k) {
        text += "%KZO.DAY%";
        expected += "07";
    }
    text += "%KZO.Y";
    expected += "%KZO.Y";
    ASSERT_EQ(1023u, text.size());
    EXPECT_EQ(expected, expanded(text, kWednesday));

    std::string endsInMacro = std::string(1014, 'a') + "%KZO.DAY%";
    ASSERT_EQ(1023u, endsInMacro.size());
    EXPECT_EQ(std::string(1014, 'a') + "07", expanded(endsInMacro, kWednesday));

    std::string allNames;
    for (int k = 0; k < 10; ++k)
        allNames += "%KZO.YEAR%%KZO.MONTH%%KZO.DAY%%KZO.HOUR%%KZO.MINUTE%%KZO.YEAR2%"
                    "%KZO.WEEKDAY2%%KZO.WEEKDAY%%KZO.MONTH3%";
    std::string allValues;
    for (int k = 0; k < 10; ++k) allValues += "200103070905" "01WE3MAR";
    ASSERT_LE(allNames.size(), 1023u);
    EXPECT_EQ(allValues, expanded(allNames, kWednesday));
}

TEST(ExpandMacros, ExaminesOnlyTheFirst1023CharactersOfALongerText) {
    // A macro that crosses character 1023 is not seen; the tail is kept.
    std::string crossing = std::string(1020, 'a') + "%KZO.DAY%" + "tail";
    EXPECT_EQ(crossing, expanded(crossing, kWednesday));

    std::string shrinking = "%KZO.DAY%" + std::string(1100, 'z') + "%KZO.DAY%";
    EXPECT_EQ("07" + std::string(1100, 'z') + "%KZO.DAY%", expanded(shrinking, kWednesday));
}

TEST(ExpandMacros, NeverGrowsTheTextWhateverTheLaunchTime) {
    // No clock gives these values; the text must still stay within its buffer.
    LaunchTime odd{};
    odd.year = -2147483647 - 1;
    odd.month = 99;
    odd.day = -2147483647 - 1;
    odd.hour = -5;
    odd.weekday = 0;
    EXPECT_EQ("%KZO.DAY%", expanded("%KZO.DAY%", odd));
    EXPECT_EQ("%KZO.YEAR%", expanded("%KZO.YEAR%", odd));
    EXPECT_EQ("-05", expanded("%KZO.HOUR%", odd));
    EXPECT_EQ("---", expanded("%KZO.MONTH3%", odd));
    EXPECT_EQ("--", expanded("%KZO.WEEKDAY2%", odd));
    EXPECT_EQ("0", expanded("%KZO.WEEKDAY%", odd));
}

TEST(ExpandMacros, StaysInsideItsBufferOnArbitraryTexts) {
    // Texts stitched from pieces of names, checked against guard bytes behind
    // the terminating zero.
    const char* pieces[] = {"%", "%%", "KZO.", "%KZO.", "DAY%", "YEAR", "%kzo.month3%",
                            "%KZO.WEEKDAY2%", "%KZO.WEEKDAY%", "x", "%KZO.YEAR2", "2%"};
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        std::size_t target = next() % 1300;
        while (text.size() < target) text += pieces[next() % (sizeof pieces / sizeof pieces[0])];
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        buffer.insert(buffer.end(), 16, '#');
        expandMacros(buffer.data(), kWednesday);
        std::size_t length = std::strlen(buffer.data());
        ASSERT_LE(length, text.size()) << text;
        for (std::size_t k = text.size() + 1; k < buffer.size(); ++k)
            ASSERT_EQ('#', buffer[k]) << "guard byte overwritten for " << text;
    }
}

}  // namespace
}  // namespace kzo
