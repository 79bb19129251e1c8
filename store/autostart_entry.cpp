#include "autostart_entry.h"

#include "registry_values.h"
#include "win_handles.h"

namespace kzo {

std::string executorCommandLine(const std::string& folder, bool systemScheduler) {
    std::string command = "\"" + folder;
    if (!folder.empty() && folder.back() != '\\') command += '\\';
    command += "tickr.exe\"";
    if (systemScheduler) command += " /s";
    return command;
}

std::uint32_t setAutostartEntry(HKEY root, const char* key, const std::string& command) {
    UniqueKey run;
    LONG created = RegCreateKeyExA(root, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                   nullptr, run.put(), nullptr);
    if (created != ERROR_SUCCESS) return static_cast<std::uint32_t>(created);
    return writeString(run.get(), kAutostartValue, command);
}

std::uint32_t removeAutostartEntry(HKEY root, const char* key) {
    UniqueKey run;
    LONG opened = RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, run.put());
    if (opened == ERROR_FILE_NOT_FOUND) return 0;
    if (opened != ERROR_SUCCESS) return static_cast<std::uint32_t>(opened);
    LONG deleted = RegDeleteValueA(run.get(), kAutostartValue);
    return deleted == ERROR_FILE_NOT_FOUND ? 0 : static_cast<std::uint32_t>(deleted);
}

}  // namespace kzo
