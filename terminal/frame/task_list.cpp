#include "task_list.h"

#include <algorithm>
#include <cstring>

#include "clock.h"
#include "diagnostics_info.h"
#include "list_font.h"
#include "next_run_text.h"
#include "resource.h"
#include "string_table.h"

namespace kzo {

namespace {

constexpr int kDefaultWidths[kFirstColumns] = {127, 120, 48, 48, 69, 198, 40, 100};
constexpr COLORREF kRowImageMask = RGB(0, 255, 0);

}  // namespace

TaskList::TaskList(HINSTANCE module, const ScheduleStore& store, TerminalSettings& settings)
    : module_(module), store_(store), settings_(settings) {}

TaskList::~TaskList() { detach(); }

bool TaskList::create(HWND parent, int id) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT |
                  LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_OWNERDATA;
    list_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_, nullptr);
    if (!list_) return false;
    defaultFont_ = reinterpret_cast<HFONT>(SendMessageA(list_, WM_GETFONT, 0, 0));
    DWORD ex = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_UNDERLINEHOT | LVS_EX_INFOTIP;
    ListView_SetExtendedListViewStyleEx(list_, ex, ex);
    hint_ = loadString(IDS_EMPTY_LIST_HINT);
    names_ = loadTaskListNames();
    setGrid(settings_.grid);
    setOneTouch(settings_.oneTouch);
    attach(list_);
    return true;
}

void TaskList::setImages(int bitsPerPixel) {
    bool deep = bitsPerPixel >= 16;
    smallImages_.reset(ImageList_LoadImageA(module_, MAKEINTRESOURCEA(deep ? IDB_ROWS_SMALL_TC : IDB_ROWS_SMALL),
                                            17, 0, kRowImageMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
    largeImages_.reset(ImageList_LoadImageA(module_, MAKEINTRESOURCEA(deep ? IDB_ROWS_LARGE_TC : IDB_ROWS_LARGE),
                                            32, 0, kRowImageMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
    ListView_SetImageList(list_, smallImages_.get(), LVSIL_SMALL);
    ListView_SetImageList(list_, largeImages_.get(), LVSIL_NORMAL);
}

void TaskList::insertColumns() {
    const TerminalSettings& s = settings_;
    const int stored[kTaskListColumns] = {s.taskW, s.dateW,  s.monthW, s.timeW, s.intW,
                                          s.commW, s.sFoldW, s.lrW,    s.lResW};
    for (int c = 0; c < kTaskListColumns; ++c) {
        std::string header = loadString(IDS_COLUMN_FIRST + c);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = s.taskW == -1 && c < kFirstColumns ? kDefaultWidths[c] : stored[c];
        column.pszText = header.data();
        column.iSubItem = c;
        ListView_InsertColumn(list_, c, &column);
    }
    if (s.colOrder[0] != -1 && isColumnPermutation(s.colOrder))
        ListView_SetColumnOrderArray(list_, kTaskListColumns, const_cast<int*>(s.colOrder.data()));

    HWND header = ListView_GetHeader(list_);
    flatHeader_.attach(header);
    const int arrowIds[3] = {IDB_ARROW_NONE, IDB_ARROW_UP, IDB_ARROW_DOWN};
    for (int i = 0; i < 3; ++i)
        arrows_[i].reset(static_cast<HBITMAP>(LoadImageA(module_, MAKEINTRESOURCEA(arrowIds[i]), IMAGE_BITMAP,
                                                         0, 0, LR_LOADMAP3DCOLORS)));
    int sort = validSortValue(settings_.sort);
    showSortArrow(sortColumn(sort), sortDescending(sort) ? 2 : 1);
}

void TaskList::showSortArrow(int column, int arrow) {
    HWND header = ListView_GetHeader(list_);
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    if (!Header_GetItem(header, column, &item)) return;
    item.mask = HDI_FORMAT | HDI_BITMAP;
    item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
    item.hbm = arrows_[arrow].get();
    Header_SetItem(header, column, &item);
}

std::string TaskList::rowName(std::size_t row) const {
    if (row >= rows_.size()) return std::string();
    return fieldText(store_.item(rows_[row]).name);
}

void TaskList::cellText(std::size_t row, int column, char* out, int size) const {
    if (size <= 0) return;
    out[0] = '\0';
    if (row >= rows_.size()) return;
    CellOptions options;
    options.ampm = settings_.ampm;
    options.userSchedule = userSchedule_;
    options.lastResult = lastResultOfRecord(rows_[row]);
    taskCellText(store_.item(rows_[row]), column, options, names_, out, static_cast<std::size_t>(size));
}

void TaskList::setLastResults(std::map<std::string, RunEvent> results) {
    lastResults_ = std::move(results);
    matchLastResults();
    if (rows_.empty()) return;
    if (sortColumn(settings_.sort) == kColumnLastResult) sortKeepingSelection();
    InvalidateRect(list_, nullptr, FALSE);
}

void TaskList::matchLastResults() {
    lastOfRecord_.assign(store_.count(), nullptr);
    if (lastResults_.empty()) return;
    for (std::size_t i = 0; i < lastOfRecord_.size(); ++i) {
        auto found = lastResults_.find(trimmedName(store_.item(i)));
        if (found != lastResults_.end()) lastOfRecord_[i] = &found->second;
    }
}

const RunEvent* TaskList::lastResultOfRecord(std::size_t record) const {
    return record < lastOfRecord_.size() ? lastOfRecord_[record] : nullptr;
}

const RunEvent* TaskList::lastResultOf(std::size_t row) const {
    return row < rows_.size() ? lastResultOfRecord(rows_[row]) : nullptr;
}

void TaskList::sortRows() {
    // Stable: tasks that compare equal keep their order in the file.
    int sort = validSortValue(settings_.sort);
    std::stable_sort(rows_.begin(), rows_.end(), [&](std::size_t a, std::size_t b) {
        return compareTasksForSort(store_.item(a), store_.item(b), sort, lastResultOfRecord(a),
                                   lastResultOfRecord(b)) < 0;
    });
}

void TaskList::rebuild() {
    clear();
    rows_.resize(store_.count());
    for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i] = i;
    matchLastResults();
    sortRows();
    // Setting the count updates the scroll bars, which costs more than the
    // whole rebuild on some systems: only when it changes.
    if (static_cast<std::size_t>(ListView_GetItemCount(list_)) != rows_.size())
        ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(list_, nullptr, TRUE);
    SetFocus(list_);
}

void TaskList::clear() {
    unselectEverything();
    // The control keeps its count until the rebuild sets the new one; rows it
    // asks for meanwhile are beyond rows_ and shown empty.
    rows_.clear();
    InvalidateRect(list_, nullptr, TRUE);
}

void TaskList::unselectEverything() {
    // Unselecting "every row" at once costs about as much as a thousand rows
    // one by one: a few selected rows are unselected one by one.
    constexpr UINT kFewRows = 64;
    UINT selected = ListView_GetSelectedCount(list_);
    if (selected > kFewRows) {
        ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        return;
    }
    std::vector<int> rows;
    int row = -1;
    while (rows.size() < selected && (row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) != -1) rows.push_back(row);
    int focus = focusedRow();
    if (focus != -1) rows.push_back(focus);
    for (int r : rows) ListView_SetItemState(list_, r, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

std::vector<std::size_t> TaskList::chosenRows() const {
    std::vector<std::size_t> chosen;
    int row = -1;
    while ((row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) != -1) chosen.push_back(row);
    int focus = focusedRow();
    if (focus != -1 && !std::binary_search(chosen.begin(), chosen.end(), static_cast<std::size_t>(focus))) {
        chosen.push_back(focus);
        std::sort(chosen.begin(), chosen.end());
    }
    chosen.erase(std::remove_if(chosen.begin(), chosen.end(), [&](std::size_t r) { return r >= rows_.size(); }),
                 chosen.end());
    return chosen;
}

int TaskList::focusedRow() const { return ListView_GetNextItem(list_, -1, LVNI_FOCUSED); }

void TaskList::setView(int view) {
    static const DWORD kViews[] = {LVS_REPORT, LVS_LIST, LVS_ICON};
    if (view < 0 || view > 2) view = 0;
    LONG_PTR style = GetWindowLongPtrA(list_, GWL_STYLE);
    SetWindowLongPtrA(list_, GWL_STYLE, (style & ~LVS_TYPEMASK) | kViews[view]);
    settings_.view = view;
    applyColors();
}

void TaskList::setGrid(bool grid) {
    ListView_SetExtendedListViewStyleEx(list_, LVS_EX_GRIDLINES, grid ? LVS_EX_GRIDLINES : 0);
}

void TaskList::setOneTouch(bool oneTouch) {
    DWORD flags = LVS_EX_ONECLICKACTIVATE | LVS_EX_TRACKSELECT;
    ListView_SetExtendedListViewStyleEx(list_, flags, oneTouch ? flags : 0);
}

void TaskList::applyColors() {
    const TerminalSettings& s = settings_;
    if (s.defColors) {
        ListView_SetTextColor(list_, GetSysColor(COLOR_WINDOWTEXT));
        ListView_SetTextBkColor(list_, GetSysColor(COLOR_WINDOW));
        ListView_SetBkColor(list_, GetSysColor(COLOR_WINDOW));
        SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont_), TRUE);
        font_.reset();
    } else {
        ListView_SetTextColor(list_, s.textColor);
        ListView_SetTextBkColor(list_, s.bkColor);
        bool unusedArea = s.view == 0 && s.useColors;
        ListView_SetBkColor(list_, unusedArea ? s.bkColors[kUnusedAreaEntry] : s.bkColor);
        HFONT font = defaultFont_;
        if (s.fontValid) {
            LOGFONTA lf = logFontOf(s.font);
            UniqueFont made(CreateFontIndirectA(&lf));
            if (made) font = made.get();
            SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            font_ = std::move(made);
        } else {
            SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
            font_.reset();
        }
    }
    InvalidateRect(list_, nullptr, TRUE);
}

void TaskList::selectAll() { ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED); }

void TaskList::unselectAll() { ListView_SetItemState(list_, -1, 0, LVIS_SELECTED); }

void TaskList::invertSelection() {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        UINT state = ListView_GetItemState(list_, static_cast<int>(row), LVIS_SELECTED);
        ListView_SetItemState(list_, static_cast<int>(row), state & LVIS_SELECTED ? 0 : LVIS_SELECTED,
                              LVIS_SELECTED);
    }
}

void TaskList::sortByColumn(int column) {
    if (column < 0 || column >= kTaskListColumns) return;
    int previous = sortColumn(settings_.sort);
    settings_.sort = sortValueAfterClick(settings_.sort, column);
    showSortArrow(previous, 0);
    showSortArrow(column, sortDescending(settings_.sort) ? 2 : 1);
    sortKeepingSelection();
}

void TaskList::sortKeepingSelection() {
    // The selection and the focus follow their tasks, not their row numbers.
    std::vector<std::size_t> selected;
    int row = -1;
    while ((row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) != -1)
        if (static_cast<std::size_t>(row) < rows_.size()) selected.push_back(rows_[row]);
    int focus = focusedRow();
    std::size_t focusRecord = focus >= 0 && static_cast<std::size_t>(focus) < rows_.size() ? rows_[focus] : SIZE_MAX;
    sortRows();
    unselectEverything();
    std::sort(selected.begin(), selected.end());
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        UINT state = 0;
        if (std::binary_search(selected.begin(), selected.end(), rows_[r])) state |= LVIS_SELECTED;
        if (rows_[r] == focusRecord) state |= LVIS_FOCUSED;
        if (state) ListView_SetItemState(list_, static_cast<int>(r), state, state);
    }
    InvalidateRect(list_, nullptr, FALSE);
}

void TaskList::storeLayout() {
    if (settings_.view == 0) {
        std::int32_t* fields[kTaskListColumns] = {&settings_.taskW,  &settings_.dateW, &settings_.monthW,
                                                  &settings_.timeW,  &settings_.intW,  &settings_.commW,
                                                  &settings_.sFoldW, &settings_.lrW,   &settings_.lResW};
        for (int c = 0; c < kTaskListColumns; ++c) *fields[c] = ListView_GetColumnWidth(list_, c);
    }
    ColumnOrder order;
    if (ListView_GetColumnOrderArray(list_, kTaskListColumns, order.data()) && isColumnPermutation(order))
        settings_.colOrder = order;
}

bool TaskList::onNotify(const NMHDR& header, LRESULT& result, int activateCommand) {
    switch (header.code) {
    case LVN_GETDISPINFOA: {
        auto& info = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header));
        std::size_t row = static_cast<std::size_t>(info.item.iItem);
        if (row >= rows_.size()) return true;
        if (info.item.mask & LVIF_TEXT) cellText(row, info.item.iSubItem, info.item.pszText, info.item.cchTextMax);
        if (info.item.mask & LVIF_IMAGE) info.item.iImage = store_.item(rows_[row]).active ? 0 : 1;
        return true;
    }
    case LVN_ODFINDITEMA: {
        // Typing a name's first letters in the list goes to that task.
        const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
        result = -1;
        if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return true;
        std::size_t length = std::strlen(find.lvfi.psz);
        std::size_t n = rows_.size();
        for (std::size_t k = 0; k < n; ++k) {
            std::size_t row = (static_cast<std::size_t>(std::max(find.iStart, 0)) + k) % n;
            std::string name = rowName(row);
            if (name.size() >= length && _strnicmp(name.c_str(), find.lvfi.psz, length) == 0) {
                result = static_cast<LRESULT>(row);
                break;
            }
        }
        return true;
    }
    case NM_CUSTOMDRAW:
        return onCustomDraw(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)), result);
    case LVN_GETINFOTIPA: {
        // A row's tip says when its task runs next, as its scheduler will run it.
        auto& tip = const_cast<NMLVGETINFOTIPA&>(reinterpret_cast<const NMLVGETINFOTIPA&>(header));
        std::size_t row = static_cast<std::size_t>(tip.iItem);
        if (row >= rows_.size() || !tip.pszText || tip.cchTextMax <= 0) return true;
        SystemClock clock;
        const ZoneRule zone = clock.zoneRule();
        std::string text = nextRunText(store_.item(rows_[row]), clock.now(),
                                       userSchedule_ ? SchedulerRole::User : SchedulerRole::System, settings_.ampm,
                                       &zone);
        // And what became of its last launch.
        if (const RunEvent* last = lastResultOf(row)) text += "\r\n" + lastResultTip(*last, settings_.ampm);
        lstrcpynA(tip.pszText, text.c_str(), tip.cchTextMax);
        return true;
    }
    case LVN_COLUMNCLICK:
        sortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        return true;
    case LVN_ITEMACTIVATE:
        PostMessageA(GetParent(list_), WM_COMMAND, activateCommand, 0);
        return true;
    default:
        return false;
    }
}

bool TaskList::onCustomDraw(NMLVCUSTOMDRAW& draw, LRESULT& result) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    case CDDS_ITEMPREPAINT: {
        result = CDRF_DODEFAULT;
        std::size_t row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
        if (!settings_.useColors || settings_.defColors || row >= rows_.size()) return true;
        const RunEvent* last = lastResultOf(row);
        RowColors colors = rowColors(settings_, store_.item(rows_[row]), last && isFailure(*last));
        draw.clrText = colors.text;
        draw.clrTextBk = colors.background;
        result = CDRF_NEWFONT;
        return true;
    }
    default:
        return false;
    }
}

void TaskList::paintEmptyHint(HDC dc) const {
    RECT client;
    GetClientRect(list_, &client);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    int baseline = std::max<int>(static_cast<int>(client.bottom) / 2, 30);
    TextOutA(dc, (client.right - client.left) / 2, baseline, hint_.c_str(), static_cast<int>(hint_.size()));
    SetTextAlign(dc, oldAlign);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
}

LRESULT TaskList::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        LRESULT answer = callNext(message, wParam, lParam);
        if (rows_.empty()) {
            HDC dc = GetDC(list_);
            paintEmptyHint(dc);
            ReleaseDC(list_, dc);
        }
        return answer;
    }
    case WM_SIZE:
    case WM_HSCROLL:
        if (rows_.empty()) InvalidateRect(list_, nullptr, TRUE);
        return callNext(message, wParam, lParam);
    case WM_NOTIFY: {
        // The header's width changes: the hint is centred again.
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (rows_.empty() && (header->code == HDN_ITEMCHANGEDA || header->code == HDN_ITEMCHANGEDW))
            InvalidateRect(list_, nullptr, TRUE);
        return callNext(message, wParam, lParam);
    }
    default:
        return callNext(message, wParam, lParam);
    }
}

POINT TaskList::keyboardMenuPoint() const {
    POINT point = {0, 0};
    int row = 0;
    std::vector<std::size_t> chosen = chosenRows();
    if (!chosen.empty()) row = static_cast<int>(chosen.front());
    RECT bounds;
    if (!rows_.empty() && ListView_GetItemRect(list_, row, &bounds, LVIR_BOUNDS)) {
        point.x = bounds.left + 10;
        point.y = bounds.bottom;
    }
    ClientToScreen(list_, &point);
    return point;
}

}  // namespace kzo
