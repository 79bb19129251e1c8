// CMainFrame: the Terminal's one window. It owns the schedule store of the
// schedule shown, the task list (its client area), the bars, the command table
// and the features that act on them; everything the user does arrives here as a
// command id and leaves through the table.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "command_table.h"
#include "frame_bars.h"
#include "schedule_document.h"
#include "schedule_store.h"
#include "task_list.h"
#include "terminal_settings.h"
#include "win_handles.h"

namespace kzo {

// Help contexts: the help topic a Help request opens.
enum HelpContext { kHelpMain = 0, kHelpOptions = 1, kHelpTask = 2, kHelpCredits = 3 };

class CMainFrame : public DocumentHost {
public:
    // The features that act on the frame (task editing, the scheduler commands,
    // the Options) add their commands through registerFeatures when the window
    // is created: the frame itself knows none of them.
    using FeatureRegistration = std::function<void(CMainFrame&)>;
    CMainFrame(HINSTANCE module, TerminalSettings& settings, std::string programPath,
               FeatureRegistration registerFeatures = nullptr);
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Registers the class and creates the window from resource 128 (menu,
    // accelerators, icon, caption "KZO Scheduler 6"), running the creation
    // steps. False when the window could not be made.
    bool create();
    // Places and shows the window from the stored placement.
    void place();
    // Runs the message loop until the frame is gone; returns the exit code.
    // An exception that a handler threw comes out of here.
    int run();

    HWND hwnd() const override { return hwnd_; }
    HINSTANCE module() const { return module_; }

    // --- What the features use ----------------------------------------------
    TerminalSettings& settings() override { return settings_; }
    ConfirmationFlags& confirmations() override { return confirmations_; }
    ScheduleStore& store() override { return store_; }
    TaskList& list() override { return list_; }
    FrameBars& bars() override { return bars_; }
    ScheduleDocument& document() { return document_; }
    CommandTable& commands() { return commands_; }
    const std::string& programPath() const { return programPath_; }
    std::string programFolder() const { return folderOf(programPath_); }

    // 0 the user schedule is shown, 1 the system schedule.
    int activeSched() const { return settings_.activeSched; }
    bool userScheduleShown() const override { return settings_.activeSched == 0; }
    // The schedule file value of the schedule shown, unexpanded.
    const std::string& scheduleFile() const override;
    // The update event of the schedule shown; opened again when it was
    // missing, since its executor may have started after the Terminal.
    HANDLE updateEvent() override;
    HANDLE updateEvent(int schedule);

    // Help for a context (the frame's, or a dialog's while it is open).
    void setHelpContext(int context) { helpContext_ = context; }
    void showHelp(int context);

    // Re-reads every command's state into the toolbars (menus are updated as
    // they open).
    void updateCommandUi() override;
    // Switches to the schedule (0 user, 1 system): saves first when the last
    // save failed; refused with a message when there is no system schedule.
    void switchSchedule(int schedule);
    // A dropped file waiting for the wizard, taken once.
    std::string takePendingDrop() override;

private:
    static LRESULT CALLBACK windowProcEntry(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    bool onCreate();
    void onSize();
    void onCommand(int id, int code, HWND control);
    LRESULT onNotify(const NMHDR& header);
    void onInitMenuPopup(HMENU menu);
    void onContextMenu(HWND target, int x, int y);
    void onDropFiles(HDROP drop);
    void onClose();
    void registerCommands();
    void onSelectorChanged();
    void showStartMenu();
    void openAddress(const char* address);
    bool preTranslate(MSG& msg);

    HINSTANCE module_;
    TerminalSettings& settings_;
    std::string programPath_;
    FeatureRegistration registerFeatures_;
    HWND hwnd_ = nullptr;
    HACCEL accelerators_ = nullptr;
    ConfirmationFlags confirmations_{};
    ScheduleStore store_;
    TaskList list_;
    FrameBars bars_;
    CommandTable commands_;
    ScheduleDocument document_;
    UniqueMenu contextMenus_;
    UniqueMenu startMenus_;
    UniqueHandle userEvent_;
    UniqueHandle systemEvent_;
    int helpContext_ = kHelpMain;
    std::string pendingDrop_;
    bool dropPending_ = false;
    std::exception_ptr failure_;
};

}  // namespace kzo
