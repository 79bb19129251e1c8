// Driving a program under test as the other programs of the suite do: started
// as a child process, found by its windows, its message boxes read and
// answered, its production registry keys set for the test and restored after.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kzo::test {

// Polls condition every 20 ms until it holds or timeoutMs have passed; the
// last answer.
bool waitUntil(const std::function<bool()>& condition, std::uint32_t timeoutMs = 10000);

// Waits for the middle of a minute (seconds 12 to 47), where a freshly started
// scheduler evaluates its tasks at once and the minute cannot turn before it
// has; the local time then.
SYSTEMTIME waitForMidMinute();

// A program of the build tree, relative to the test program's folder
// ("..\\tray\\tickr.exe"), as a full path.
std::string buildTreeProgram(const std::string& relativePath);

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

// A top-level window of the process with this class and title (an empty
// title matches any; visibleOnly: showing), or nullptr at the deadline.
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
// Closes every box and dialog that this process shows (IDNO, then IDCANCEL),
// for tests that must not leave one open.
void closeOwnBoxes();

// Sends a message that is processed after every message sent to the window
// before it: once it returns, the window has handled them, unless a handler
// was itself waiting for a reply to a message it sent (Shell_NotifyIcon does),
// which lets later messages in.
bool settle(HWND window, std::uint32_t timeoutMs = 10000);

// A registry key that the test owns for its lifetime: its values are saved and
// removed at construction, and the saved values restored at destruction (the
// key itself removed when it did not exist). For the production keys that a
// program under test reads.
class SavedKey {
public:
    SavedKey(HKEY root, const std::string& path);
    ~SavedKey();
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

    void setString(const char* name, const std::string& value);
    void setDword(const char* name, DWORD value);
    void remove(const char* name);
    // A DWORD value, or nothing when missing.
    std::optional<DWORD> dword(const char* name) const;

private:
    struct Value {
        DWORD type;
        std::vector<BYTE> data;
    };
    void clearValues() const;

    HKEY root_;
    std::string path_;
    bool existed_ = false;
    std::map<std::string, Value> saved_;
};

}  // namespace kzo::test
