// Setup's install folder and the uninstaller's folder rule over any typed
// folder and any current folder: a folder setup accepts is full and canonical
// (on a drive or a share, "\" separators, no empty, "." or ".." names, no name
// ending in a dot or a blank, room for its files' names within MAX_PATH),
// reads back as itself when typed again as the page shows it, and is named
// alike by the files, the start at logon, the Uninstall entry and the
// shortcuts; the uninstaller started from it then knows it as the installation.
//
// Input: the current folder and the typed folder, separated by '\n'.
#include <string>
#include <vector>

#include "blanks.h"
#include "fuzz_input.h"
#include "install_folder.h"
#include "install_plan.h"

namespace {

using namespace kzo;

bool startsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The names after the root: "X:" or "\\server\share".
std::vector<std::string> namesAfterRoot(const std::string& path, std::size_t& rootSize) {
    if (isLetter(path[0]) && path[1] == ':') {
        rootSize = 2;
    } else {
        FUZZ_CHECK(startsWith(path, "\\\\"));
        std::size_t server = path.find('\\', 2);
        FUZZ_CHECK(server != std::string::npos && server > 2);
        const std::string serverName = path.substr(2, server - 2);
        FUZZ_CHECK(serverName != "." && serverName != "?");
        rootSize = path.find('\\', server + 1);
        FUZZ_CHECK(rootSize != std::string::npos && rootSize > server + 1);
    }
    FUZZ_CHECK(path[rootSize] == '\\');
    std::vector<std::string> names;
    for (std::size_t at = rootSize + 1; at < path.size();) {
        std::size_t end = path.find('\\', at);
        FUZZ_CHECK(end != std::string::npos);
        names.push_back(path.substr(at, end - at));
        at = end + 1;
    }
    return names;
}

void checkAccepted(const std::string& path, const std::string& current) {
    FUZZ_CHECK(path.size() >= 3 && path.back() == '\\');
    FUZZ_CHECK(path.find('/') == std::string::npos);
    FUZZ_CHECK(path.size() + 12 < 260);
    std::size_t rootSize = 0;
    for (const std::string& name : namesAfterRoot(path, rootSize)) {
        FUZZ_CHECK(!name.empty() && name != "." && name != "..");
        FUZZ_CHECK(name.back() != '.' && name.back() != ' ');
    }

    // Full already: the current folder plays no part, and the page's form of
    // it reads back as the same folder.
    FUZZ_CHECK(relativeBase(path) == ".");
    InstallFolder again = installFolderOf(path, "");
    FUZZ_CHECK(again.problem == FolderProblem::None && again.path == path);
    InstallFolder shown = installFolderOf(shownFolder(path), current);
    FUZZ_CHECK(shown.problem == FolderProblem::None && shown.path == path);

    // The levels setup creates end in the folder itself.
    std::vector<std::string> levels = folderLevels(path);
    for (const std::string& level : levels) FUZZ_CHECK(startsWith(path, level + "\\"));
    if (!levels.empty()) FUZZ_CHECK(levels.back() + "\\" == path);

    // One folder everywhere, and the uninstaller's rule agrees with it.
    if (path.find('"') != std::string::npos) return;  // no file system takes it
    const std::string remover = quotedFile(path, "remover.exe");
    FUZZ_CHECK(remover == "\"" + path + "remover.exe\"");
    FUZZ_CHECK(executorCommand(path, false) == "\"" + path + "tickr.exe\"");
    bool runValue = false, uninstallEntry = false;
    for (const RegistryChange& change : userRegistryChanges(path)) {
        if (change.name == "KZOScheduler") runValue = change.text == executorCommand(path, false);
        if (change.name == "UninstallString") uninstallEntry = change.text == remover;
    }
    FUZZ_CHECK(runValue && uninstallEntry);
    for (const ShortcutPlan& shortcut : startMenuShortcuts(path)) FUZZ_CHECK(startsWith(shortcut.target, path));
    FUZZ_CHECK(startsWith(desktopShortcut(path).target, path));

    const std::string ownFolder = programFolderOf(path + "remover.exe");
    FUZZ_CHECK(ownFolder == path);
    FUZZ_CHECK(folderOfCommand(remover) == path);
    FUZZ_CHECK(isInstallationFolder(ownFolder, remover, false));
    FUZZ_CHECK(sameFolder(ownFolder, path.substr(0, path.size() - 1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    std::string_view text = input.rest();
    const std::size_t newline = text.find('\n');
    const std::string current(text.substr(0, newline));
    const std::string typed(newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1));

    const InstallFolder folder = installFolderOf(typed, current);
    FUZZ_CHECK((folder.problem == FolderProblem::Empty) == trimBlanks(typed).empty());
    FUZZ_CHECK(folder.problem == FolderProblem::None || folder.path.empty());
    if (folder.problem == FolderProblem::None) checkAccepted(folder.path, current);
    const std::string base = relativeBase(typed);
    FUZZ_CHECK(base == "." || (base.size() == 2 && isLetter(base[0]) && base[1] == ':'));

    // The uninstaller's comparison of any two folders.
    FUZZ_CHECK(sameFolder(typed, typed) && sameFolder(typed, current) == sameFolder(current, typed));
    FUZZ_CHECK(sameFolder(current, withSeparator(current)) || trimBlanks(current) != current);
    const std::string list = doubleZeroList({current, typed});
    FUZZ_CHECK(list.size() == current.size() + typed.size() + 3 && list.compare(list.size() - 2, 2, std::string(2, '\0')) == 0);
    return 0;
}
