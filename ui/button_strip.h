// A static control turned into a strip of small flat image buttons with
// tooltips (the Options sheet's "Select All"/"Unselect All", the profile
// list's New/Edit/Delete). The strip draws a sunken border; its buttons are
// squares as high as the inner client area, right-aligned in the given order
// (the last button at the right edge), each with its image centred. The hot
// button is raised, the pressed one sunken. A click sends the parent
// WM_COMMAND(MAKEWPARAM(commandId, BN_CLICKED), strip window).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "subclass_wnd.h"

namespace kzo {

class ButtonStrip : public CSubclassWnd {
public:
    static constexpr int kMaxButtons = 20;
    enum State { Flat = 0, Hot = 1, Pressed = 2 };

    ButtonStrip() = default;
    ~ButtonStrip() override;

    // Turns staticControl into the strip: count buttons, their images taken
    // left to right from one bitmap (imageWidth x imageHeight each, magenta
    // 0xFF00FF transparent), their command identifiers, and the string-table
    // numbers of their tooltips (nullptr: no tooltips; of a string "prompt\ntip"
    // the part after the line feed is shown).
    // bitmapId: a bitmap resource of the program's own module. The HBITMAP
    // overload copies the bitmap; the caller keeps it.
    // Returns 0 when set up, 1 for a count of 0 or above 20 (or no command
    // identifiers), 2 for a missing bitmap, 3 when the control is no window of
    // this process. A refused setup leaves the control as it was.
    int setup(HWND staticControl, int count, int bitmapId, const int* commandIds,
              const int* tooltipStringIds, int imageWidth = 16, int imageHeight = 15);
    int setup(HWND staticControl, int count, HBITMAP bitmap, const int* commandIds,
              const int* tooltipStringIds, int imageWidth = 16, int imageHeight = 15);

    int count() const { return static_cast<int>(buttons_.size()); }
    State state(int index) const;
    // The button's rectangle in the strip's client coordinates (empty when out
    // of range).
    RECT buttonRect(int index) const;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onDetached() override;

private:
    struct Button {
        int command = 0;
        std::string tip;
        State state = Flat;
    };

    int setupWith(HWND control, int count, HBITMAP bitmap, const int* commandIds, const int* tooltipStringIds,
                  int imageWidth, int imageHeight);
    void teardown();
    int hit(int x, int y) const;
    void setStates(int hot, int pressed);
    void paint(HDC dc);
    void updateToolRects();
    void relayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
    void onMouseMove(int x, int y);
    void onButtonDown(int x, int y);
    void onButtonUp(int x, int y);

    std::vector<Button> buttons_;
    HIMAGELIST images_ = nullptr;
    HWND tooltip_ = nullptr;
    int pressed_ = -1;       // the button the mouse went down on, while held
    bool trackingLeave_ = false;
};

}  // namespace kzo
