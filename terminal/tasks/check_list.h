// A list view turned into a check-box list (the Day and time page's weekdays
// and months): one column whose header is a button, a check box per item, the
// checked items as a bit mask in item order. The space bar toggles the check of
// every selected item, not only of the focused one.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "subclass_wnd.h"

namespace kzo {

class CheckList : private CSubclassWnd {
public:
    // Takes over the list view: check boxes, full-row selection, the header
    // text and the items. False when list is no list view of this process.
    bool attach(HWND list, const std::string& header, const std::vector<std::string>& items);
    HWND hwnd() const { return CSubclassWnd::hwnd(); }

    // Item i checked is bit i.
    int mask() const;
    void setMask(int mask);

    // Drops popup under the header and returns the command chosen (0 for none).
    int dropHeaderMenu(HMENU popup) const;

private:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void toggleSelected();
};

}  // namespace kzo
