#include "shell_folder.h"

#include <windows.h>

#include <shlobj.h>

namespace kzo {

std::string shellFolderPath(int csidl, bool create) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return std::string();
    char path[MAX_PATH + 1] = "";
    BOOL found = SHGetPathFromIDListA(list, path);
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(list);
        allocator->Release();
    }
    if (!found || !path[0]) return std::string();
    if (create && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(path, nullptr))
        return std::string();
    return path;
}

}  // namespace kzo
