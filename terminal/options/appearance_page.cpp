#include "appearance_page.h"

#include <commctrl.h>
#include <commdlg.h>


#include "list_font.h"
#include "resource.h"
#include "string_table.h"

namespace kzo {

namespace {

constexpr int kSampleColumnWidth = 200;

const char* const kEntryFallbacks[kColorListEntries] = {
    "All tasks",           "Active Application",  "Active Document",  "Active Message",   "Active Shutdown",
    "Inactive Application", "Inactive Document", "Inactive Message", "Inactive Shutdown", "Unused list area",
    "Last run failed"};

}  // namespace

bool COps0::checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }

BOOL COps0::onInit() {
    const TerminalSettings& s = settings_;
    sample_ = item(IDC_LOOK_SAMPLE);
    ListView_SetExtendedListViewStyleEx(sample_, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    fillSample();
    const struct {
        int id;
        bool on;
    } boxes[] = {{IDC_LOOK_DEFCOLORS, s.defColors}, {IDC_LOOK_GRID, s.grid},   {IDC_LOOK_ONETOUCH, s.oneTouch},
                 {IDC_LOOK_USECOLORS, s.useColors}, {IDC_LOOK_TBTEXT, s.tbText}, {IDC_LOOK_MTBS, s.mtbs},
                 {IDC_LOOK_LTBS, s.ltbs}};
    for (const auto& box : boxes) CheckDlgButton(hwnd(), box.id, box.on ? BST_CHECKED : BST_UNCHECKED);
    enableColorControls();
    showSample();
    return TRUE;
}

void COps0::fillSample() {
    std::string column = loadString(IDS_SAMPLE_COLUMN, "Tasks");
    LVCOLUMNA lvc = {};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH;
    lvc.cx = kSampleColumnWidth;
    lvc.pszText = &column[0];
    ListView_InsertColumn(sample_, 0, &lvc);
    for (int entry = 0; entry < kColorListEntries; ++entry) {
        unsigned id = entry == kFailedEntry ? IDS_SAMPLE_FAILED : IDS_SAMPLE_FIRST + entry;
        std::string text = loadString(id, kEntryFallbacks[entry]);
        LVITEMA lvi = {};
        lvi.mask = LVIF_TEXT;
        lvi.iItem = entry;
        lvi.pszText = &text[0];
        ListView_InsertItem(sample_, &lvi);
    }
}

// The sample in the settings' font, grid and list colours; the entries'
// own colours come with each item's drawing.
void COps0::showSample() {
    const TerminalSettings& s = settings_;
    HFONT font = nullptr;
    if (!s.defColors && s.fontValid) {
        LOGFONTA lf = logFontOf(s.font);
        font_.reset(CreateFontIndirectA(&lf));
        font = font_.get();
    }
    if (!font) font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    SendMessageA(sample_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ListView_SetExtendedListViewStyleEx(sample_, LVS_EX_GRIDLINES, s.grid ? LVS_EX_GRIDLINES : 0);
    COLORREF background = GetSysColor(COLOR_WINDOW);
    if (!s.defColors) background = s.useColors ? s.bkColors[kUnusedAreaEntry] : s.bkColor;
    ListView_SetBkColor(sample_, background);
    InvalidateRect(sample_, nullptr, TRUE);
}

void COps0::enableColorControls() {
    const bool own = !checked(IDC_LOOK_DEFCOLORS);
    for (int id : {IDC_LOOK_FONT, IDC_LOOK_TEXT_COLOR, IDC_LOOK_BACKGROUND, IDC_LOOK_USECOLORS})
        EnableWindow(item(id), own);
}

bool COps0::onCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    TerminalSettings& s = settings_;
    bool* flag = nullptr;
    switch (id) {
    case IDC_LOOK_FONT:
        chooseFont();
        return true;
    case IDC_LOOK_TEXT_COLOR:
        chooseColor(ColorKind::Text);
        return true;
    case IDC_LOOK_BACKGROUND:
        chooseColor(ColorKind::Background);
        return true;
    case IDC_LOOK_DEFCOLORS: flag = &s.defColors; break;
    case IDC_LOOK_GRID: flag = &s.grid; break;
    case IDC_LOOK_ONETOUCH: flag = &s.oneTouch; break;
    case IDC_LOOK_USECOLORS: flag = &s.useColors; break;
    case IDC_LOOK_TBTEXT: flag = &s.tbText; break;
    case IDC_LOOK_MTBS: flag = &s.mtbs; break;
    case IDC_LOOK_LTBS: flag = &s.ltbs; break;
    default: return false;
    }
    *flag = checked(id);
    enableColorControls();
    showSample();
    return true;
}

std::vector<int> COps0::selectedEntries() const {
    std::vector<int> entries;
    int row = -1;
    while ((row = ListView_GetNextItem(sample_, row, LVNI_SELECTED)) >= 0) entries.push_back(row);
    return entries;
}

void COps0::chooseFont() {
    LOGFONTA lf = logFontOf(settings_.font);
    CHOOSEFONTA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = hwnd();
    choose.lpLogFont = &lf;
    choose.Flags = CF_SCREENFONTS | CF_NOVECTORFONTS | CF_NOVERTFONTS | CF_FORCEFONTEXIST |
                   (settings_.fontValid ? CF_INITTOLOGFONTSTRUCT : 0);
    if (!ChooseFontA(&choose)) return;
    settings_.font = listFontOf(lf);
    settings_.fontValid = true;
    showSample();
}

void COps0::chooseColor(ColorKind kind) {
    std::vector<int> entries = colorTargets(settings_.useColors, selectedEntries(), kind);
    if (entries.empty()) return;
    COLORREF custom[16];
    for (COLORREF& c : custom) c = RGB(255, 255, 255);
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = hwnd();
    choose.rgbResult = entryColor(settings_, entries.front(), kind);
    choose.lpCustColors = custom;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorA(&choose)) return;
    setEntryColors(settings_, entries, kind, choose.rgbResult);
    showSample();
}

bool COps0::onNotify(const NMHDR& header, LRESULT& answer) {
    if (header.hwndFrom != sample_ || header.code != NM_CUSTOMDRAW) return false;
    answer = drawSampleItem(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    return true;
}

LRESULT COps0::drawSampleItem(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        SampleColors colors = sampleEntryColors(settings_, static_cast<int>(draw.nmcd.dwItemSpec));
        if (!colors.system) {
            draw.clrText = colors.text;
            draw.clrTextBk = colors.background;
        }
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

}  // namespace kzo
