// Asking the suite's running programs to close, from setup and the
// uninstaller: never waiting forever on a window that does not close.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "win_handles.h"

namespace kzo {

struct CloseBounds {
    DWORD giveUpMs = 5000;  // a window still there after this is left alone
    DWORD repostMs = 500;   // WM_CLOSE posted again after this
    unsigned maxPosts = 100;
};

// Posts WM_CLOSE to every top-level window of this class and title (nullptr:
// any) until it is gone, within the bounds. Each window's process id is
// handed to `asked` before the first post, when given.
void closeWindowsBounded(const char* windowClass, const char* title, const CloseBounds& bounds = {},
                         const std::function<void(DWORD pid)>& asked = {});

// Closes the Terminal whatever it shows: its main windows (by their caption),
// and the first-run dialog it shows before it has one (marked with
// kTerminalWindowProperty), each as above. While the Terminal's mutex tells
// that one runs, the windows that follow (the main window after the first-run
// dialog) are closed in turn, until none has shown for giveUpMs.
void closeTerminalBounded(const CloseBounds& bounds = {}, const std::function<void(DWORD pid)>& asked = {});

// The processes of the windows asked to close: their files can be replaced or
// deleted only once they have ended, which a closed window does not promise
// (a program may take a moment to end, or hold its file a moment longer on
// 95/98/Me).
class ClosingProcesses {
public:
    void keep(DWORD pid);  // this process is left out
    std::function<void(DWORD pid)> keeper() {
        return [this](DWORD pid) { keep(pid); };
    }
    // Waits for each kept process to end, all of them within boundMs of
    // `start` (a GetTickCount reading).
    void waitAll(DWORD start, DWORD boundMs) const;

private:
    std::vector<UniqueHandle> processes_;
};

}  // namespace kzo
