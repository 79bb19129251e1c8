// A list view's header drawn flat: a highlight line along the top, a shadow
// line along the bottom, a highlight line before and a shadow line after every
// column divider, the rest in the button face colour. The header still draws
// its own texts and bitmaps (the sort arrow, HDF_BITMAP_ON_RIGHT); only the
// raised borders go. Under a visual style the header keeps the system's look.
#pragma once

#include <windows.h>

#include "subclass_wnd.h"

namespace kzo {

class FlatHeader : public CSubclassWnd {
public:
    // Subclasses the header of this list view. False when it has none or it is
    // already attached.
    bool attachToListView(HWND listView);

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool themed() const;
    void paintFlat(HDC dc);
};

}  // namespace kzo
