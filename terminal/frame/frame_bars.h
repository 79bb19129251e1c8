// The frame's bars: the rebar with the menu bar and the two toolbars (the Task
// List ToolBar holds the schedule selector), the Schedule bar below it and the
// status bar at the bottom.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "menu_bar.h"
#include "subclass_wnd.h"
#include "terminal_settings.h"
#include "win_handles.h"

namespace kzo {

class FrameBars : private CSubclassWnd {
public:
    FrameBars(HINSTANCE module, TerminalSettings& settings);
    ~FrameBars();
    FrameBars(const FrameBars&) = delete;
    FrameBars& operator=(const FrameBars&) = delete;

    // Frame creation steps 2-6: the rebar, the menu bar, both toolbars with
    // their images, labels and drop-down arrow, the selector (showing
    // activeSched), the Schedule bar and the status bar; then the bands in
    // band-layout order, normalised from the rebar's real state.
    bool create(HWND frame, int activeSched);

    HWND rebar() const { return rebar_; }
    HWND mainToolBar() const { return mainBar_; }
    HWND taskToolBar() const { return taskBar_; }
    HWND selector() const { return selector_; }
    HWND scheduleBar() const { return scheduleBar_; }
    HWND statusBar() const { return statusBar_; }
    CMenuBar& menuBar() { return menuBar_; }

    // Lays the bars out in the frame's client area; returns what is left for
    // the task list.
    RECT layout(const RECT& client);

    // The band layout from the rebar's real state into the settings.
    void normalizeLayout();
    // Shows or hides a toolbar's band (kMainToolBar or kTaskListToolBar).
    void toggleToolBar(Bar bar);
    bool isToolBarVisible(Bar bar) const;
    void toggleScheduleBar();
    bool isScheduleBarVisible() const { return settings_.dbr; }
    void toggleStatusBar();
    bool isStatusBarVisible() const;

    // The selector shows this schedule (0 user, 1 system); the Schedule bar's
    // text follows it.
    void showSchedule(int activeSched);
    int selectedSchedule() const;

    // Status pane 0 (prompts), 1 (file path), 2 (task count).
    void setStatus(int pane, const std::string& text);
    // Pane 0 shows the command's prompt: its string up to the line break, or
    // "Ready" for 0.
    void showPrompt(int commandId);

    // Enables and checks every toolbar button from the frame's command states.
    template <typename StateOf>
    void updateButtons(StateOf stateOf);

    // The tool tip of a command: its string after the line break.
    std::string toolTip(int commandId) const;

    // The Start Scheduler button's screen rectangle, for its drop-down menu.
    RECT startButtonRect() const;

    // Saved bar state beside the layout value (the status bar's visibility).
    void loadBarState(HKEY root, const char* productKey);
    void saveBarState(HKEY root, const char* productKey) const;

private:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND createToolBar(int id, bool flat);
    void fillMainToolBar();
    void fillTaskToolBar();
    void setButtonImages(HWND bar, bool large, int smallId, int largeId, int smallTc, int largeTc,
                         UniqueImageList& images);
    void addBands();
    int bandOf(Bar bar) const;
    HWND barWindow(Bar bar) const;
    void setBandChildSize(HWND child);

    HINSTANCE module_;
    TerminalSettings& settings_;
    HWND frame_ = nullptr;
    HWND rebar_ = nullptr;
    HWND mainBar_ = nullptr;
    HWND taskBar_ = nullptr;
    HWND selector_ = nullptr;
    HWND scheduleBar_ = nullptr;
    HWND statusBar_ = nullptr;
    CMenuBar menuBar_;
    int bitsPerPixel_ = 24;
    UniqueImageList mainImages_;
    UniqueImageList taskImages_;
    UniqueFont scheduleBarFont_;
};

template <typename StateOf>
void FrameBars::updateButtons(StateOf stateOf) {
    for (HWND bar : {mainBar_, taskBar_}) {
        int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button = {};
            SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            if (button.fsStyle & BTNS_SEP) continue;
            auto state = stateOf(button.idCommand);
            SendMessageA(bar, TB_ENABLEBUTTON, button.idCommand, MAKELONG(state.enabled, 0));
            bool marked = state.mark != decltype(state)::None && state.marked;
            SendMessageA(bar, TB_CHECKBUTTON, button.idCommand, MAKELONG(marked, 0));
        }
    }
}

}  // namespace kzo
