#include "close_windows.h"

#include <algorithm>
#include <vector>

#include "suite_names.h"

namespace kzo {

namespace {

constexpr DWORD kPollMs = 20;

bool contains(const std::vector<HWND>& windows, HWND window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

// The first top-level window of this class and title that is not given up.
HWND nextWindow(const char* windowClass, const char* title, const std::vector<HWND>& givenUp) {
    HWND window = nullptr;
    do {
        window = FindWindowExA(nullptr, window, windowClass, title);
    } while (window && contains(givenUp, window));
    return window;
}

struct MarkedSearch {
    const std::vector<HWND>* givenUp;
    HWND found;
};

BOOL CALLBACK findMarked(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<MarkedSearch*>(data);
    if (!GetPropA(window, kTerminalWindowProperty) || contains(*search->givenUp, window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The first top-level window that the Terminal marked and that is not given up.
HWND nextMarkedWindow(const std::vector<HWND>& givenUp) {
    MarkedSearch search{&givenUp, nullptr};
    EnumWindows(findMarked, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Posts WM_CLOSE until the window is gone, within the bounds; true when it went.
bool closeWindow(HWND window, const CloseBounds& bounds, const std::function<void(DWORD pid)>& asked) {
    if (asked) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        asked(pid);
    }
    const DWORD start = GetTickCount();
    DWORD lastPost = 0;
    unsigned posts = 0;
    while (IsWindow(window) && GetTickCount() - start < bounds.giveUpMs) {
        if (posts < bounds.maxPosts && (posts == 0 || GetTickCount() - lastPost >= bounds.repostMs)) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            lastPost = GetTickCount();
            ++posts;
        }
        Sleep(kPollMs);
    }
    return !IsWindow(window);
}

// The Terminal's mutex exists (held by a Terminal, or by one under an account
// whose mutex this process may not open).
bool terminalRuns() {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kTerminalMutex);
    if (!mutex) return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(mutex);
    return true;
}

}  // namespace

void closeWindowsBounded(const char* windowClass, const char* title, const CloseBounds& bounds,
                         const std::function<void(DWORD pid)>& asked) {
    std::vector<HWND> givenUp;
    while (HWND window = nextWindow(windowClass, title, givenUp))
        if (!closeWindow(window, bounds, asked)) givenUp.push_back(window);
}

void closeTerminalBounded(const CloseBounds& bounds, const std::function<void(DWORD pid)>& asked) {
    std::vector<HWND> givenUp;
    DWORD lastSeen = GetTickCount();
    for (;;) {
        HWND window = nextWindow(nullptr, kTerminalCaption, givenUp);
        if (!window) window = nextMarkedWindow(givenUp);
        if (window) {
            if (!closeWindow(window, bounds, asked)) givenUp.push_back(window);
            lastSeen = GetTickCount();
        } else if (!terminalRuns() || GetTickCount() - lastSeen >= bounds.giveUpMs) {
            return;
        } else {
            Sleep(kPollMs);
        }
    }
}

void ClosingProcesses::keep(DWORD pid) {
    if (pid == 0 || pid == GetCurrentProcessId()) return;
    if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid)) processes_.emplace_back(process);
}

void ClosingProcesses::waitAll(DWORD start, DWORD boundMs) const {
    for (const UniqueHandle& process : processes_) {
        const DWORD elapsed = GetTickCount() - start;
        WaitForSingleObject(process.get(), elapsed < boundMs ? boundMs - elapsed : 0);
    }
}

}  // namespace kzo
