#include "terminal_settings_registry.h"

#include <vector>

#include "win_handles.h"

namespace kzo {

namespace {

UniqueKey createKey(HKEY root, const char* subkey) {
    UniqueKey key;
    if (RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        key.reset();
    return key;
}

void write(HKEY key, const std::string& name, const StoredValue& value) {
    RegSetValueExA(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                   static_cast<DWORD>(value.bytes.size()));
}

}  // namespace

RegistryKeyView::RegistryKeyView(HKEY root, const char* subkey) {
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
}

RegistryKeyView::~RegistryKeyView() {
    if (key_) RegCloseKey(key_);
}

bool RegistryKeyView::value(const char* name, std::size_t maxBytes, StoredValue& out) const {
    if (!key_) return false;
    std::vector<BYTE> buffer(maxBytes ? maxBytes : 1);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(maxBytes);
    if (RegQueryValueExA(key_, name, nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS ||
        size > maxBytes)
        return false;
    out.type = type;
    out.bytes.assign(reinterpret_cast<const char*>(buffer.data()), size);
    return true;
}

ScreenSize screenSize() {
    ScreenSize s;
    s.width = static_cast<std::uint32_t>(GetSystemMetrics(SM_CXSCREEN));
    s.height = static_cast<std::uint32_t>(GetSystemMetrics(SM_CYSCREEN));
    return s;
}

TerminalSettings readTerminalSettings(const SettingsKeys& keys) {
    RegistryKeyView terminal(keys.userRoot, keys.terminalKey);
    RegistryKeyView user(keys.userRoot, keys.schedulerKey);
    RegistryKeyView system(keys.systemRoot, keys.schedulerKey);
    return loadTerminalSettings(terminal, user, system, screenSize());
}

int saveTerminalSettings(const TerminalSettings& settings, const SettingsKeys& keys) {
    UniqueKey terminal = createKey(keys.userRoot, keys.terminalKey);
    if (!terminal) return 1;
    std::vector<SettingsWrite> writes = terminalSettingsWrites(settings);
    for (const SettingsWrite& w : writes)
        if (!w.schedulerKey) write(terminal.get(), w.name, w.value);
    UniqueKey scheduler = createKey(keys.userRoot, keys.schedulerKey);
    if (!scheduler) return 1;
    for (const SettingsWrite& w : writes)
        if (w.schedulerKey) write(scheduler.get(), w.name, w.value);
    return 0;
}

ConfirmationFlags readConfirmations(const SettingsKeys& keys) {
    return loadConfirmations(RegistryKeyView(keys.userRoot, keys.terminalKey));
}

void writeConfirmations(const ConfirmationFlags& flags, const SettingsKeys& keys) {
    UniqueKey terminal = createKey(keys.userRoot, keys.terminalKey);
    if (terminal) write(terminal.get(), "Confirm", confirmationsValue(flags));
}

}  // namespace kzo
