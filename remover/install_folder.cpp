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

// The folder as Windows reads it, for comparing: "/" read as "\\", ASCII
// letters in lower case, each name without the trailing dots and blanks that
// Windows drops ("KZO." and "KZO " are "KZO"), no separator at the end.
std::string foldedFolder(std::string_view folder) {
    const std::string trimmed = trimBlanks(folder);
    std::string result;
    std::size_t nameStart = 0;
    auto endName = [&] {
        const std::string_view name(result.data() + nameStart, result.size() - nameStart);
        if (name == "." || name == "..") return;
        std::size_t keep = name.size();
        while (keep > 0 && (name[keep - 1] == '.' || name[keep - 1] == ' ')) --keep;
        result.resize(nameStart + keep);
    };
    for (char c : trimmed) {
        if (isSeparator(c)) {
            endName();
            result += '\\';
            nameStart = result.size();
        } else {
            result += folded(c);
        }
    }
    endName();
    while (!result.empty() && result.back() == '\\') result.pop_back();
    return result;
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

bool sameFolder(std::string_view a, std::string_view b) { return foldedFolder(a) == foldedFolder(b); }

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
