// The thin base of property pages and the helpers that show them: as a modal
// sheet, as a modal wizard, or as a modeless sheet living as a child of a
// dialog (the task sheet and the options dialog).
//
// One static dialog procedure stores the page object at WM_INITDIALOG and
// routes WM_INITDIALOG, WM_COMMAND, WM_NOTIFY, WM_DROPFILES and WM_DESTROY to
// the virtual functions below; the page notifications of the sheet become the
// on* contract functions, whose answers go to DWLP_MSGRESULT as the sheet
// expects them. An exception thrown by a handler never reaches user32: it is
// kept (failure()), and a modal sheet or wizard ends as if cancelled and
// throws it again from runPropertySheet / runWizard.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

namespace kzo {

class PropertyPage {
public:
    PropertyPage() = default;
    virtual ~PropertyPage() = default;
    PropertyPage(const PropertyPage&) = delete;
    PropertyPage& operator=(const PropertyPage&) = delete;

    // The page for PropertySheetA: dialog templateId of module, tab text
    // tabTitle (nullptr: the template's caption). The page object must outlive
    // the sheet.
    PROPSHEETPAGEA page(HINSTANCE module, int templateId, const char* tabTitle = nullptr);

    // The page's window while it exists, else nullptr; its sheet.
    HWND hwnd() const { return hwnd_; }
    HWND sheet() const { return hwnd_ ? GetParent(hwnd_) : nullptr; }

    // The exception a handler threw, if any (cleared by takeFailure).
    bool failed() const { return static_cast<bool>(failure_); }
    std::exception_ptr takeFailure();

protected:
    // WM_INITDIALOG. TRUE lets the system set the focus.
    virtual BOOL onInit() { return TRUE; }
    // WM_COMMAND. True when handled.
    virtual bool onCommand(int id, int code, HWND control);
    // WM_NOTIFY other than the page notifications below (list views, ...).
    // True when handled; answer goes to DWLP_MSGRESULT.
    virtual bool onNotify(const NMHDR& header, LRESULT& answer);
    // WM_DROPFILES; DragFinish follows, whatever the answer.
    virtual bool onDropFiles(HDROP drop);
    virtual void onDestroy() {}
    // Any other message; result is what the dialog procedure returns.
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    // The page contract.
    // PSN_SETACTIVE: true accepts the activation (answer 0); false refuses it
    // and the sheet goes to the next page (answer -1).
    virtual bool onSetActive() { return true; }
    // PSN_KILLACTIVE: true lets the page be left (answer FALSE); false keeps it
    // (answer TRUE; the page has shown why).
    virtual bool onKillActive() { return true; }
    // PSN_APPLY (OK, Apply, PSM_APPLY): true when the data was accepted
    // (PSNRET_NOERROR); false refuses and keeps this page shown
    // (PSNRET_INVALID_NOCHANGEPAGE; the page has shown why).
    virtual bool onApply() { return true; }
    // PSN_WIZNEXT / PSN_WIZBACK: 0 goes on to the next / previous page, -1 stays,
    // a dialog template id jumps to that page.
    virtual LRESULT onWizardNext() { return 0; }
    virtual LRESULT onWizardBack() { return 0; }
    // PSN_WIZFINISH: true lets the wizard end (answer FALSE); false keeps it
    // open (answer TRUE).
    virtual bool onWizardFinish() { return true; }
    // PSN_QUERYCANCEL: true lets the sheet be cancelled (answer FALSE).
    virtual bool onQueryCancel() { return true; }
    // PSN_RESET: the sheet was cancelled.
    virtual void onReset() {}
    // PSN_HELP: the Help button.
    virtual void onHelp() {}

    // Enables the Apply button (PSM_CHANGED) or not (PSM_UNCHANGED).
    void setModified(bool modified);
    // PSM_SETWIZBUTTONS with PSWIZB_* flags.
    void setWizardButtons(DWORD flags);
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR route(UINT message, WPARAM wParam, LPARAM lParam);
    bool pageNotification(const NMHDR& header, LRESULT& answer);

    HWND hwnd_ = nullptr;
    std::string title_;
    std::exception_ptr failure_;
};

// Whether the common controls know the layouts of comctl32 4.71 (Internet
// Explorer 4.0: the wizard's header titles and bitmaps). Older ones (Windows
// 95 and NT 4.0 as shipped) refuse a page or sheet of that size.
bool commonControlsKnow471();

// The sheet's pages, made from their descriptions (each given the size that
// the common controls know, whatever the array's element size): the handles
// for PROPSHEETHEADERA::phpage. Empty when one cannot be made (none kept).
std::vector<HPROPSHEETPAGE> createPages(const std::vector<PROPSHEETPAGEA>& pages);

// Runs a modal property sheet of these pages (each made by PropertyPage::page),
// without Apply button unless withApply; extraFlags are more PSH_* flags
// (PSH_HASHELP, PSH_PROPTITLE, ...). Returns PropertySheetA's result (>0 OK,
// 0 cancelled, -1 failed), or throws what a page threw.
INT_PTR runPropertySheet(HWND owner, const std::string& caption, std::vector<PROPSHEETPAGEA> pages,
                         DWORD extraFlags = 0, bool withApply = false);

// Runs a modal wizard (PSH_WIZARD) of these pages. Returns PropertySheetA's
// result (>0 finished, 0 cancelled, -1 failed), or throws what a page threw.
INT_PTR runWizard(HWND owner, const std::string& caption, std::vector<PROPSHEETPAGEA> pages,
                  DWORD extraFlags = 0);

// A modeless property sheet created as a child of dialog (control-parent,
// tab stop, visible), its top-left at the placeholder control's top-left moved
// by offset, its own OK/Cancel/Apply/Help buttons hidden and the sheet cut to
// its tab control. hotTrackTabs gives the tab control hot tracking. Returns the
// sheet window (nullptr when it could not be made); it lives until the dialog
// goes. The dialog applies it with applyChildSheet and cancels it with
// cancelChildSheet.
HWND createChildSheet(HWND dialog, HWND placeholder, POINT offset, const std::vector<PROPSHEETPAGEA>& sheetPages,
                      int startPage = 0, bool hotTrackTabs = false);
// Sends the pages PSN_KILLACTIVE (current page) and PSN_APPLY (every page
// created); true when all accepted.
bool applyChildSheet(HWND sheet);
// Sends the pages PSN_QUERYCANCEL and PSN_RESET.
void cancelChildSheet(HWND sheet);

}  // namespace kzo
