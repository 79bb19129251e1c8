#include "windows_platform.h"

#include <windows.h>

namespace kzo {

bool isWindowsNt() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return true;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace kzo
