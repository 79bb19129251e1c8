// The frame's menu as a bar of flat buttons inside the rebar, in place of the
// window menu. One button per top-level item of the menu resource; a button
// with a popup opens it below itself with TrackPopupMenuEx, owned by the FRAME,
// so that WM_INITMENUPOPUP, WM_MENUSELECT and WM_COMMAND reach the frame as
// from a window menu; a button without popup sends its command to the frame.
//
// While a popup is open a message-filter hook switches menus: Left on the
// bar's own popup and Right on an item without submenu open the neighbouring
// menu (wrapping, past hidden and disabled buttons), the mouse moving onto
// another button opens that one, a click on the open button closes it.
//
// The keyboard reaches the bar through preTranslateMessage: Alt pressed and
// released alone, or F10 without Shift and Ctrl, make the first button hot;
// then Left/Right move, Space/Up/Down/Return open, Escape leaves, and a letter
// opens the menu with that mnemonic (one no menu has ends the hot state).
// Alt+letter opens the menu with that mnemonic directly.
//
// The frame is subclassed (CSubclassWnd): it answers the registered message
// "CMenuBar::WM_GETMENU" with the bar's menu, passes WM_SYSCOLORCHANGE and
// WM_WININICHANGE to the bar (fonts and sizes recomputed, the rebar band
// updated), and greys the buttons while it is inactive (WM_NCACTIVATE). The
// bar removes the frame's own window menu through its registered message
// "CMenuBar::MB_SET_MENU_NULL".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "subclass_wnd.h"
#include "win_handles.h"

namespace kzo {

class CMenuBar {
public:
    CMenuBar();
    ~CMenuBar();
    CMenuBar(const CMenuBar&) = delete;
    CMenuBar& operator=(const CMenuBar&) = delete;

    // Creates the bar as a child of parent (the rebar) for frame, from the menu
    // resource menuId of module. False when the menu or the window cannot be
    // made (GetLastError tells why). Put hwnd() into a rebar band of
    // idealSize(); the bar owns the menu.
    bool create(HWND frame, HWND parent, HINSTANCE module, int menuId);

    HWND hwnd() const { return window_; }
    HMENU menu() const { return menu_; }
    // The size of the buttons side by side (one above the other when the rebar
    // is vertical): the band's minimum and ideal child size.
    SIZE idealSize() const;

    // Called by the frame's message loop for every message before
    // TranslateAccelerator; true when the bar consumed it (do not translate or
    // dispatch it then).
    bool preTranslateMessage(MSG& msg);

    // 0 idle, 1 a button hot by keyboard, 2 a popup open.
    int trackingState() const { return state_; }
    // The hot or open button, -1 when none.
    int hotButton() const { return hot_; }
    int buttonCount() const { return static_cast<int>(buttons_.size()); }
    // A button's rectangle in the bar's client coordinates.
    RECT buttonRect(int index) const;

    // The registered messages.
    static UINT setMenuNullMessage();
    static UINT getMenuMessage();

private:
    struct Button {
        std::string text;
        HMENU popup = nullptr;
        UINT command = 0;
        char mnemonic = '\0';
        bool enabled = true;
        int width = 0;
    };

    class FrameHook : public CSubclassWnd {
    public:
        explicit FrameHook(CMenuBar& bar) : bar_(bar) {}
        using CSubclassWnd::callNext;

    protected:
        LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CMenuBar& bar_;
    };

    static LRESULT CALLBACK barProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK menuFilter(int code, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT frameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool filterMenuMessage(const MSG& msg);

    void loadButtons();
    void measure();
    void updateBand();
    void paint(HDC dc);
    void paintButton(HDC dc, int index);
    int hitTest(POINT client) const;
    int hitTestScreen(POINT screen) const;
    std::vector<bool> usable() const;
    bool vertical() const;

    void setHot(int index, int state);
    void enterHotState();
    void leaveHotState();
    void openButton(int index, bool byKeyboard);
    void trackPopups(int index, bool byKeyboard);
    void switchDuringMenu(int index, bool byKeyboard);
    bool hotStateKey(const MSG& msg);
    bool openByMnemonic(char typed);
    void setActive(bool active);

    HWND frame_ = nullptr;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    FrameHook frameHook_;
    UniqueFont font_;
    int buttonHeight_ = 0;
    std::vector<Button> buttons_;

    int state_ = 0;
    int hot_ = -1;
    int mouseHot_ = -1;
    bool trackingLeave_ = false;
    bool frameActive_ = true;
    bool showCues_ = false;  // mnemonic underlines while used from the keyboard
    bool altAlone_ = false;
    bool menuMode_ = false;  // hot after Left/Right left an open menu: moving on opens again

    // The menu loop.
    HMENU openPopup_ = nullptr;
    HMENU currentMenu_ = nullptr;
    bool selectedOpensSubmenu_ = false;
    int pendingSwitch_ = -1;
    bool pendingByKeyboard_ = false;
    bool escapedAtTop_ = false;
    HHOOK hook_ = nullptr;
};

}  // namespace kzo
