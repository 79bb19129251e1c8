// Helpers of the UI tests: a thread with a message loop on which windows live
// while the test's thread drives them, and readers of dialog contents.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kzo::test {

// A thread with a message loop. run() executes a function on it between its
// messages (posted, so after everything posted to its windows before) and
// waits for it; filter() sets what the loop asks before it translates and
// dispatches a message (true: consumed), as a frame's loop asks its menu bar.
class UiThread {
public:
    UiThread();
    ~UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // False when the thread did not run it within timeoutMs.
    bool run(std::function<void()> work, DWORD timeoutMs = 10000);
    void filter(std::function<bool(MSG&)> filter);

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Posts a key press (down and up) to the window, as the keyboard would.
void postKey(HWND window, int virtualKey);

struct DialogButton {
    int id;
    std::string text;
    RECT rect;  // screen
    LONG style;
};
// The push buttons of a dialog from left to right.
std::vector<DialogButton> pushButtons(HWND dialog);

std::string windowText(HWND window);
// The window with the keyboard focus on the window's thread.
HWND focusOf(HWND window);

// The visible dialogs (#32770) of this process with this caption.
std::vector<HWND> ownDialogs(const std::string& caption);

}  // namespace kzo::test
