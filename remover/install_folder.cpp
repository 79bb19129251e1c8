#include "install_folder.h"

#include "blanks.h"

namespace kzo {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

char folded(char c) {
    if (c == '/') return '\\';
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

std::string_view withoutTrailingSeparators(std::string_view folder) {
    while (!folder.empty() && isSeparator(folder.back())) folder.remove_suffix(1);
    return folder;
}

}  // namespace

std::string programFolderOf(std::string_view programPath) {
    std::size_t cut = programPath.find_last_of("\\/:");
    if (cut == std::string_view::npos) return std::string();
    return trimBlanks(programPath.substr(0, cut + 1));
}

std::string folderOfCommand(std::string_view commandLine) {
    std::string command = trimBlanks(commandLine);
    std::string_view path(command);
    if (!path.empty() && path.front() == '"') {
        path.remove_prefix(1);
        std::size_t close = path.find('"');
        if (close != std::string_view::npos) path = path.substr(0, close);
    }
    return programFolderOf(path);
}

bool sameFolder(std::string_view a, std::string_view b) {
    std::string left = trimBlanks(a);
    std::string right = trimBlanks(b);
    std::string_view x = withoutTrailingSeparators(left);
    std::string_view y = withoutTrailingSeparators(right);
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (folded(x[i]) != folded(y[i])) return false;
    }
    return true;
}

std::string withSeparator(std::string_view folder) {
    std::string result(folder);
    if (result.empty() || !isSeparator(result.back())) result += '\\';
    return result;
}

bool isInstallationFolder(std::string_view programFolder, std::string_view uninstallString,
                          bool holdsSuitePrograms) {
    if (trimBlanks(programFolder).empty()) return false;
    if (!trimBlanks(uninstallString).empty()) {
        std::string installed = folderOfCommand(uninstallString);
        return !installed.empty() && sameFolder(programFolder, installed);
    }
    return holdsSuitePrograms;
}

const std::vector<std::string>& suiteProgramNames() {
    static const std::vector<std::string> names = {"kzo.exe", "tickr.exe", "tickrnt.exe"};
    return names;
}

std::string doubleZeroList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += path;
        list += '\0';
    }
    list += '\0';
    return list;
}

}  // namespace kzo
