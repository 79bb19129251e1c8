#include "wizard.h"

#include <objbase.h>
#include <shlobj.h>

#include <array>
#include <exception>
#include <vector>

#include "blanks.h"
#include "dialog_base.h"
#include "install.h"
#include "resource.h"
#include "setup_boxes.h"
#include "string_table.h"
#include "struct_sizes.h"
#include "windows_platform.h"

namespace kzo {

namespace {

// The combo's items, in the order of OsFamily.
const char* const kFamilyNames[] = {"MS Windows\xAE 95/98/ME", "MS Windows\xAE NT4/2000/XP"};

// Dialog 140: the components explained, read only.
class DetailsDialog : public DialogBase {
protected:
    bool onCommand(int id, int, HWND) override {
        if (id != IDOK && id != IDCANCEL) return false;
        endDialog(id);
        return true;
    }
};

std::string windowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

bool checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void check(HWND button, bool on) { SendMessageA(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

// The sheet, once sized, in the middle of the screen's work area, over the
// background window.
int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message != PSCB_INITIALIZED) return 0;
    RECT work = {};
    RECT window = {};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(sheet, &window)) return 0;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(sheet, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

}  // namespace

PROPSHEETPAGEA SetupPage::sheetPage(HINSTANCE module, int templateId) {
    PROPSHEETPAGEA p = page(module, templateId);
    title_ = loadString(titleId_);
    if (!commonControlsKnow471()) return p;  // a plain wizard: no header, no watermark
    if (outer_) {
        p.dwFlags |= PSP_HIDEHEADER;
    } else {
        p.dwFlags |= PSP_USEHEADERTITLE;
        p.pszHeaderTitle = title_.c_str();
    }
    return p;
}

BOOL SetupPage::onInit() {
    caption_ = windowText(hwnd());
    if (!outer_) return TRUE;
    // The title in the page's font, bold and of 12 points.
    auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    LOGFONTA face = {};
    if (font && GetObjectA(font, sizeof face, &face)) {
        HDC dc = GetDC(hwnd());
        face.lfHeight = -MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72);
        ReleaseDC(hwnd(), dc);
        face.lfWeight = FW_BOLD;
        titleFont_.reset(CreateFontIndirectA(&face));
        SendMessageA(item(IDC_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
    }
    SetWindowTextA(item(IDC_TITLE), title_.c_str());
    return TRUE;
}

bool SetupPage::onSetActive() {
    if (!caption_.empty()) SetWindowTextA(sheet(), caption_.c_str());
    // An outer page paints no background of its own over the sheet's
    // watermark: the whole sheet is repainted, not just its header band.
    if (outer_) RedrawWindow(sheet(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    setWizardButtons(wizardButtons());
    return true;
}

bool SetupPage::onQueryCancel() { return confirmQuit(sheet()); }

bool SetupPage::onMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    // The outer pages are white, and so is everything on them but the edit.
    if (!outer_ || (message != WM_CTLCOLORDLG && message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORBTN))
        return false;
    SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
    result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    return true;
}

CWiz0::CWiz0(SetupState& state) : SetupPage(state, IDS_HEADER_WIZ0, true) {}

BOOL CWiz0::onInit() {
    SetupPage::onInit();
    SetWindowTextA(item(IDC_SUBTITLE), loadString(IDS_SUBTITLE_WIZ0).c_str());
    SendMessageA(item(IDC_FOLDER), EM_LIMITTEXT, kMaxFolderLength, 0);
    SetWindowTextA(item(IDC_FOLDER), state_.options.folder.c_str());
    return TRUE;
}

bool CWiz0::onCommand(int id, int code, HWND) {
    if (id != IDC_BROWSE || code != BN_CLICKED) return false;
    browse();
    return true;
}

void CWiz0::browse() {
    std::string title = loadString(IDS_SELECT_FOLDER);
    char chosen[MAX_PATH + 1] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = sheet();
    info.pszDisplayName = chosen;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST list = SHBrowseForFolderA(&info);
    if (!list) return;
    char path[MAX_PATH + 1] = "";
    if (SHGetPathFromIDListA(list, path) && path[0]) SetWindowTextA(item(IDC_FOLDER), path);
    CoTaskMemFree(list);
}

LRESULT CWiz0::onWizardNext() {
    const std::string typed = trimBlanks(windowText(item(IDC_FOLDER)));
    const InstallFolder folder = resolveInstallFolder(typed);
    if (folder.problem != FolderProblem::None) {
        SetWindowTextA(item(IDC_FOLDER), typed.c_str());
        showFolderRefusal(sheet(), folder.problem);
        SetFocus(item(IDC_FOLDER));
        return -1;
    }
    // The folder the install will use, as the user sees it from now on.
    SetWindowTextA(item(IDC_FOLDER), shownFolder(folder.path).c_str());
    state_.options.folder = folder.path;
    return 0;
}

CWiz1::CWiz1(SetupState& state) : SetupPage(state, IDS_HEADER_WIZ1, false) {}

BOOL CWiz1::onInit() {
    SetupPage::onInit();
    const InstallOptions& options = state_.options;
    check(item(IDC_USER_SCHEDULER), true);
    check(item(IDC_SYSTEM_SCHEDULER), options.systemScheduler);
    check(item(IDC_DESKTOP_ICON), options.desktopIcon);
    check(item(IDC_START_MENU_ICONS), options.startMenuIcons);
    for (const char* name : kFamilyNames)
        SendMessageA(item(IDC_OS_FAMILY), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(item(IDC_OS_FAMILY), CB_SETCURSEL, static_cast<WPARAM>(options.family), 0);
    return TRUE;
}

bool CWiz1::onCommand(int id, int code, HWND) {
    if (id != IDC_DETAILS || code != BN_CLICKED) return false;
    DetailsDialog details;
    details.runModal(GetModuleHandleA(nullptr), IDD_DETAILS, sheet());
    return true;
}

void CWiz1::readChoices() {
    InstallOptions& options = state_.options;
    options.systemScheduler = checked(item(IDC_SYSTEM_SCHEDULER));
    options.desktopIcon = checked(item(IDC_DESKTOP_ICON));
    options.startMenuIcons = checked(item(IDC_START_MENU_ICONS));
    options.family = SendMessageA(item(IDC_OS_FAMILY), CB_GETCURSEL, 0, 0) == 0 ? OsFamily::Windows9x
                                                                                  : OsFamily::WindowsNt;
}

LRESULT CWiz1::onWizardNext() {
    readChoices();
    const InstallOptions& options = state_.options;
    const bool ntSystem = isWindowsNt();
    const bool administrator = ntSystem && userIsAdministrator();
    if (!confirmCommonControls(sheet())) return -1;
    if (options.family == OsFamily::WindowsNt && options.systemScheduler && ntSystem && !administrator &&
        !askContinue(sheet(), IDS_NEEDS_ADMINISTRATOR))
        return -1;
    if (!installSuite(sheet(), options)) return -1;
    state_.installed = true;
    return 0;
}

CWiz2::CWiz2(SetupState& state) : SetupPage(state, IDS_HEADER_WIZ2, true) {}

bool CWiz2::onWizardFinish() {
    startExecutors(state_.options);
    state_.finished = true;
    return true;
}

INT_PTR CWizard97::run(HINSTANCE module, HWND owner) {
    std::vector<HPROPSHEETPAGE> pages = createPages(
        {wiz0_.sheetPage(module, IDD_WIZ0), wiz1_.sheetPage(module, IDD_WIZ1), wiz2_.sheetPage(module, IDD_WIZ2)});
    if (pages.empty()) return -1;
    const std::string caption = loadString(IDS_WIZARD_CAPTION, "KZO Scheduler 6 Setup");
    PROPSHEETHEADERA header = {};
    // The common controls of Windows 95 and NT 4.0 (the user chose to go on
    // without the update) know neither this header's size nor its bitmaps:
    // they get a plain wizard.
    const bool wizard97 = commonControlsKnow471();
    header.dwSize = wizard97 ? kPropSheetHeaderSize471 : kPropSheetHeaderSize400;
    // The bitmaps are handed over loaded: the sheets of some systems draw a
    // header named by its resource id not at all.
    UniqueBitmap watermark, headerBitmap;
    if (wizard97) {
        watermark.reset(static_cast<HBITMAP>(
            LoadImageA(module, MAKEINTRESOURCEA(IDB_WIZARD_WATERMARK), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
        headerBitmap.reset(static_cast<HBITMAP>(
            LoadImageA(module, MAKEINTRESOURCEA(IDB_WIZARD_HEADER), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    }
    header.dwFlags = (wizard97 ? PSH_WIZARD97 : PSH_WIZARD) | PSH_USEICONID | PSH_USECALLBACK;
    if (watermark) header.dwFlags |= PSH_WATERMARK | PSH_USEHBMWATERMARK;
    if (headerBitmap) header.dwFlags |= PSH_HEADER | PSH_USEHBMHEADER;
    header.hwndParent = owner;
    header.hInstance = module;
    header.pszIcon = MAKEINTRESOURCEA(IDI_SETUP);
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.phpage = pages.data();
    header.hbmWatermark = watermark.get();
    header.hbmHeader = headerBitmap.get();
    header.pfnCallback = sheetCallback;
    INT_PTR result = PropertySheetA(&header);
    for (PropertyPage* page : {static_cast<PropertyPage*>(&wiz0_), static_cast<PropertyPage*>(&wiz1_),
                               static_cast<PropertyPage*>(&wiz2_)})
        if (std::exception_ptr failure = page->takeFailure()) std::rethrow_exception(failure);
    return result;
}

}  // namespace kzo
