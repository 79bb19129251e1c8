#include "diagnostics_dialog.h"

#include <commctrl.h>

#include <vector>

#include "diagnostics_info.h"
#include "diagnostics_report.h"
#include "main_frame.h"
#include "resource.h"
#include "string_table.h"
#include "terminal_boxes.h"

namespace kzo {

BOOL DiagnosticsDialog::onInit() {
    HWND headline = item(IDC_DIAG_HEADLINE);
    LOGFONTA lf = {};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(headline, WM_GETFONT, 0, 0));
    if (GetObjectA(font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) {
        lf.lfWeight = FW_BOLD;
        bold_.reset(CreateFontIndirectA(&lf));
        SendMessageA(headline, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
    }
    HWND edit = item(IDC_DIAG_REPORT);
    SendMessageA(edit, EM_LIMITTEXT, kReportBufferSize, 0);
    SetWindowTextA(edit, report_.c_str());
    // Ready to be copied, shown from its first line: all selected, the caret
    // at the start.
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(GetWindowTextLengthA(edit)), 0);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    return FALSE;
}

// The report on white, as a text to copy rather than a greyed field.
bool DiagnosticsDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message != WM_CTLCOLORSTATIC || reinterpret_cast<HWND>(lParam) != item(IDC_DIAG_REPORT)) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    return true;
}

std::string frameDiagnosticsReport(CMainFrame& frame) {
    DiagnosticsInput input = gatherDiagnostics(frame.programFolder(), !frame.userScheduleShown());
    input.lastResults = frame.list().lastResults();
    // The selected rows, in list order: each row is its own record, so two
    // tasks of one name are both reported.
    TaskList& list = frame.list();
    std::vector<const TaskRecord*> tasks;
    int row = -1;
    while ((row = ListView_GetNextItem(list.hwnd(), row, LVNI_SELECTED)) >= 0)
        if (static_cast<std::size_t>(row) < list.rowCount())
            tasks.push_back(&frame.store().item(list.recordOf(static_cast<std::size_t>(row))));
    return diagnosticsReport(input, tasks, executableType);
}

void runDiagnostics(CMainFrame& frame) {
    if (!confirm(frame.hwnd(), loadString(IDS_DIAGNOSTICS_QUERY), frame.confirmations(), kConfirmDiagnostics,
                 MB_OKCANCEL, MB_ICONINFORMATION, queryCaption()))
        return;
    DiagnosticsDialog dialog(frameDiagnosticsReport(frame));
    dialog.runModal(frame.module(), IDD_DIAGNOSTICS, frame.hwnd());
}

}  // namespace kzo
