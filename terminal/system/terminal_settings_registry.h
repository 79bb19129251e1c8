// The Terminal's settings on the real registry: the Win32 side of
// terminal_settings.h. Every function takes the root and the keys, the
// production ones by default, so tests work in scratch keys.
#pragma once

#include <windows.h>

#include <cstdint>

#include "scheduler_settings.h"
#include "terminal_settings.h"

namespace kzo {

// A key opened for reading; missing when it cannot be opened.
class RegistryKeyView : public RegistryView {
public:
    RegistryKeyView(HKEY root, const char* subkey);
    ~RegistryKeyView() override;
    RegistryKeyView(const RegistryKeyView&) = delete;
    RegistryKeyView& operator=(const RegistryKeyView&) = delete;

    bool exists() const override { return key_ != nullptr; }
    bool value(const char* name, std::size_t maxBytes, StoredValue& out) const override;

private:
    HKEY key_ = nullptr;
};

struct SettingsKeys {
    HKEY userRoot = HKEY_CURRENT_USER;
    const char* terminalKey = kTerminalKey;
    const char* schedulerKey = kSchedulerKey;
    HKEY systemRoot = HKEY_LOCAL_MACHINE;
};

// The screen's size in pixels.
ScreenSize screenSize();

TerminalSettings readTerminalSettings(const SettingsKeys& keys = SettingsKeys());

// Writes every value; 0, or 1 when the Terminal key or the user's Scheduler
// key cannot be created (the second key's values are then not written).
int saveTerminalSettings(const TerminalSettings& settings, const SettingsKeys& keys = SettingsKeys());

ConfirmationFlags readConfirmations(const SettingsKeys& keys = SettingsKeys());
void writeConfirmations(const ConfirmationFlags& flags, const SettingsKeys& keys = SettingsKeys());

}  // namespace kzo
