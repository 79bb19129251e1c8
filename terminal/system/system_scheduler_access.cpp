#include "system_scheduler_access.h"

#include <windows.h>

#include "blanks.h"
#include "expand_env.h"
#include "file_attributes.h"
#include "scheduler_settings.h"
#include "win_handles.h"

namespace kzo {

namespace {

// Whether the System Scheduler's key can be written: the key itself, or when
// it is missing the nearest key above it that exists.
bool systemKeyWritable() {
    std::string path = kSchedulerKey;
    for (;;) {
        UniqueKey key;
        REGSAM rights = path == kSchedulerKey ? KEY_READ | KEY_WRITE : KEY_CREATE_SUB_KEY;
        LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, rights, key.put());
        if (opened == ERROR_SUCCESS) return true;
        if (opened != ERROR_FILE_NOT_FOUND) return false;
        std::size_t slash = path.rfind('\\');
        if (slash == std::string::npos) return false;
        path.resize(slash);
    }
}

}  // namespace

bool systemSchedulerEditable(const std::string& systemScheduleFile) {
    const std::string file = trimBlanks(systemScheduleFile);
    if (file.empty() || !systemKeyWritable()) return false;
    char expanded[kExpandedSize];
    expandEnvironment(file.c_str(), expanded);
    makeAttributesNormal(expanded);
    UniqueHandle opened(CreateFileA(expanded, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (opened) return true;
    DWORD error = GetLastError();
    return error != ERROR_ACCESS_DENIED && error != ERROR_NETWORK_ACCESS_DENIED;
}

}  // namespace kzo
