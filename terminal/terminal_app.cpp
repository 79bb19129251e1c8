#include "terminal_app.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "about_box.h"
#include "blanks.h"
#include "first_run_dialog.h"
#include "help_runner.h"
#include "main_frame.h"
#include "options_dialog.h"
#include "run_now.h"
#include "scheduler_commands.h"
#include "scheduler_settings.h"
#include "suite_names.h"
#include "task_editing.h"
#include "terminal_boxes.h"
#include "terminal_settings_registry.h"
#include "win_handles.h"

namespace kzo {

namespace {

std::string modulePath(HINSTANCE module) {
    std::vector<char> path(1300);
    DWORD length = GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return std::string();
    return std::string(path.data(), length);
}

// Brings the first Terminal forward: flash, wait, flash off, switch to it.
void activateFirstTerminal(HWND window) {
    FlashWindow(window, TRUE);
    Sleep(500);
    FlashWindow(window, FALSE);
    using SwitchFn = void(WINAPI*)(HWND, BOOL);
    auto switchTo = boundFunction<SwitchFn>(GetModuleHandleA("user32.dll"), "SwitchToThisWindow");
    if (switchTo) {
        switchTo(window, TRUE);
    } else {
        ShowWindow(window, SW_RESTORE);
        BringWindowToTop(window);
        SetForegroundWindow(window);
    }
    MessageBeep(0xFFFFFFFF);
}

// True when this Terminal may run. The mutex is made at once, so two Terminals
// started together cannot both take it; with OneInst 0 a later Terminal runs
// without holding it.
bool takeSingleInstance(bool oneInst, UniqueHandle& mutex) {
    mutex.reset(CreateMutexA(nullptr, TRUE, kTerminalMutex));
    if (GetLastError() != ERROR_ALREADY_EXISTS) return true;
    mutex.reset();
    if (!oneInst) return true;
    HWND first = FindWindowA(nullptr, kTerminalCaption);
    if (first) activateFirstTerminal(first);
    return false;
}

std::string userName(bool& known) {
    char name[257] = {};
    DWORD size = sizeof name;
    known = GetUserNameA(name, &size) != FALSE;
    return known ? std::string(name) : std::string();
}

}  // namespace

bool wantsAboutOnly(const std::string& commandLine) {
    std::string upper = commandLine;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find("/ABOUT") != std::string::npos;
}

void registerTerminalFeatures(CMainFrame& frame) {
    registerTaskEditing(frame);
    registerSchedulerCommands(frame);
    registerOptionsCommand(frame);
}

int runTerminal(HINSTANCE module, const char* commandLine) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                                          ICC_USEREX_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    loadBoxCaptions();
    std::string programPath = modulePath(module);
    std::string folder = folderOf(programPath);

    TerminalSettings settings = readTerminalSettings();
    if (wantsAboutOnly(commandLine ? commandLine : "")) {
        // No main window shows: setup and the uninstaller find the box by its mark to close it.
        showAboutBox(module, nullptr, [&] { openHelp(nullptr, folder, settings.hlp, 3); }, kTerminalWindowProperty);
        return 0;
    }

    UniqueHandle mutex;
    if (!takeSingleInstance(settings.oneInst, mutex)) return 0;

    bool nameKnown = false;
    std::string name = userName(nameKnown);
    if (settings.userDat.empty()) settings.userDat = defaultUserScheduleFile(folder, name, nameKnown);
    if (settings.userDatMissing) {
        FirstRunDialog first(settings.userDat, trimBlanks(name), HKEY_CURRENT_USER, kSchedulerKey);
        first.runModal(module, 209, nullptr);
        settings.userDat = first.file();
    }

    CMainFrame frame(module, settings, programPath, registerTerminalFeatures);
    if (!frame.create()) return 1;
    frame.place();
    int result = frame.run();
    recordRunNowsStillRunning();
    return result;
}

}  // namespace kzo
