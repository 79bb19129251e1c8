#include "terminal_scheduler_settings.h"

#include "registry_values.h"
#include "win_handles.h"
#include "windows_platform.h"

namespace kzo {

namespace {

enum class SchedulerSet { User, System };

std::uint32_t readSet(TerminalSchedulerSettings& settings, SchedulerSet set, HKEY root,
                      const char* subkey) {
    TerminalSchedulerSettings fresh;
    fresh.dat = settings.dat;
    fresh.log = settings.log;
    fresh.wav = settings.wav;
    settings = fresh;

    UniqueKey key;
    LONG opened = RegOpenKeyExA(root, subkey, 0, KEY_READ, key.put());
    if (opened != ERROR_SUCCESS) return static_cast<std::uint32_t>(opened);
    readSchedulerValues(key.get(), kMaxSettingsStringSize, settings);
    settings.autoStart = readFlag(key.get(), "AutoStart", settings.autoStart);
    if (set == SchedulerSet::User) settings.oneInst = readFlag(key.get(), "OneInst", settings.oneInst);
    return 0;
}

// Creates or opens the key and writes the set's values. Returns the error of
// creating the key (keyCreated false), else the first failed write, else 0.
std::uint32_t writeSet(const TerminalSchedulerSettings& s, SchedulerSet set, HKEY root,
                       const char* subkey, bool& keyCreated) {
    UniqueKey key;
    LONG created = RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                   nullptr, key.put(), nullptr);
    keyCreated = created == ERROR_SUCCESS;
    if (!keyCreated) return static_cast<std::uint32_t>(created);

    std::uint32_t first = 0;
    auto keep = [&first](std::uint32_t error) {
        if (first == 0) first = error;
    };
    HKEY k = key.get();
    keep(writeDword(k, "AutoStart", s.autoStart));
    keep(writeDword(k, "Active", s.active));
    keep(writeDword(k, "Warn", s.warn));
    keep(writeDword(k, "RepErr", s.repErr));
    keep(writeDword(k, "TopMost", s.topMost));
    keep(writeDword(k, "ActDlg", s.actDlg));
    if (set == SchedulerSet::User) keep(writeDword(k, "OneInst", s.oneInst));
    keep(writeString(k, "DAT", s.dat));
    keep(writeString(k, "LOG", s.log));
    keep(writeString(k, "WAV", s.wav));
    keep(writeDword(k, "LogF", s.logF));
    keep(writeDword(k, "AMPM", s.ampm));
    keep(writeDword(k, "RefreshTime", static_cast<std::uint32_t>(s.refreshTime)));
    keep(writeDword(k, "History", s.history));
    return first;
}

}  // namespace

std::uint32_t readTerminalUserSettings(TerminalSchedulerSettings& settings, HKEY root,
                                       const char* subkey) {
    return readSet(settings, SchedulerSet::User, root, subkey);
}

std::uint32_t readTerminalSystemSettings(TerminalSchedulerSettings& settings, HKEY root,
                                         const char* subkey, const char* serviceName) {
    std::uint32_t opened = readSet(settings, SchedulerSet::System, root, subkey);
    if (isWindowsNt()) {
        std::uint32_t startType = 0;
        settings.autoStart = queryServiceStartType(serviceName, startType) == 0 &&
                             startType == SERVICE_AUTO_START;
    }
    return opened;
}

std::uint32_t writeTerminalUserSettings(const TerminalSchedulerSettings& settings,
                                        const std::string& terminalFolder, HKEY root,
                                        const char* subkey, const char* runKey) {
    bool keyCreated = false;
    std::uint32_t written = writeSet(settings, SchedulerSet::User, root, subkey, keyCreated);
    std::uint32_t entry =
        settings.autoStart
            ? setAutostartEntry(root, runKey, executorCommandLine(terminalFolder, false))
            : removeAutostartEntry(root, runKey);
    return written != 0 ? written : entry;
}

std::uint32_t writeTerminalSystemSettings(const TerminalSchedulerSettings& settings,
                                          const std::string& terminalFolder, HKEY root,
                                          const char* subkey, const char* serviceName,
                                          const char* runServicesKey) {
    bool keyCreated = false;
    std::uint32_t remembered = writeSet(settings, SchedulerSet::System, root, subkey, keyCreated);
    if (!keyCreated) remembered = kErrorCantOpenKey;
    std::uint32_t autostart = 0;
    if (isWindowsNt()) {
        autostart = setServiceAutoStart(serviceName, settings.autoStart);
    } else {
        std::uint32_t entry =
            settings.autoStart
                ? setAutostartEntry(root, runServicesKey, executorCommandLine(terminalFolder, true))
                : removeAutostartEntry(root, runServicesKey);
        if (entry != 0) autostart = kErrorCantOpenKey;
    }
    return autostart != 0 ? autostart : remembered;
}

}  // namespace kzo
