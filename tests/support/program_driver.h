// Driving a program under test as the other programs of the suite do: started
// as a child process, found by its windows and mutexes, its message boxes read
// and answered (the production registry keys it reads: SavedKey).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "test_registry.h"
#include "test_support.h"

namespace kzo::test {

// Waits for the middle of a minute (seconds 12 to 47), where a freshly started
// scheduler evaluates its tasks at once and the minute cannot turn before it
// has; the local time then.
SYSTEMTIME waitForMidMinute();

// A child process started with CreateProcessA, terminated when the object goes
// while it still runs.
class ChildProcess {
public:
    // commandLine as CreateProcessA takes it; folder empty: the test's own.
    explicit ChildProcess(const std::string& commandLine, const std::string& folder = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD pid() const { return pid_; }
    bool running() const;
    // The exit code once the process has ended, or nothing at the deadline.
    std::optional<DWORD> waitForExit(std::uint32_t timeoutMs = 10000);
    void terminate();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Whether a mutex of this name exists.
bool mutexExists(const char* name);

// The top-level windows of the process with this class and title (an empty
// title matches any; visibleOnly: showing).
std::vector<HWND> findWindows(DWORD pid, const std::string& windowClass, const std::string& title,
                              bool visibleOnly);
// The first of them, or nullptr at the deadline.
HWND waitForWindow(DWORD pid, const std::string& windowClass, const std::string& title,
                   bool visibleOnly, std::uint32_t timeoutMs = 10000);

// A message box or dialog (#32770) of the process with this caption, or nullptr.
HWND waitForBox(DWORD pid, const std::string& caption, std::uint32_t timeoutMs = 10000);
// The texts of its static controls but icons, in order, each ended by "|".
std::string boxText(HWND box);
// Presses a button of the box (IDOK, IDYES, IDNO ...) and waits until the box
// is gone, so that a search for the next box cannot find this one. False when
// it is still there at the deadline.
bool answerBox(HWND box, int button, std::uint32_t timeoutMs = 10000);
// Waits for the box of the process with this caption, answers it with the
// button and returns its text; "(no box ...)" when none came.
std::string readAndAnswerBox(DWORD pid, const std::string& caption, int button = IDOK);
// Closes every box and dialog that this process shows (IDNO, then IDCANCEL),
// for tests that must not leave one open.
void closeOwnBoxes();

// The rows of another process's list view, and the text of one of its cells.
// The list view's messages carry pointers that are not marshalled between
// processes: the item and its text buffer are made in the list's process.
int listViewRows(HWND list);
std::string listViewText(HWND list, int row, int column);

// Sends a message that is processed after every message sent to the window
// before it: once it returns, the window has handled them, unless a handler
// was itself waiting for a reply to a message it sent (Shell_NotifyIcon does),
// which lets later messages in.
bool settle(HWND window, std::uint32_t timeoutMs = 10000);

}  // namespace kzo::test
