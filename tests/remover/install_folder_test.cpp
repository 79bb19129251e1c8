// The uninstaller's decisions on paths: its folder, the folder the Uninstall
// entry names, and whether that makes it the installation.
#include <gtest/gtest.h>

#include <string>

#include "install_folder.h"

namespace kzo {
namespace {

TEST(InstallFolder, ProgramFolderEndsInItsSeparator) {
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Program Files\\KZO\\remover.exe", "C:\\Program Files\\KZO\\"},
        {"C:/KZO/remover.exe", "C:/KZO/"},
        {"C:remover.exe", "C:"},
        {"  C:\\KZO \\remover.exe", "C:\\KZO \\"},  // blanks trimmed at the ends only
        {"\\\\server\\share\\remover.exe", "\\\\server\\share\\"},
        {"remover.exe", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.folder, programFolderOf(c.path)) << c.path;
}

TEST(InstallFolder, FolderOfTheUninstallCommand) {
    struct Case {
        const char* command;
        const char* folder;
    } cases[] = {
        {"\"C:\\Program Files\\KZO\\remover.exe\"", "C:\\Program Files\\KZO\\"},
        {"  \"C:\\KZO\\remover.exe\" /x ", "C:\\KZO\\"},
        {"C:\\KZO\\remover.exe", "C:\\KZO\\"},
        {"\"C:\\KZO\\remover.exe", "C:\\KZO\\"},  // an unclosed quote: the rest
        {"\"remover.exe\"", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.folder, folderOfCommand(c.command)) << c.command;
}

TEST(InstallFolder, SameFolderAsWindowsReadsTheNames) {
    EXPECT_TRUE(sameFolder("C:\\Program Files\\KZO\\", "c:\\program files\\kzo"));
    EXPECT_TRUE(sameFolder("C:/KZO/", "C:\\KZO\\\\"));
    EXPECT_TRUE(sameFolder(" C:\\KZO\\ ", "C:\\KZO"));
    EXPECT_FALSE(sameFolder("C:\\KZO\\", "C:\\KZO2\\"));
    EXPECT_FALSE(sameFolder("C:\\KZO\\Sub\\", "C:\\KZO\\"));
    EXPECT_FALSE(sameFolder("D:\\KZO\\", "C:\\KZO\\"));
    // Names as Windows makes them: trailing dots and blanks dropped, name by name.
    EXPECT_TRUE(sameFolder("C:\\Program Files\\KZO\\", "C:\\Program Files\\KZO.\\"));
    EXPECT_TRUE(sameFolder("C:\\a\\b\\c", "C:\\a\\b. \\c .."));
    EXPECT_TRUE(sameFolder("\\\\server\\share\\KZO", "\\\\server.\\share \\KZO"));
    EXPECT_FALSE(sameFolder("C:\\KZO\\", "C:\\KZO.x\\"));
    EXPECT_FALSE(sameFolder("C:\\KZO\\", "C:\\KZO\\..\\"));  // ".." is a name of its own
}

TEST(InstallFolder, OnlyTheInstallationIsEmptied) {
    struct Case {
        const char* folder;
        const char* uninstallString;
        bool holdsSuitePrograms;
        bool installation;
    } cases[] = {
        // The entry decides when there is one, whatever the folder holds.
        {"C:\\Program Files\\KZO\\", "\"C:\\Program Files\\KZO\\remover.exe\"", true, true},
        {"C:\\PROGRAM FILES\\KZO\\", "\"c:\\program files\\kzo\\remover.exe\"", false, true},
        {"C:\\Users\\me\\Downloads\\", "\"C:\\Program Files\\KZO\\remover.exe\"", false, false},
        {"C:\\Windows\\System32\\", "\"C:\\Program Files\\KZO\\remover.exe\"", true, false},
        {"C:\\Program Files\\KZO\\Sub\\", "\"C:\\Program Files\\KZO\\remover.exe\"", true, false},
        {"C:\\KZO\\", "\"remover.exe\"", true, false},  // an entry without a folder matches none
        // An older setup stored the folder as typed, "KZO.", where Windows made "KZO".
        {"C:\\Program Files\\KZO\\", "\"C:\\Program Files\\KZO.\\remover.exe\"", true, true},
        // Without an entry, the suite's own programs mark the installation.
        {"C:\\KZO\\", "", true, true},
        {"C:\\KZO\\", "   ", true, true},
        {"C:\\Users\\me\\Downloads\\", "", false, false},
        {"", "", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.installation, isInstallationFolder(c.folder, c.uninstallString, c.holdsSuitePrograms))
            << c.folder << " | " << c.uninstallString << " | " << c.holdsSuitePrograms;
    }
}

TEST(InstallFolder, SeparatorAddedOnlyWhenMissing) {
    EXPECT_EQ("C:\\Start Menu\\Programs\\", withSeparator("C:\\Start Menu\\Programs"));
    EXPECT_EQ("C:\\Desktop\\", withSeparator("C:\\Desktop\\"));
    EXPECT_EQ("C:/Desktop/", withSeparator("C:/Desktop/"));
}

TEST(InstallFolder, FileListForTheShellEndsInTwoZeros) {
    EXPECT_EQ(std::string("a\0b\0\0", 5), doubleZeroList({"a", "b"}));
    EXPECT_EQ(std::string("C:\\x y\\f.txt\0\0", 14), doubleZeroList({"C:\\x y\\f.txt"}));
}

}  // namespace
}  // namespace kzo
