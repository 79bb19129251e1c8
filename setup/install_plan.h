// What the installer does, decided without <windows.h>: the install folder and
// its levels, the files by operating system family, the registry changes, the
// shortcuts and the command lines that start the suite's programs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kzo {

// The family of Windows the suite is installed for (chosen on the wizard's
// second page).
enum class OsFamily { Windows9x = 0, WindowsNt = 1 };

// The install options filled by the wizard's pages and read by the install.
struct InstallOptions {
    bool systemScheduler = false;  // the User Scheduler is always installed
    bool desktopIcon = true;
    bool startMenuIcons = true;
    OsFamily family = OsFamily::WindowsNt;
    // As typed (up to kMaxFolderLength characters) until the first page
    // accepts it; then the full folder that installFolderOf gives.
    std::string folder;
};

constexpr std::size_t kMaxFolderLength = 260;

// The folder that the first page offers: the machine's program files folder
// (its blanks trimmed; "C:\Program Files" when empty) and "KZO" in it, with
// one separator between them.
std::string presetInstallFolder(std::string_view programFilesDir);

// Why a typed folder is not installed into.
enum class FolderProblem {
    None,
    Empty,              // nothing but blanks was typed
    NotOnDriveOrShare,  // neither "X:\..." nor "\\server\share\..." once made full
    TooLong,            // a file of the install would not fit a path (MAX_PATH)
    Root,               // the root of a drive or share: the uninstaller deletes
                        // every file of the install folder
};

struct InstallFolder {
    FolderProblem problem = FolderProblem::None;
    std::string path;  // without a problem: the full folder, ending in "\"
};

// The path whose full form is the folder a relative typed folder starts from:
// "D:" for "D:KZO" (drive D's own current folder), "." otherwise (the
// process's). The Win32 side asks the system for that full form.
std::string relativeBase(std::string_view typedFolder);

// The folder the install works in: the typed folder trimmed of blanks and made
// full and canonical as Windows reads it, so that the files, the registry
// values, the shortcuts and the Uninstall entry all name one folder. A relative
// folder starts from currentFolder (the full form of relativeBase; "D:KZO"
// starts from the root of D: when currentFolder is on another drive, "\KZO"
// from the root of currentFolder); "/" reads as "\", empty components and "."
// are dropped, ".." goes up (never above the drive or share), and each name
// loses its trailing dots and blanks, as Windows drops them when it creates
// the folder (a name of nothing else is dropped whole); so do the server and
// the share of "\\server\share", which must remain ("\\.\" and "\\?\" are
// devices, not shares). The folder, with an 8.3 name in it, must fit MAX_PATH,
// and may not be the root of its drive or share.
InstallFolder installFolderOf(std::string_view typedFolder, std::string_view currentFolder);

// The folder as the first page shows it: without its final separator, but for
// the root of a drive ("C:\"), which would read as the drive's current folder.
std::string shownFolder(std::string_view folder);

// Every level of the folder that may have to be created, from the outermost:
// "C:\Program Files\KZO\" gives "C:\Program Files" and "C:\Program
// Files\KZO". The drive ("C:") and the server and share of a UNC path are not
// levels; empty components ("C:\\a") are skipped.
std::vector<std::string> folderLevels(std::string_view folder);

// The files copied from setup's folder into the install folder, in copy order.
std::vector<std::string> installedFiles(OsFamily family);

// The file of a folder ending in a separator, in double quotes.
std::string quotedFile(std::string_view folder, std::string_view name);

// The command lines of the install folder's programs: the Executor (with "/s"
// the System Scheduler of 95/98/Me) and the service's registration.
std::string executorCommand(std::string_view folder, bool systemMode);
std::string serviceRegistrationCommand(std::string_view folder);

// Titles of the windows of older Terminals that the install asks to close.
std::vector<std::string> olderTerminalTitles();

// A shortcut: the link file's name, the file it points to and its description.
struct ShortcutPlan {
    std::string linkName;
    std::string target;
    std::string description;
};
// The Start menu's shortcuts, created in its Programs folder's subfolder
// kStartMenuFolder.
std::vector<ShortcutPlan> startMenuShortcuts(std::string_view folder);
ShortcutPlan desktopShortcut(std::string_view folder);
constexpr const char* kStartMenuFolder = "KZO Scheduler";

// The common controls version as the check compares it (4.72 gives 472), and
// whether it is too old for the suite (also when it could not be read: 0).
int commonControlsVersion(unsigned major, unsigned minor);
bool commonControlsTooOld(int version);

// A change of the registry the install makes.
enum class Hive { CurrentUser, LocalMachine };
enum class RegistryAction { SetDword, SetString, DeleteValue, DeleteKey };
struct RegistryChange {
    Hive hive;
    std::string key;
    RegistryAction action;
    std::string name;  // the value, or for DeleteKey the subkey of key
    std::uint32_t number = 0;
    std::string text;
};

// The user's changes, in order: the User Scheduler's settings reset and its
// schedule file forgotten, the start at logon, the Uninstall entry, the
// pending kill at the next logon cancelled, the Terminal's bar layout cleared.
// Their outcome is not checked.
std::vector<RegistryChange> userRegistryChanges(std::string_view folder);

// The System Scheduler's settings in the machine key: nothing when the machine
// already has a schedule file (systemDatExists), else the file System.jsf of
// the install folder, active, started automatically, without warnings.
std::vector<RegistryChange> systemSettingsChanges(std::string_view folder, bool systemDatExists);

// The start of the System Scheduler of 95/98/Me with the system.
RegistryChange systemAutostartChange(std::string_view folder);

// The registry keys named above.
constexpr const char* kSchedulerKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4\\Scheduler";
constexpr const char* kUninstallEntryKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KZO Scheduler";

}  // namespace kzo
