// The Terminal's settings against a registry held in memory: every hand-edited
// value falls back on its own, and what a save writes reads back equal.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "terminal_settings.h"

namespace kzo {
namespace {

const ScreenSize kScreen{1024, 768};

StoredValue bytes(std::initializer_list<int> list) {
    std::string b;
    for (int v : list) b.push_back(static_cast<char>(v));
    StoredValue s;
    s.type = kRegBinary;
    s.bytes = b;
    return s;
}

StoredValue int32s(const std::vector<std::int32_t>& list) {
    std::string b;
    for (std::int32_t v : list) b.append(reinterpret_cast<const char*>(&v), 4);
    return StoredValue::binary(b.data(), b.size());
}

TerminalSettings load(const MemoryKey& terminal, const MemoryKey& user = MemoryKey(),
                      const MemoryKey& system = MemoryKey()) {
    return loadTerminalSettings(terminal, user, system, kScreen);
}

TEST(TerminalSettingsLoad, MissingKeysGiveEveryDefault) {
    MemoryKey none;
    none.present = false;
    TerminalSettings s = load(none, none, none);
    TerminalSettings expected;
    expected.userDatMissing = true;
    EXPECT_EQ(expected, s);
    EXPECT_EQ(45, s.windowX);
    EXPECT_EQ(340, s.windowH);
    EXPECT_EQ(-1, s.taskW);
    EXPECT_EQ(-1, s.colOrder[0]);
    EXPECT_EQ(kBlue, s.textColor);
    EXPECT_EQ(kWhite, s.bkColor);
    EXPECT_EQ(kDarkBlue, s.textColors[5]);
    EXPECT_FALSE(s.fontValid);
    EXPECT_EQ("MS Sans Serif", s.font.face);
    EXPECT_EQ(kDefaultBandLayout, s.rbLayout);
    EXPECT_EQ(1, s.hlp);
    EXPECT_TRUE(s.oneInst);
    EXPECT_EQ(10, s.refreshTime);
}

// Each hand-edited value changes only itself.
TEST(TerminalSettingsLoad, HandEditedValuesFallBackOneByOne) {
    struct Case {
        const char* what;
        const char* name;
        StoredValue stored;
        std::function<bool(const TerminalSettings&)> check;
    } const cases[] = {
        {"negative left edge", "WindowX", StoredValue::dword(static_cast<std::uint32_t>(-4)),
         [](const TerminalSettings& s) { return s.windowX == 45; }},
        {"wider than the screen", "WindowW", StoredValue::dword(1025),
         [](const TerminalSettings& s) { return s.windowW == 575; }},
        {"on the screen's edge", "WindowY", StoredValue::dword(768),
         [](const TerminalSettings& s) { return s.windowY == 768; }},
        {"a window value of another type", "WindowH", StoredValue::string("300"),
         [](const TerminalSettings& s) { return s.windowH == 340; }},
        {"view 3", "View", StoredValue::dword(3),
         [](const TerminalSettings& s) { return s.view == 0; }},
        {"view 2", "View", StoredValue::dword(2),
         [](const TerminalSettings& s) { return s.view == 2; }},
        {"active schedule 5", "ActiveSched", StoredValue::dword(5),
         [](const TerminalSettings& s) { return s.activeSched == 1; }},
        {"sort 15", "Sort", StoredValue::dword(15),
         [](const TerminalSettings& s) { return s.sort == 15; }},
        {"sort naming no column", "Sort", StoredValue::dword(99),
         [](const TerminalSettings& s) { return s.sort == 0; }},
        {"band layout 1,1,1", "RBLayout", bytes({1, 1, 1, 0, 1, 1, 1, 1, 1}),
         [](const TerminalSettings& s) { return s.rbLayout == kDefaultBandLayout; }},
        {"band layout 0,0,3 sums to 3", "RBLayout", bytes({0, 0, 3, 0, 1, 1, 1, 1, 1}),
         [](const TerminalSettings& s) { return s.rbLayout == kDefaultBandLayout; }},
        {"band layout 2,1,0", "RBLayout", bytes({2, 1, 0, 0, 1, 7, 1, 0, 1}),
         [](const TerminalSettings& s) {
             return s.rbLayout == BandLayout{2, 1, 0, 0, 1, 1, 1, 0, 1};
         }},
        {"band layout of 8 bytes", "RBLayout", bytes({2, 1, 0, 0, 1, 1, 1, 1}),
         [](const TerminalSettings& s) { return s.rbLayout == kDefaultBandLayout; }},
        {"column named twice", "ColOrder", int32s({0, 1, 2, 3, 4, 5, 6, 6}),
         [](const TerminalSettings& s) { return s.colOrder[0] == -1; }},
        {"column out of range", "ColOrder", int32s({0, 1, 2, 3, 4, 5, 6, 8}),
         [](const TerminalSettings& s) { return s.colOrder[0] == -1; }},
        {"column order of eight, Last result after them", "ColOrder", int32s({7, 6, 5, 4, 3, 2, 1, 0}),
         [](const TerminalSettings& s) { return s.colOrder == ColumnOrder{7, 6, 5, 4, 3, 2, 1, 0, 8}; }},
        {"column order of nine in one value", "ColOrder", int32s({8, 7, 6, 5, 4, 3, 2, 1, 0}),
         [](const TerminalSettings& s) { return s.colOrder[0] == -1; }},
        {"sort by Last result, descending", "Sort", StoredValue::dword(17),
         [](const TerminalSettings& s) { return s.sort == 17; }},
        {"sort 18", "Sort", StoredValue::dword(18),
         [](const TerminalSettings& s) { return s.sort == 0; }},
        {"failed rows' colours", "ColorFail", int32s({0x112233, 0x445566}),
         [](const TerminalSettings& s) { return s.failedBkColor == 0x112233 && s.failedTextColor == 0x445566; }},
        {"failed rows' colours of 12 bytes", "ColorFail", int32s({1, 2, 3}),
         [](const TerminalSettings& s) { return s.failedBkColor == kWhite && s.failedTextColor == kDarkRed; }},
        {"colour table of 75 bytes", "ColorHL", StoredValue::binary(std::string(75, 'x').data(), 75),
         [](const TerminalSettings& s) { return s.textColor == kBlue && s.bkColors[9] == kWhite; }},
        {"colour table of 84 bytes", "ColorHL", StoredValue::binary(std::string(84, 'x').data(), 84),
         [](const TerminalSettings& s) { return s.textColor == kBlue && s.failedTextColor == kDarkRed; }},
        {"help type 7", "Hlp", StoredValue::dword(7),
         [](const TerminalSettings& s) { return s.hlp == 1; }},
    };
    for (const Case& c : cases) {
        MemoryKey terminal;
        terminal.set(c.name, c.stored);
        EXPECT_TRUE(c.check(load(terminal))) << c.what;
    }
}

TEST(TerminalSettingsLoad, ColumnWidthsCountOnlyAllTogether) {
    MemoryKey terminal;
    const char* names[] = {"TaskW", "DateW", "TimeW", "MonthW", "CommW", "SFoldW", "IntW", "LRW"};
    for (const char* name : names) terminal.set(name, StoredValue::dword(50));
    EXPECT_EQ(50, load(terminal).taskW) << "the eight of a Terminal that knew no Last result";
    EXPECT_EQ(120, load(terminal).lResW) << "Last result's own default";
    terminal.set("LResW", StoredValue::dword(90));
    EXPECT_EQ(90, load(terminal).lResW);
    terminal.values.erase("IntW");
    EXPECT_EQ(-1, load(terminal).taskW) << "a missing IntW alone resets all eight";
    EXPECT_EQ(90, load(terminal).lResW) << "but not the ninth";
    terminal.set("IntW", StoredValue::dword(2000));
    EXPECT_EQ(-1, load(terminal).taskW) << "a width beyond the screen";
    terminal.set("LResW", StoredValue::dword(2000));
    EXPECT_EQ(120, load(terminal).lResW);
}

// "ColOrder" keeps the eight columns it always held, as a Terminal of eight
// columns reads it; the place of Last result among the nine is "LResPos".
TEST(TerminalSettingsLoad, ColumnOrderOfEightWithThePlaceOfTheNinth) {
    const struct {
        std::vector<std::int32_t> stored;
        int place;  // -1: no LResPos
        ColumnOrder order;
    } cases[] = {
        {{1, 0, 2, 3, 4, 5, 7, 6}, -1, {1, 0, 2, 3, 4, 5, 7, 6, 8}},
        {{1, 0, 2, 3, 4, 5, 7, 6}, 0, {8, 1, 0, 2, 3, 4, 5, 7, 6}},
        {{1, 0, 2, 3, 4, 5, 7, 6}, 3, {1, 0, 2, 8, 3, 4, 5, 7, 6}},
        {{1, 0, 2, 3, 4, 5, 7, 6}, 8, {1, 0, 2, 3, 4, 5, 7, 6, 8}},
        {{1, 0, 2, 3, 4, 5, 7, 6}, 9, {1, 0, 2, 3, 4, 5, 7, 6, 8}},
        {{1, 0, 2, 3, 4, 5, 7, 7}, 0, kNoColumnOrder},
        {{-1, 0, 0, 0, 0, 0, 0, 0}, 2, kNoColumnOrder},
    };
    for (const auto& c : cases) {
        MemoryKey terminal;
        terminal.set("ColOrder", int32s(c.stored));
        if (c.place >= 0) terminal.set("LResPos", StoredValue::dword(static_cast<std::uint32_t>(c.place)));
        EXPECT_EQ(c.order, load(terminal).colOrder) << "LResPos " << c.place;
    }
}

TEST(TerminalSettingsSave, ColumnOrderIsWrittenAsEightAndAPlace) {
    TerminalSettings s;
    s.colOrder = {1, 0, 8, 2, 3, 4, 5, 7, 6};
    std::map<std::string, StoredValue> written;
    for (const SettingsWrite& w : terminalSettingsWrites(s)) written[w.name] = w.value;
    EXPECT_EQ(int32s({1, 0, 2, 3, 4, 5, 7, 6}).bytes, written["ColOrder"].bytes);
    EXPECT_EQ(StoredValue::dword(2).bytes, written["LResPos"].bytes);

    s.colOrder = kNoColumnOrder;
    for (const SettingsWrite& w : terminalSettingsWrites(s)) written[w.name] = w.value;
    EXPECT_EQ(int32s({-1, 0, 0, 0, 0, 0, 0, 0}).bytes, written["ColOrder"].bytes) << "none, as before";
    EXPECT_EQ(StoredValue::dword(8).bytes, written["LResPos"].bytes);
    EXPECT_EQ(76u, written["ColorHL"].bytes.size()) << "the colour table keeps its size";
}

TEST(TerminalSettingsLoad, FontCountsOnlyWhenHeightWidthAndFaceAreRead) {
    MemoryKey terminal;
    terminal.set("FontH", StoredValue::dword(static_cast<std::uint32_t>(-13)));
    terminal.set("FontW", StoredValue::dword(0));
    terminal.set("FontWg", StoredValue::dword(700));
    terminal.set("FontCS", bytes({0}));
    terminal.set("FontIt", bytes({1, 1}));  // two bytes: its default
    terminal.set("FontFc", StoredValue::string("Tahoma"));
    TerminalSettings s = load(terminal);
    EXPECT_TRUE(s.fontValid);
    EXPECT_EQ(-13, s.font.height);
    EXPECT_EQ(700, s.font.weight);
    EXPECT_EQ(0, s.font.charSet);
    EXPECT_EQ(0, s.font.italic);
    EXPECT_EQ("Tahoma", s.font.face);

    terminal.set("FontFc", StoredValue::string(std::string(32, 'A')));  // 33 bytes
    s = load(terminal);
    EXPECT_FALSE(s.fontValid);
    EXPECT_EQ(ListFont(), s.font);
}

TEST(TerminalSettingsLoad, ConfirmationsNeedExactlySevenBytes) {
    MemoryKey terminal;
    terminal.set("Confirm", bytes({0, 1, 0, 1, 0, 1, 9}));
    EXPECT_EQ((ConfirmationFlags{0, 1, 0, 1, 0, 1, 1}), loadConfirmations(terminal));
    terminal.set("Confirm", bytes({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ((ConfirmationFlags{1, 1, 1, 1, 1, 1, 1}), loadConfirmations(terminal));
}

TEST(TerminalSettingsLoad, SchedulerCopiesTrimAndFallBack) {
    MemoryKey user, system;
    user.set("DAT", StoredValue::string("   "));
    user.set("LogF", StoredValue::dword(5));
    user.set("RefreshTime", StoredValue::dword(61));
    system.set("DAT", StoredValue::string("  C:\\sys.jsf "));
    system.set("LogF", StoredValue::dword(1));
    system.set("LOG", StoredValue::string(" C:\\sys.log"));
    TerminalSettings s = load(MemoryKey(), user, system);
    EXPECT_TRUE(s.userDatMissing) << "blanks alone are no schedule file";
    EXPECT_FALSE(s.userLogF) << "logging without a log file";
    EXPECT_EQ(10, s.refreshTime);
    EXPECT_EQ("C:\\sys.jsf", s.sysDat);
    EXPECT_TRUE(s.sysLogF);
    EXPECT_EQ("C:\\sys.log", s.sysLog);

    user.set("DAT", StoredValue::string(std::string(1300, 'x')));
    EXPECT_TRUE(load(MemoryKey(), user).userDatMissing) << "a DAT too long for its buffer";
    user.set("DAT", StoredValue::string(std::string(1299, 'x')));
    EXPECT_EQ(1299u, load(MemoryKey(), user).userDat.size());
}

TEST(TerminalSettingsSave, WhatIsWrittenReadsBackEqual) {
    TerminalSettings s;
    s.windowX = 10;
    s.taskW = 200;
    s.view = 2;
    s.colOrder = {1, 0, 2, 3, 4, 5, 8, 7, 6};
    s.lResW = 77;
    s.sort = 16;
    s.failedBkColor = 0x010203;
    s.bkColors[9] = 0x123456;
    s.textColors[0] = 0x654321;
    s.textColor = 0x654321;
    s.fontValid = true;
    s.font.face = "Courier New";
    s.font.height = -11;
    s.font.italic = 1;
    s.rbLayout = {2, 0, 1, 0, 0, 1, 1, 0, 1};
    s.dbr = false;
    s.hlp = 0;
    s.oneInst = false;
    s.userDat = "C:\\user.jsf";

    MemoryKey terminal, user;
    user.set("DAT", StoredValue::string(s.userDat));
    for (const SettingsWrite& w : terminalSettingsWrites(s)) (w.schedulerKey ? user : terminal).set(w.name, w.value);
    EXPECT_EQ(s, load(terminal, user));
    EXPECT_EQ(StoredValue::dword(0).bytes, user.values["Hlp"].bytes);
}

TEST(TerminalSettingsSave, FontIsWrittenOnlyWhenValid) {
    TerminalSettings s;
    for (const SettingsWrite& w : terminalSettingsWrites(s))
        EXPECT_NE(0, std::strncmp(w.name.c_str(), "Font", 4)) << w.name;
}

TEST(DefaultUserScheduleFile, IsTheTrimmedUserNameInTheProgramsFolder) {
    EXPECT_EQ("C:\\KZO\\Anna Berg.jsf", defaultUserScheduleFile("C:\\KZO\\", "  Anna Berg ", true));
    EXPECT_EQ("C:\\KZO\\Default.jsf", defaultUserScheduleFile("C:\\KZO\\", "x", false));
    EXPECT_EQ("C:\\KZO\\Default.jsf", defaultUserScheduleFile("C:\\KZO\\", "   ", true));
    EXPECT_EQ("C:\\KZO\\", folderOf("C:\\KZO\\kzo.exe"));
    EXPECT_EQ("C:", folderOf("C:kzo.exe").substr(0, 2));
    EXPECT_EQ("", folderOf("kzo.exe"));
}

}  // namespace
}  // namespace kzo
