#include "program_search.h"

#include <windows.h>

#include "blanks.h"
#include "expand_env.h"

namespace kzo {

namespace {

std::string folderFrom(UINT(WINAPI* get)(LPSTR, UINT)) {
    char path[MAX_PATH + 1] = "";
    UINT length = get(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::vector<std::string> pathFolders() {
    std::vector<std::string> folders;
    DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return folders;
    std::string path(size, '\0');
    path.resize(GetEnvironmentVariableA("PATH", &path[0], size));
    std::size_t begin = 0;
    while (begin <= path.size()) {
        std::size_t end = path.find(';', begin);
        if (end == std::string::npos) end = path.size();
        std::string folder = trimBlanks(std::string_view(path).substr(begin, end - begin));
        if (!folder.empty()) folders.push_back(folder);
        begin = end + 1;
    }
    return folders;
}

bool isFile(const std::string& path) {
    std::string expanded(kExpandedSize, '\0');
    expandEnvironment(path.c_str(), &expanded[0]);
    DWORD attributes = GetFileAttributesA(expanded.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

ProgramSearch systemProgramSearch() {
    ProgramSearch search;
    search.fileExists = isFile;
    search.folders.push_back(folderFrom(GetSystemDirectoryA));
    search.folders.push_back(folderFrom(GetWindowsDirectoryA));
    for (std::string& folder : pathFolders()) search.folders.push_back(std::move(folder));
    return search;
}

}  // namespace kzo
