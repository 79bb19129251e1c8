// Test helper (not shipped): runs the Terminal's system-set read or write in a
// process of its own, so that Wine can present it with 95/98/Me.
//   settings_win98_helper platform                     exit 1 on the NT family, 0 on 95/98/Me
//   settings_win98_helper read SUBKEY SERVICE          exit AutoStart as read
//   settings_win98_helper write SUBKEY SERVICE RUNSERVICES AUTOSTART FOLDER
//                                                      exit code of the write
// Keys are under HKEY_CURRENT_USER.
#include <cstring>

#include "terminal_scheduler_settings.h"
#include "windows_platform.h"

int main(int argc, char** argv) {
    using namespace kzo;
    if (argc == 2 && std::strcmp(argv[1], "platform") == 0) return isWindowsNt() ? 1 : 0;
    if (argc == 4 && std::strcmp(argv[1], "read") == 0) {
        TerminalSchedulerSettings settings;
        readTerminalSystemSettings(settings, HKEY_CURRENT_USER, argv[2], argv[3]);
        return settings.autoStart ? 1 : 0;
    }
    if (argc == 7 && std::strcmp(argv[1], "write") == 0) {
        TerminalSchedulerSettings settings;
        settings.autoStart = std::strcmp(argv[5], "1") == 0;
        return static_cast<int>(
            writeTerminalSystemSettings(settings, argv[6], HKEY_CURRENT_USER, argv[2], argv[3], argv[4]));
    }
    return 255;
}
