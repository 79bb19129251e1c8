#include "scheduler_settings.h"

#include "registry_values.h"
#include "win_handles.h"

namespace kzo {

namespace {

// A found, non-empty string replaces target.
bool replaceIfFound(HKEY key, const char* name, std::size_t bufferSize, std::string& target) {
    char buffer[kMaxSettingsStringSize];
    if (bufferSize > sizeof buffer) bufferSize = sizeof buffer;
    if (!readTrimmedString(key, name, buffer, bufferSize)) return false;
    target = buffer;
    return true;
}

}  // namespace

int validRefreshTime(std::uint32_t minutes) {
    return minutes >= 1 && minutes <= 60 ? static_cast<int>(minutes) : kDefaultRefreshTime;
}

void readSchedulerValues(HKEY key, std::size_t bufferSize, SchedulerSettings& s) {
    replaceIfFound(key, "DAT", bufferSize, s.dat);
    bool haveLog = replaceIfFound(key, "LOG", bufferSize, s.log);
    replaceIfFound(key, "WAV", bufferSize, s.wav);
    s.logF = readFlag(key, "LogF", s.logF) && haveLog;
    s.active = readFlag(key, "Active", s.active);
    s.warn = readFlag(key, "Warn", s.warn);
    s.repErr = readFlag(key, "RepErr", s.repErr);
    s.ampm = readFlag(key, "AMPM", s.ampm);
    s.noIcon = readFlag(key, "NoIcon", s.noIcon);
    s.topMost = readFlag(key, "TopMost", s.topMost);
    s.actDlg = readFlag(key, "ActDlg", s.actDlg);
    s.hlp = readFlag(key, "Hlp", s.hlp);
    s.history = readFlag(key, "History", s.history);
    std::uint32_t refresh = 0;
    if (readDword(key, "RefreshTime", refresh)) s.refreshTime = validRefreshTime(refresh);
}

SchedulerSettings readExecutorSettings(HKEY root, const char* subkey) {
    SchedulerSettings s;
    UniqueKey key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, key.put()) == ERROR_SUCCESS)
        readSchedulerValues(key.get(), kExecutorStringSize, s);
    return s;
}

std::uint32_t writeActive(HKEY root, bool active, const char* subkey) {
    UniqueKey key;
    LONG created = RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                   nullptr, key.put(), nullptr);
    if (created != ERROR_SUCCESS) return static_cast<std::uint32_t>(created);
    return writeDword(key.get(), "Active", active ? 1 : 0);
}

}  // namespace kzo
