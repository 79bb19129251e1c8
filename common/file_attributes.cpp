#include "file_attributes.h"

#include <windows.h>

namespace kzo {

void makeAttributesNormal(const char* path) {
    constexpr DWORD kClearing = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kClearing))
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
}

}  // namespace kzo
