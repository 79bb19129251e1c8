// One spin control serving whichever number box had the focus last (the hour
// or the minute of a time): each click steps that box within its range. The
// spin's own position is never shown; it is kept far from its ends so that
// every click arrives.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "day_time_rules.h"
#include "dialog_helpers.h"

namespace kzo {

class SpinTarget {
public:
    void attach(HWND spin) {
        spin_ = spin;
        SendMessageA(spin_, UDM_SETRANGE32, 0, 10000);
        SendMessageA(spin_, UDM_SETPOS32, 0, 5000);
    }
    void serve(HWND box, SpinRange range) {
        box_ = box;
        range_ = range;
    }
    HWND box() const { return box_; }
    // UDN_DELTAPOS from the spin.
    void step(int delta) {
        if (!box_ || !IsWindowEnabled(box_)) return;
        SetWindowTextA(box_, spinnedBox(windowText(box_), delta, range_).c_str());
        SendMessageA(spin_, UDM_SETPOS32, 0, 5000);
    }

private:
    HWND spin_ = nullptr;
    HWND box_ = nullptr;
    SpinRange range_{0, 59};
};

}  // namespace kzo
