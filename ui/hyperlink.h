// A static text control that holds an address and opens it when clicked: blue
// (0xFF0000 as a Windows colour value) before its first use, purple (0x800080)
// once opened, red (0x0000FF) while the mouse is over it; the mouse is
// captured while over it so that leaving is noticed. Cursor: the system's hand,
// or the program's cursor 6130 where the system has none. Its context menu
// (menu 6103: Open, Copy Shortcut, Add to Favorites, Add to Desktop,
// Properties) opens on the right button or from the keyboard, then at 5
// pixels inside its top-left corner. Give the static WS_TABSTOP to make it
// reachable by keyboard (Space opens it then).
#pragma once

#include <windows.h>

#include <string>

#include "property_page.h"
#include "subclass_wnd.h"
#include "win_handles.h"

namespace kzo {

class HyperLink : public CSubclassWnd {
public:
    static constexpr COLORREF kUnvisited = 0xFF0000;
    static constexpr COLORREF kVisited = 0x800080;
    static constexpr COLORREF kHover = 0x0000FF;

    // Turns the static control into a link to address. False when it is no
    // window of this process or already attached.
    bool create(HWND staticControl, const std::string& address);

    const std::string& address() const { return address_; }
    bool visited() const { return visited_; }
    // The colour the text is drawn in now.
    COLORREF colour() const;

    // Opens the address as a click does (the shell's Internet shortcut object
    // with the verb "open", else the shell's "open" of the address); true when
    // opened, and the label counts as visited. A failure is shown to the user.
    bool open();
    // Carries out a command of the context menu (ID_UI_LINK_OPEN ...
    // ID_UI_LINK_PROPERTIES of ui_resource.h).
    void command(int id);

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint(HDC dc);
    void makeFont();
    void setHover(bool hover);
    void onMouseMove(POINT client);
    void showContextMenu(LPARAM screenPoint);
    void copyShortcut();
    void addShortcut(int folder);
    std::string labelText() const;
    void report(unsigned stringId, const char* english, const std::string& detail);

    std::string address_;
    bool visited_ = false;
    bool hover_ = false;
    bool pressed_ = false;
    UniqueFont font_;
};

// The "General" page of the link's properties: "Address (URL):" and the
// address (dialog 6120 of ui.rc).
class CHLinkPage : public PropertyPage {
public:
    CHLinkPage(const std::string& name, const std::string& address) : name_(name), address_(address) {}

protected:
    BOOL onInit() override;

private:
    std::string name_;
    std::string address_;
};

// The link's property sheet: the one page, no Apply button.
class CHLinkSheet {
public:
    CHLinkSheet(const std::string& name, const std::string& address) : name_(name), page_(name, address) {}
    INT_PTR run(HWND owner);

private:
    std::string name_;
    CHLinkPage page_;
};

}  // namespace kzo
