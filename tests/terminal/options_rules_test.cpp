// The Options pages' rules: the refresh time, the leave-page check of a
// scheduler page, the entries the colour buttons edit and the sample's colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options_rules.h"

namespace kzo {
namespace {

TEST(RefreshTime, OnlyOneToSixtyInDigitsIsTaken) {
    const struct {
        const char* text;
        bool accepted;
        int minutes;
    } cases[] = {
        {"", false, 0},    {"0", false, 0},   {"61", false, 0},  {"1e1", false, 0}, {"-5", false, 0},
        {"007", false, 0}, {"9 9", false, 0}, {" 7", true, 7},   {"60 ", true, 60}, {"1", true, 1},
    };
    for (const auto& c : cases) {
        int minutes = -1;
        EXPECT_EQ(c.accepted, parseRefreshTime(c.text, minutes)) << '"' << c.text << '"';
        EXPECT_EQ(c.accepted ? c.minutes : -1, minutes) << '"' << c.text << '"';
    }
}

TEST(SchedulerPageCheck, RefusesWhatTheSchedulerCouldNotUse) {
    const std::string longName(kExecutorPathLength + 1, 'x');
    const std::string longestName(kExecutorPathLength, 'x');
    const struct {
        const char* what;
        SchedulerPageValues in;
        unsigned message;
        SchedulerField field;
    } cases[] = {
        {"no schedule file", {"   ", "a.log", "", "10", true}, kScheduleFileMissing, SchedulerField::Dat},
        {"schedule file too long", {longName, "", "", "10", false}, kFileNameTooLong, SchedulerField::Dat},
        {"longest schedule file", {longestName, "", "", "10", false}, 0, SchedulerField::None},
        {"log too long while logging", {"a.jsf", longName, "", "10", true}, kFileNameTooLong, SchedulerField::Log},
        {"log too long, no logging", {"a.jsf", longName, "", "10", false}, 0, SchedulerField::None},
        {"refresh time empty", {"a.jsf", "", "", "", false}, kRefreshTimeInvalid, SchedulerField::Refresh},
        {"refresh time 61", {"a.jsf", "", "", "61", false}, kRefreshTimeInvalid, SchedulerField::Refresh},
        {"sound file too long", {"a.jsf", "", longName, "5", false}, kFileNameTooLong, SchedulerField::Wav},
    };
    for (const auto& c : cases) {
        SchedulerPageValues values = c.in;
        SchedulerPageCheck check = checkSchedulerPage(values);
        EXPECT_EQ(c.message, check.message) << c.what;
        EXPECT_EQ(c.field, check.field) << c.what;
    }
}

TEST(SchedulerPageCheck, TrimsTheNamesAndDropsLoggingWithoutALogFile) {
    SchedulerPageValues values{" C:\\a.jsf ", "   ", " ding.wav", " 7", true, 10};
    EXPECT_EQ(0u, checkSchedulerPage(values).message);
    EXPECT_EQ("C:\\a.jsf", values.dat);
    EXPECT_EQ("", values.log);
    EXPECT_FALSE(values.logF) << "logging to no file is no logging";
    EXPECT_EQ("ding.wav", values.wav);
    EXPECT_EQ(7, values.refreshTime);

    SchedulerPageValues refused{"a.jsf", "", "", "0", false, 25};
    EXPECT_EQ(kRefreshTimeInvalid, checkSchedulerPage(refused).message);
    EXPECT_EQ(25, refused.refreshTime) << "a refused time leaves the stored one";
}

TEST(ColorTargets, FollowTheSelectionOnlyWithColourHighlighting) {
    const struct {
        bool useColors;
        std::vector<int> selected;
        ColorKind kind;
        std::vector<int> entries;
    } cases[] = {
        {false, {3, 9}, ColorKind::Text, {0}},
        {false, {}, ColorKind::Background, {0}},
        {true, {9}, ColorKind::Text, {}},  // the unused area has no text colour
        {true, {9}, ColorKind::Background, {9}},
        {true, {9, 3, 1, 3}, ColorKind::Text, {1, 3}},
        {true, {9, 3, 1}, ColorKind::Background, {1, 3, 9}},
        {true, {}, ColorKind::Background, {}},
        {true, {10, 9, 11}, ColorKind::Text, {10}},  // the failed rows have both colours
        {true, {11, 10, -1}, ColorKind::Background, {10}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.entries, colorTargets(c.useColors, c.selected, c.kind))
            << "useColors " << c.useColors << ", " << c.selected.size() << " selected";
}

TEST(EntryColors, ListColoursFollowEntryZero) {
    TerminalSettings s;
    setEntryColors(s, {0, 4}, ColorKind::Text, 0x123456);
    EXPECT_EQ(0x123456u, s.textColors[4]);
    EXPECT_EQ(0x123456u, s.textColor);
    setEntryColors(s, {9}, ColorKind::Background, 0x00FF00);
    EXPECT_EQ(0x00FF00u, s.bkColors[9]);
    EXPECT_EQ(kWhite, s.bkColor) << "entry 0's background is unchanged";
    EXPECT_EQ(0x00FF00u, entryColor(s, 9, ColorKind::Background));
    EXPECT_EQ(0x123456u, entryColor(s, 9, ColorKind::Text)) << "entry 9 shows entry 0's text colour";

    EXPECT_EQ(kDarkRed, entryColor(s, kFailedEntry, ColorKind::Text));
    setEntryColors(s, {kFailedEntry}, ColorKind::Text, 0x0000EE);
    setEntryColors(s, {kFailedEntry}, ColorKind::Background, 0x00EE00);
    EXPECT_EQ(0x0000EEu, s.failedTextColor);
    EXPECT_EQ(0x00EE00u, s.failedBkColor);
    EXPECT_EQ(0x123456u, s.textColor) << "entry 0 untouched";
}

TEST(SampleColors, EachEntryItsOwnOnlyWithHighlightingAndOwnColours) {
    TerminalSettings s;
    s.textColors[5] = 0x000011;
    s.bkColors[5] = 0x000022;
    s.bkColors[9] = 0x000033;
    s.textColor = s.textColors[0] = 0x000044;
    s.bkColor = s.bkColors[0] = 0x000055;

    s.defColors = true;
    s.useColors = true;
    EXPECT_TRUE(sampleEntryColors(s, 5).system);

    s.defColors = false;
    SampleColors five = sampleEntryColors(s, 5);
    EXPECT_FALSE(five.system);
    EXPECT_EQ(0x000011u, five.text);
    EXPECT_EQ(0x000022u, five.background);
    SampleColors unused = sampleEntryColors(s, 9);
    EXPECT_EQ(0x000044u, unused.text);
    EXPECT_EQ(0x000033u, unused.background);
    SampleColors failed = sampleEntryColors(s, kFailedEntry);
    EXPECT_EQ(kDarkRed, failed.text);
    EXPECT_EQ(kWhite, failed.background);

    s.useColors = false;
    five = sampleEntryColors(s, 5);
    EXPECT_EQ(0x000044u, five.text);
    EXPECT_EQ(0x000055u, five.background);
}

}  // namespace
}  // namespace kzo
