// The Executor's mode and the Terminal's path from its command line.
#include <gtest/gtest.h>

#include "executor_command_line.h"

namespace kzo {
namespace {

TEST(ExecutorCommandLine, OnlyTheWholeTrimmedArgumentSlashSSelectsSystemMode) {
    struct Case {
        const char* arguments;
        bool system;
    } cases[] = {
        {"/S", true},   {"/s", true},     {" /S ", true},  {"   /s", true},
        {"", false},    {"/S x", false},  {"/sx", false},  {"-s", false},
        {"S", false},   {"/S /S", false}, {"\t/S", false},  // a tab is not a blank
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.system, isSystemModeArgument(c.arguments)) << "'" << c.arguments << "'";
}

TEST(ExecutorCommandLine, TerminalPathLiesBesideTheExecutor) {
    struct Case {
        const char* commandLine;
        const char* terminal;
    } cases[] = {
        {"\"C:\\Program Files\\KZO\\tickr.exe\" /s", "C:\\Program Files\\KZO\\KZO.exe"},
        {"\"C:\\Program Files\\KZO\\tickr.exe\"", "C:\\Program Files\\KZO\\KZO.exe"},
        {"C:\\KZO\\tickr.exe", "C:\\KZO\\KZO.exe"},
        {"C:\\KZO\\tickr.exe /s", "C:\\KZO\\KZO.exe"},
        {"C:\\Program Files\\KZO\\tickr.exe", "C:\\Program Files\\KZO\\KZO.exe"},
        {"tickr.exe", "KZO.exe"},
        {"tickr /S", "KZO.exe"},
        {"C:tickr.exe", "C:KZO.exe"},
        {"./bin/tickr.exe", "./bin/KZO.exe"},
        {"\"C:\\KZO\\tickr.exe", "C:\\KZO\\KZO.exe"},  // an unclosed quote runs to the end
        {"", "KZO.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.terminal, terminalPathFrom(c.commandLine)) << c.commandLine;
}

TEST(ExecutorCommandLine, HelpFilesLieInTheTerminalsFolder) {
    EXPECT_EQ("C:\\KZO\\kzo.hlp", terminalFolderFile("C:\\KZO\\KZO.exe", "\\kzo.hlp"));
    EXPECT_EQ("C:\\KZO\\kzo.chm::/General.htm",
              terminalFolderFile("C:\\KZO\\KZO.exe", "\\kzo.chm::/General.htm"));
    EXPECT_EQ(".\\kzo.hlp", terminalFolderFile("KZO.exe", "\\kzo.hlp"));
    EXPECT_EQ("C:\\kzo.hlp", terminalFolderFile("C:KZO.exe", "\\kzo.hlp"));
}

TEST(ExecutorCommandLine, CommandsQuoteTheProgram) {
    EXPECT_EQ("\"C:\\Program Files\\KZO\\KZO.exe\" /ABOUT",
              quotedCommand("C:\\Program Files\\KZO\\KZO.exe", " /ABOUT"));
    EXPECT_EQ("\"KZO.exe\"", quotedCommand("KZO.exe"));
}

}  // namespace
}  // namespace kzo
