// The installer's decisions: the folder offered and the folder used, the
// folder levels to create, the files by family, the registry changes and the
// command lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install_plan.h"

namespace kzo {
namespace {

using Strings = std::vector<std::string>;

TEST(InstallFolder, PresetFromTheProgramFilesFolder) {
    struct Case {
        const char* programFiles;
        const char* preset;
    } cases[] = {
        {"C:\\Program Files", "C:\\Program Files\\KZO"},
        {"D:\\Programme\\", "D:\\Programme\\KZO"},  // one separator, not two
        {"  E:\\Apps  ", "E:\\Apps\\KZO"},
        {"", "C:\\Program Files\\KZO"},
        {"   ", "C:\\Program Files\\KZO"},
        {"C:\\", "C:\\KZO"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.preset, presetInstallFolder(c.programFiles)) << c.programFiles;
}

// The folder made full and canonical, as Windows reads and creates it, from
// a current folder of C:\Users\me (or the one a case names).
TEST(InstallFolder, TypedFolderMadeFullAndCanonical) {
    const std::string longName(243, 'a');  // "C:\" + 243 + "\" + "whatsnew.txt" is 259 characters
    struct Case {
        std::string typed;
        std::string current;
        std::string folder;
    } cases[] = {
        {"C:\\Program Files\\KZO", "C:\\Users\\me", "C:\\Program Files\\KZO\\"},
        {"  C:\\Program Files\\KZO   ", "", "C:\\Program Files\\KZO\\"},
        {"KZO", "C:\\Users\\me", "C:\\Users\\me\\KZO\\"},
        {"KZO", "C:\\", "C:\\KZO\\"},
        {"..\\x", "C:\\Users\\me", "C:\\Users\\x\\"},
        {"..\\..\\..\\x", "C:\\Users\\me", "C:\\x\\"},  // never above the drive
        {".\\KZO\\.\\Sub", "C:\\Users\\me", "C:\\Users\\me\\KZO\\Sub\\"},
        {"\\KZO", "C:\\Users\\me", "C:\\KZO\\"},
        {"\\KZO", "\\\\server\\share\\dir", "\\\\server\\share\\KZO\\"},
        // Trailing dots and blanks of every name go, as Windows drops them.
        {"C:\\Program Files\\KZO.", "", "C:\\Program Files\\KZO\\"},
        {"C:\\a\\b. \\c ", "", "C:\\a\\b\\c\\"},
        {"C:\\KZO\\...\\x", "", "C:\\KZO\\x\\"},
        {"C:\\ a\\", "", "C:\\ a\\"},  // leading blanks of a name stay
        {"C:/Tools//KZO\\\\", "", "C:\\Tools\\KZO\\"},
        // A drive without a separator: that drive's current folder, or its root.
        {"C:", "C:\\Users\\me", "C:\\Users\\me\\"},
        {"C:KZO", "c:\\Users\\me", "c:\\Users\\me\\KZO\\"},
        {"C:KZO", "D:\\Work", "C:\\KZO\\"},
        {"\\\\server\\share\\KZO", "", "\\\\server\\share\\KZO\\"},
        {"\\\\server\\share\\..\\x", "", "\\\\server\\share\\x\\"},  // never above the share
        {"\\\\server.\\share. \\KZO", "", "\\\\server\\share\\KZO\\"},
        {"C:\\" + longName, "", "C:\\" + longName + "\\"},
    };
    for (const Case& c : cases) {
        InstallFolder folder = installFolderOf(c.typed, c.current);
        EXPECT_EQ(FolderProblem::None, folder.problem) << '"' << c.typed << "\" from " << c.current;
        EXPECT_EQ(c.folder, folder.path) << '"' << c.typed << "\" from " << c.current;
    }
}

TEST(InstallFolder, RefusedWhenEmptyNotOnADriveOrShareTooLongOrARoot) {
    struct Case {
        std::string typed;
        std::string current;
        FolderProblem problem;
    } cases[] = {
        {"", "C:\\", FolderProblem::Empty},
        {"    ", "C:\\", FolderProblem::Empty},
        {"KZO", "", FolderProblem::NotOnDriveOrShare},  // no current folder known
        {"\\KZO", "", FolderProblem::NotOnDriveOrShare},
        {"\\\\server", "", FolderProblem::NotOnDriveOrShare},
        {"\\\\server\\", "", FolderProblem::NotOnDriveOrShare},
        {"\\\\\\share\\KZO", "", FolderProblem::NotOnDriveOrShare},
        {"\\\\.\\C:\\KZO", "", FolderProblem::NotOnDriveOrShare},
        {"\\\\?\\C:\\KZO", "", FolderProblem::NotOnDriveOrShare},
        {"\\\\server\\..\\KZO", "", FolderProblem::NotOnDriveOrShare},
        {"1:\\KZO", "C:\\", FolderProblem::NotOnDriveOrShare},
        {"C:\\" + std::string(244, 'a'), "", FolderProblem::TooLong},
        {"C:\\" + std::string(300, 'a'), "", FolderProblem::TooLong},
        {std::string(250, 'x'), "C:\\Users\\me", FolderProblem::TooLong},
        // The uninstaller deletes every file of the install folder: never a root.
        {"C:\\", "", FolderProblem::Root},
        {"C:", "D:\\Work", FolderProblem::Root},
        {"C:\\KZO\\..", "", FolderProblem::Root},
        {"\\", "D:\\Work", FolderProblem::Root},
        {"//server/share", "", FolderProblem::Root},
        {"\\\\server\\share\\.", "", FolderProblem::Root},
    };
    for (const Case& c : cases) {
        InstallFolder folder = installFolderOf(c.typed, c.current);
        EXPECT_EQ(c.problem, folder.problem) << '"' << c.typed << "\" from " << c.current << ": " << folder.path;
        EXPECT_EQ("", folder.path) << c.typed;
    }
}

TEST(InstallFolder, RelativeBaseAndShownFolder) {
    EXPECT_EQ("D:", relativeBase("D:KZO"));
    EXPECT_EQ("d:", relativeBase(" d: "));
    EXPECT_EQ(".", relativeBase("D:\\KZO"));
    EXPECT_EQ(".", relativeBase("KZO"));
    EXPECT_EQ(".", relativeBase("\\KZO"));
    EXPECT_EQ(".", relativeBase("\\\\server\\share"));

    EXPECT_EQ("C:\\Program Files\\KZO", shownFolder("C:\\Program Files\\KZO\\"));
    EXPECT_EQ("C:\\", shownFolder("C:\\"));
    EXPECT_EQ("\\\\server\\share", shownFolder("\\\\server\\share\\"));
}

TEST(InstallFolder, EveryLevelBelowTheDriveOrShare) {
    struct Case {
        const char* folder;
        Strings levels;
    } cases[] = {
        {"C:\\Program Files\\KZO\\", {"C:\\Program Files", "C:\\Program Files\\KZO"}},
        {"C:\\KZO", {"C:\\KZO"}},
        {"C:\\\\Tools//KZO\\\\", {"C:\\Tools", "C:\\Tools\\KZO"}},
        {"C:\\", {}},
        {"C:KZO\\Sub\\", {"C:KZO", "C:KZO\\Sub"}},  // relative to the drive's current folder
        {"\\KZO\\", {"\\KZO"}},
        {"KZO\\Sub", {"KZO", "KZO\\Sub"}},
        {"\\\\server\\share\\KZO\\", {"\\\\server\\share\\KZO"}},
        {"\\\\server\\share\\", {}},
        {"\\\\server", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.levels, folderLevels(c.folder)) << c.folder;
}

TEST(InstalledFiles, TheServiceOnlyForTheNtFamily) {
    const Strings common = {"kzo.exe", "kzo.hlp",  "kzo.chm",     "remover.exe", "whatsnew.txt", "tickr.exe",
                            "kzo.cnt", "kill.exe", "kzotask.exe", "kzo.pro",     "kzo.wav"};
    EXPECT_EQ(common, installedFiles(OsFamily::Windows9x));
    Strings nt = common;
    nt.push_back("tickrnt.exe");
    EXPECT_EQ(nt, installedFiles(OsFamily::WindowsNt));
}

TEST(CommandLines, ProgramsOfTheInstallFolderQuoted) {
    const std::string folder = "C:\\Program Files\\KZO\\";
    EXPECT_EQ("\"C:\\Program Files\\KZO\\tickr.exe\"", executorCommand(folder, false));
    EXPECT_EQ("\"C:\\Program Files\\KZO\\tickr.exe\" /s", executorCommand(folder, true));
    EXPECT_EQ("\"C:\\Program Files\\KZO\\tickrnt.exe\" /r", serviceRegistrationCommand(folder));
}

TEST(CommonControls, VersionBelow472IsTooOld) {
    struct Case {
        unsigned major, minor;
        bool tooOld;
    } cases[] = {
        {4, 70, true}, {4, 71, true}, {4, 72, false}, {5, 81, false}, {6, 0, false}, {6, 10, false}, {0, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.tooOld, commonControlsTooOld(commonControlsVersion(c.major, c.minor))) << c.major << '.' << c.minor;
}

// A change as one line, for comparing lists.
std::string describe(const RegistryChange& change) {
    std::string line = change.hive == Hive::CurrentUser ? "HKCU\\" : "HKLM\\";
    line += change.key + " ";
    switch (change.action) {
    case RegistryAction::SetDword: return line + change.name + "=" + std::to_string(change.number);
    case RegistryAction::SetString: return line + change.name + "=" + change.text;
    case RegistryAction::DeleteValue: return line + "-" + change.name;
    case RegistryAction::DeleteKey: return line + "-\\" + change.name;
    }
    return line;
}

Strings describe(const std::vector<RegistryChange>& changes) {
    Strings lines;
    for (const RegistryChange& change : changes) lines.push_back(describe(change));
    return lines;
}

TEST(RegistryChanges, TheUsersInOrder) {
    const std::string scheduler = "HKCU\\SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler ";
    const std::string product = "HKCU\\SOFTWARE\\Veldmark\\KZO Scheduler 4 ";
    const std::string uninstall = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KZO Scheduler ";
    Strings expected = {
        scheduler + "Active=1",
        scheduler + "AutoStart=1",
        scheduler + "Warn=0",
        scheduler + "-DAT",
        "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run KZOScheduler=\"E:\\My Apps\\KZO\\tickr.exe\"",
        uninstall + "UninstallString=\"E:\\My Apps\\KZO\\remover.exe\"",
        uninstall + "DisplayName=KZO Scheduler",
        "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce -KillKZOF",
        product + "-ToolBar",
    };
    for (char n = '0'; n <= '9'; ++n) expected.push_back(product + "-\\ToolBar-Bar" + n);
    expected.push_back(product + "-\\ToolBar-Summary");
    EXPECT_EQ(expected, describe(userRegistryChanges("E:\\My Apps\\KZO\\")));
}

TEST(RegistryChanges, SystemSettingsOnlyWithoutASystemSchedule) {
    const std::string scheduler = "HKLM\\SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler ";
    EXPECT_EQ((Strings{scheduler + "DAT=C:\\KZO\\System.jsf", scheduler + "Active=1", scheduler + "AutoStart=1",
                       scheduler + "Warn=0"}),
              describe(systemSettingsChanges("C:\\KZO\\", false)));
    EXPECT_EQ(Strings{}, describe(systemSettingsChanges("C:\\KZO\\", true)));
    EXPECT_EQ("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices KZOScheduler=\"C:\\KZO\\tickr.exe\" /s",
              describe(systemAutostartChange("C:\\KZO\\")));
}

}  // namespace
}  // namespace kzo
