#include "history_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "blanks.h"
#include "run_history.h"
#include "history_rows.h"
#include "main_frame.h"
#include "message_text.h"
#include "resource.h"
#include "scheduler_settings.h"
#include "string_table.h"

namespace kzo {

namespace {

// Task, Started and Ended; Result takes the rest of the list's width.
constexpr int kColumnWidths[kHistoryColumnCount - 1] = {120, 125, 125};
constexpr int kLeastResultWidth = 160;
const char* const kColumnFallbacks[kHistoryColumnCount] = {"Task", "Started", "Ended", "Result"};

// The space between the dialog's edge, the list and the buttons, in pixels.
constexpr int kMargin = 10;
constexpr int kGap = 6;

RECT childRect(HWND dialog, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

HistoryDialog::HistoryDialog(std::string scheduleFile, std::string task, bool ampm, bool keepsHistory)
    : scheduleFile_(std::move(scheduleFile)), task_(trimBlanks(task)), ampm_(ampm), keepsHistory_(keepsHistory) {}

BOOL HistoryDialog::onInit() {
    list_ = item(IDC_HISTORY_LIST);
    ListView_SetExtendedListViewStyleEx(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                                        LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    if (!task_.empty()) {
        std::string caption = fillMessage(loadString(IDS_HISTORY_OF_TASK, "History of \"%s\""), {task_});
        SetWindowTextA(hwnd(), caption.c_str());
    }
    RECT window;
    GetWindowRect(hwnd(), &window);
    minimum_ = {window.right - window.left, window.bottom - window.top};
    insertColumns();
    reload();
    layout();
    SetFocus(list_);
    return FALSE;
}

void HistoryDialog::insertColumns() {
    RECT client;
    GetClientRect(list_, &client);
    int rest = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (int width : kColumnWidths) rest -= width;
    for (int c = 0; c < kHistoryColumnCount; ++c) {
        std::string header = loadString(IDS_HISTORY_COLUMN_FIRST + c, kColumnFallbacks[c]);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = c < kHistoryColumnCount - 1 ? kColumnWidths[c] : std::max(kLeastResultWidth, rest);
        column.pszText = header.data();
        column.iSubItem = c;
        ListView_InsertColumn(list_, c, &column);
    }
}

// A refresh keeps the runs selected, the one with the focus and the run at
// the top of the view, each found again in its new row (new runs come in
// above them).
void HistoryDialog::reload() {
    std::vector<RunEvent> selected;
    for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0 && i < static_cast<int>(runs_.size());
         i = ListView_GetNextItem(list_, i, LVNI_SELECTED))
        selected.push_back(runs_[i].last);
    const int focus = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    const int top = ListView_GetTopIndex(list_);
    auto runAt = [this](int i) { return i >= 0 && i < static_cast<int>(runs_.size()) ? &runs_[i].last : nullptr; };
    const RunEvent* was = runAt(focus);
    const RunEvent focused = was ? *was : RunEvent();
    const RunEvent* wasTop = runAt(top);
    const RunEvent topRun = wasTop ? *wasTop : RunEvent();
    const bool keepTop = wasTop != nullptr && top > 0;

    std::vector<RunEvent> events;
    if (!scheduleFile_.empty()) readRunHistory(scheduleFile_, events);
    runs_ = historyRows(events, task_);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list_, static_cast<int>(runs_.size()), LVSICF_NOSCROLL);
    for (const RunEvent& run : selected)
        if (int row = rowOfLaunch(runs_, run); row >= 0) ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
    if (int row = was ? rowOfLaunch(runs_, focused) : -1; row >= 0)
        ListView_SetItemState(list_, row, LVIS_FOCUSED, LVIS_FOCUSED);
    const int newTop = keepTop ? rowOfLaunch(runs_, topRun) : -1;
    if (newTop > 0) {
        RECT first = {};
        ListView_GetItemRect(list_, 0, &first, LVIR_BOUNDS);
        ListView_Scroll(list_, 0, (newTop - ListView_GetTopIndex(list_)) * (first.bottom - first.top));
    } else if (!runs_.empty()) {
        ListView_EnsureVisible(list_, 0, FALSE);
    }
    InvalidateRect(list_, nullptr, TRUE);

    const std::string count = std::to_string(runs_.size());
    std::string text = keepsHistory_
                           ? fillMessage(loadString(IDS_HISTORY_COUNT, "%s runs, the newest first, from \"%s\"."),
                                         {count, historyFileOf(scheduleFile_)})
                           : fillMessage(loadString(IDS_HISTORY_OFF), {count});
    SetDlgItemTextA(hwnd(), IDC_HISTORY_COUNT, text.c_str());
}

// The list takes what the buttons below it leave; the buttons keep to the
// bottom right corner, the count line to the bottom left.
void HistoryDialog::layout() {
    RECT client;
    GetClientRect(hwnd(), &client);
    HWND close = item(IDCANCEL);
    HWND refresh = item(IDC_HISTORY_REFRESH);
    HWND count = item(IDC_HISTORY_COUNT);
    RECT button = childRect(hwnd(), close);
    const int bw = button.right - button.left, bh = button.bottom - button.top;
    const int top = client.bottom - kMargin - bh;
    MoveWindow(close, client.right - kMargin - bw, top, bw, bh, TRUE);
    MoveWindow(refresh, client.right - kMargin - 2 * bw - kGap, top, bw, bh, TRUE);
    RECT line = childRect(hwnd(), count);
    const int lh = line.bottom - line.top;
    MoveWindow(count, kMargin, top + (bh - lh) / 2, std::max(0, static_cast<int>(client.right) - 2 * bw - 2 * kGap - 2 * kMargin), lh,
               TRUE);
    MoveWindow(list_, kMargin, kMargin, std::max(0, static_cast<int>(client.right) - 2 * kMargin),
               std::max(0, top - kGap - kMargin), TRUE);
}

bool HistoryDialog::onCommand(int id, int code, HWND) {
    if (id != IDC_HISTORY_REFRESH || code != BN_CLICKED) return false;
    reload();
    return true;
}

bool HistoryDialog::onNotify(const NMHDR& header, LRESULT& answer) {
    if (header.hwndFrom != list_) return false;
    switch (header.code) {
    case LVN_GETDISPINFOA: {
        auto& info = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header));
        std::size_t row = static_cast<std::size_t>(info.item.iItem);
        if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return true;
        info.item.pszText[0] = '\0';
        if (row < runs_.size()) {
            std::string text = historyCellText(runs_[row], info.item.iSubItem, ampm_);
            lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
        }
        return true;
    }
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_F5) reload();
        answer = 0;
        return true;
    default:
        return false;
    }
}

bool HistoryDialog::onMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_SIZE:
        layout();
        result = 0;
        return true;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = minimum_.cx;
        info->ptMinTrackSize.y = minimum_.cy;
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

void showHistory(CMainFrame& frame, bool ofChosenTask) {
    std::string task;
    if (ofChosenTask) {
        TaskList& list = frame.list();
        int focus = list.focusedRow();
        if (focus >= 0 && static_cast<std::size_t>(focus) < list.rowCount()) {
            task = list.rowName(static_cast<std::size_t>(focus));
        } else {
            std::vector<std::string> chosen = frame.document().chosenNames();
            if (!chosen.empty()) task = chosen.front();
        }
    }
    const bool user = frame.userScheduleShown();
    const bool keeps = readExecutorSettings(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE).history;
    HistoryDialog dialog(frame.store().fileName(), task, frame.settings().ampm, keeps);
    dialog.runModal(frame.module(), IDD_HISTORY, frame.hwnd());
}

}  // namespace kzo
