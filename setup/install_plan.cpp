#include "install_plan.h"

#include <algorithm>

#include "blanks.h"

namespace kzo {

namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kRunServicesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kProductKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4";
constexpr const char* kAutostartValue = "KZOScheduler";

// MAX_PATH: the longest path a file of the install may have, with its NUL;
// every name the install writes in its folder is an 8.3 name.
constexpr std::size_t kPathLimit = 260;
constexpr std::size_t kLongestInstalledName = 12;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// A name as Windows creates it: without its trailing dots and blanks.
std::string createdName(std::string name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return name;
}

// The root of a full path with "\" separators: "X:" for "X:\...", or
// "\\server\share" for "\\server\share[\...]", its two names as created (not a
// device: "\\.\", "\\?\"); and where the path's names start. Empty when the
// path is neither.
struct Root {
    std::string text;
    std::size_t end = 0;
};
Root pathRoot(const std::string& path) {
    if (path.size() >= 3 && isDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\') return {path.substr(0, 2), 2};
    if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return {};
    const std::size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos) return {};
    std::size_t shareEnd = path.find('\\', serverEnd + 1);
    if (shareEnd == std::string::npos) shareEnd = path.size();
    const std::string server = createdName(path.substr(2, serverEnd - 2));
    const std::string share = createdName(path.substr(serverEnd + 1, shareEnd - serverEnd - 1));
    if (server.empty() || server == "?" || share.empty()) return {};
    return {"\\\\" + server + "\\" + share, shareEnd};
}

std::size_t nextSeparator(const std::string& path, std::size_t from) {
    while (from < path.size() && !isSeparator(path[from])) ++from;
    return from;
}

std::size_t skipSeparators(const std::string& path, std::size_t from) {
    while (from < path.size() && isSeparator(path[from])) ++from;
    return from;
}

RegistryChange setDword(Hive hive, const char* key, const char* name, std::uint32_t number) {
    return {hive, key, RegistryAction::SetDword, name, number, {}};
}

RegistryChange setString(Hive hive, const char* key, const char* name, std::string text) {
    return {hive, key, RegistryAction::SetString, name, 0, std::move(text)};
}

RegistryChange remove(Hive hive, const char* key, RegistryAction action, std::string name) {
    return {hive, key, action, std::move(name), 0, {}};
}

}  // namespace

std::string presetInstallFolder(std::string_view programFilesDir) {
    std::string folder = trimBlanks(programFilesDir);
    while (!folder.empty() && isSeparator(folder.back())) folder.pop_back();
    if (folder.empty()) folder = "C:\\Program Files";
    return folder + "\\KZO";
}

std::string relativeBase(std::string_view typedFolder) {
    const std::string typed = trimBlanks(typedFolder);
    if (typed.size() >= 2 && isDriveLetter(typed[0]) && typed[1] == ':' &&
        (typed.size() == 2 || !isSeparator(typed[2])))
        return typed.substr(0, 2);
    return ".";
}

InstallFolder installFolderOf(std::string_view typedFolder, std::string_view currentFolder) {
    std::string typed = trimBlanks(typedFolder);
    if (typed.empty()) return {FolderProblem::Empty, {}};
    std::replace(typed.begin(), typed.end(), '/', '\\');
    std::string current(currentFolder);
    std::replace(current.begin(), current.end(), '/', '\\');

    // The full path: the typed one, or where a relative one starts and it.
    std::string full;
    if (typed.size() >= 2 && typed[0] == '\\' && typed[1] == '\\') {
        full = typed;
    } else if (typed.size() >= 2 && typed[1] == ':') {
        if (!isDriveLetter(typed[0])) return {FolderProblem::NotOnDriveOrShare, {}};
        const bool sameDrive = !pathRoot(current).text.empty() && upper(current[0]) == upper(typed[0]);
        if (typed.size() > 2 && typed[2] == '\\')
            full = typed;
        else  // "D:KZO": drive D's own current folder, or its root
            full = (sameDrive ? current : typed.substr(0, 2)) + '\\' + typed.substr(2);
    } else if (typed[0] == '\\') {
        full = pathRoot(current).text + typed;
    } else {
        full = current + '\\' + typed;
    }

    const Root root = pathRoot(full);
    if (root.text.empty()) return {FolderProblem::NotOnDriveOrShare, {}};
    std::vector<std::string> names;
    for (std::size_t at = root.end; at < full.size();) {
        std::size_t end = nextSeparator(full, at);
        std::string name = full.substr(at, end - at);
        at = end + 1;
        if (name == ".") continue;
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        name = createdName(std::move(name));
        if (!name.empty()) names.push_back(std::move(name));
    }
    if (names.empty()) return {FolderProblem::Root, {}};
    std::string path = root.text + '\\';
    for (const std::string& name : names) path += name + '\\';
    if (path.size() + kLongestInstalledName >= kPathLimit) return {FolderProblem::TooLong, {}};
    return {FolderProblem::None, path};
}

std::string shownFolder(std::string_view folder) {
    std::string shown(folder);
    const bool driveRoot = shown.size() == 3 && shown[1] == ':';
    if (!driveRoot && !shown.empty() && isSeparator(shown.back())) shown.pop_back();
    return shown;
}

std::vector<std::string> folderLevels(std::string_view folder) {
    const std::string path = trimBlanks(folder);
    std::string level;
    std::size_t at = 0;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        // \\server\share: the root of the share.
        std::size_t server = skipSeparators(path, 2);
        std::size_t share = skipSeparators(path, nextSeparator(path, server));
        at = nextSeparator(path, share);
        if (server == share || share == at) return {};
        level = "\\\\" + path.substr(server, nextSeparator(path, server) - server) + "\\" +
                path.substr(share, at - share);
    } else if (path.size() >= 2 && path[1] == ':') {
        level = path.substr(0, 2);
        at = 2;
    }
    const bool rooted = at < path.size() && isSeparator(path[at]);

    std::vector<std::string> levels;
    for (at = skipSeparators(path, at); at < path.size(); at = skipSeparators(path, at)) {
        std::size_t end = nextSeparator(path, at);
        if (!levels.empty() || rooted) level += '\\';
        level += path.substr(at, end - at);
        levels.push_back(level);
        at = end;
    }
    return levels;
}

std::vector<std::string> installedFiles(OsFamily family) {
    std::vector<std::string> files = {"kzo.exe",   "kzo.hlp",  "kzo.chm",     "remover.exe", "whatsnew.txt", "tickr.exe",
                                      "kzo.cnt",   "kill.exe", "kzotask.exe", "kzo.pro",     "kzo.wav"};
    if (family == OsFamily::WindowsNt) files.push_back("tickrnt.exe");
    return files;
}

std::string quotedFile(std::string_view folder, std::string_view name) {
    std::string text = "\"";
    text += folder;
    text += name;
    text += '"';
    return text;
}

std::string executorCommand(std::string_view folder, bool systemMode) {
    return quotedFile(folder, "tickr.exe") + (systemMode ? " /s" : "");
}

std::string serviceRegistrationCommand(std::string_view folder) { return quotedFile(folder, "tickrnt.exe") + " /r"; }

std::vector<std::string> olderTerminalTitles() {
    std::vector<std::string> titles;
    for (char n = '1'; n <= '6'; ++n) titles.push_back(std::string("KZO Scheduler ") + n);
    return titles;
}

std::vector<ShortcutPlan> startMenuShortcuts(std::string_view folder) {
    const std::string f(folder);
    return {
        {"KZO Terminal.lnk", f + "kzo.exe", "KZO Terminal"},
        {"KZO Scheduler Help.lnk", f + "kzo.hlp", "Windows Help File"},
        {"KZO Scheduler Help (HTML).lnk", f + "kzo.chm", "HTML Help File"},
        {"Uninstall.lnk", f + "remover.exe", "Uninstall"},
        {"WhatsNew.lnk", f + "whatsnew.txt", "WhatsNew"},
    };
}

ShortcutPlan desktopShortcut(std::string_view folder) {
    return {"KZO Terminal.lnk", std::string(folder) + "KZO.exe", "KZO Terminal"};
}

int commonControlsVersion(unsigned major, unsigned minor) {
    return static_cast<int>((major & 0xFFFF) * 100 + (minor & 0xFFFF));
}

bool commonControlsTooOld(int version) { return version < 472; }

std::vector<RegistryChange> userRegistryChanges(std::string_view folder) {
    const Hive user = Hive::CurrentUser;
    std::vector<RegistryChange> changes = {
        setDword(user, kSchedulerKey, "Active", 1),
        setDword(user, kSchedulerKey, "AutoStart", 1),
        setDword(user, kSchedulerKey, "Warn", 0),
        // Without a schedule file the Terminal asks the user for one.
        remove(user, kSchedulerKey, RegistryAction::DeleteValue, "DAT"),
        setString(user, kRunKey, kAutostartValue, quotedFile(folder, "tickr.exe")),
        setString(Hive::LocalMachine, kUninstallEntryKey, "UninstallString", quotedFile(folder, "remover.exe")),
        setString(Hive::LocalMachine, kUninstallEntryKey, "DisplayName", "KZO Scheduler"),
        remove(user, kRunOnceKey, RegistryAction::DeleteValue, "KillKZOF"),
        remove(user, kProductKey, RegistryAction::DeleteValue, "ToolBar"),
    };
    for (char n = '0'; n <= '9'; ++n)
        changes.push_back(remove(user, kProductKey, RegistryAction::DeleteKey, std::string("ToolBar-Bar") + n));
    changes.push_back(remove(user, kProductKey, RegistryAction::DeleteKey, "ToolBar-Summary"));
    return changes;
}

std::vector<RegistryChange> systemSettingsChanges(std::string_view folder, bool systemDatExists) {
    if (systemDatExists) return {};
    const Hive machine = Hive::LocalMachine;
    return {
        setString(machine, kSchedulerKey, "DAT", std::string(folder) + "System.jsf"),
        setDword(machine, kSchedulerKey, "Active", 1),
        setDword(machine, kSchedulerKey, "AutoStart", 1),
        setDword(machine, kSchedulerKey, "Warn", 0),
    };
}

RegistryChange systemAutostartChange(std::string_view folder) {
    return setString(Hive::LocalMachine, kRunServicesKey, kAutostartValue, executorCommand(folder, true));
}

}  // namespace kzo
