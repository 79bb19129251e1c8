// The thin base of the suite's dialogs. One static dialog procedure stores the
// object at WM_INITDIALOG and routes messages to the handlers below; a handler's
// exception never crosses into user32: it ends the dialog and is thrown again by
// runModal once the modal loop has returned.
#pragma once

#include <windows.h>

#include <exception>

namespace kzo {

class DialogBase {
public:
    DialogBase() = default;
    virtual ~DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Runs the dialog of this template of module modally on the calling thread
    // (DialogBoxParamA). Returns the result given to endDialog, or -1 when the
    // dialog could not be created (GetLastError tells why). Rethrows an
    // exception that a handler threw.
    INT_PTR runModal(HINSTANCE module, int templateId, HWND owner);

    // The dialog window while it exists, else nullptr.
    HWND hwnd() const { return hwnd_; }

protected:
    // WM_INITDIALOG. Returns TRUE to let the system give the focus to the first
    // control, FALSE when the handler has set the focus itself.
    virtual BOOL onInit() { return TRUE; }
    // WM_COMMAND. True when handled. What it leaves of OK and Cancel (IDOK,
    // IDCANCEL: the buttons, Enter, Escape, the close box) goes to onOk and
    // onCancel.
    virtual bool onCommand(int id, int code, HWND control);
    // OK: the dialog's own check and write-back; true ends the dialog with
    // IDOK, false keeps it open (the check has shown why).
    virtual bool onOk() { return true; }
    // Cancel: anything to undo before the dialog ends with IDCANCEL.
    virtual void onCancel() {}
    // WM_NOTIFY. True when handled; the answer goes to DWLP_MSGRESULT.
    virtual bool onNotify(const NMHDR& header, LRESULT& answer);
    // WM_DESTROY, while the controls still exist.
    virtual void onDestroy() {}
    // Any other message. True when handled; result is what the dialog procedure
    // returns (a brush for WM_CTLCOLOR*, TRUE/FALSE otherwise).
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    void endDialog(INT_PTR result) { EndDialog(hwnd_, result); }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR route(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL command(int id, int code, HWND control);

    HWND hwnd_ = nullptr;
    std::exception_ptr failure_;
};

// The top-level window that holds window (a page's sheet, a dialog's own
// window): GetAncestor's GA_ROOT, which Windows 95 and NT 4.0 lack.
HWND topLevelWindow(HWND window);

}  // namespace kzo
