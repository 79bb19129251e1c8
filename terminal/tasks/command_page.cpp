#include "command_page.h"

#include <commctrl.h>
#include <shellapi.h>

#include "advanced_dialog.h"
#include "blanks.h"
#include "command_rules.h"
#include "dialog_base.h"
#include "dialog_helpers.h"
#include "message_text.h"
#include "network_browser.h"
#include "profile_picker.h"
#include "program_search.h"
#include "resource.h"
#include "shutdown_dialog.h"
#include "string_table.h"
#include "terminal_boxes.h"
#include "windows_platform.h"

namespace kzo {

namespace {

constexpr CommandPageIds kSheetIds = {
    IDC_SHEET_NAME,     IDC_SHEET_PROFILES,    IDC_SHEET_COMMAND_LABEL, IDC_SHEET_COMMAND, IDC_SHEET_BROWSE,
    IDC_SHEET_FOLDER_LABEL, IDC_SHEET_FOLDER,  IDC_SHEET_FOLDER_BROWSE, IDC_SHEET_APPLICATION,
    IDC_SHEET_ADVANCED, IDC_SHEET_ACTIVE,      IDC_SHEET_RUN_ONCE,      IDC_SHEET_MINIMIZED, IDC_SHEET_INTERACTIVE};
constexpr CommandPageIds kWizardIds = {
    IDC_WIZARD_NAME,     IDC_WIZARD_PROFILES,   IDC_WIZARD_COMMAND_LABEL, IDC_WIZARD_COMMAND, IDC_WIZARD_BROWSE,
    IDC_WIZARD_FOLDER_LABEL, IDC_WIZARD_FOLDER, IDC_WIZARD_FOLDER_BROWSE, IDC_WIZARD_APPLICATION,
    IDC_WIZARD_ADVANCED, IDC_WIZARD_ACTIVE,     IDC_WIZARD_RUN_ONCE,      IDC_WIZARD_MINIMIZED, IDC_WIZARD_INTERACTIVE};

void setCueBanner(HWND edit, const std::string& text) {
    wchar_t wide[128] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, ARRAYSIZE(wide) - 1);
    // The cue banner is always a wide text, whichever function sends it.
    SendMessageA(edit, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(wide));
}

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

}  // namespace

CommandPage::CommandPage(TaskEditContext& context, TaskEditHost& host, bool wizard)
    : context_(context), host_(host), wizard_(wizard), ids_(wizard ? kWizardIds : kSheetIds) {}

PROPSHEETPAGEA CommandPage::sheetPage() {
    PROPSHEETPAGEA p = page(context_.module, wizard_ ? IDD_WIZARD_COMMAND : IDD_SHEET_COMMAND);
    if (wizard_) p.dwFlags |= PSP_HASHELP;
    return p;
}

BOOL CommandPage::onInit() {
    const TaskRecord& r = context_.record;
    SendMessageA(item(ids_.name), EM_LIMITTEXT, kNameWidth, 0);
    SendMessageA(item(ids_.command), EM_LIMITTEXT, kCommandWidth, 0);
    SendMessageA(item(ids_.folder), EM_LIMITTEXT, kCommandWidth, 0);
    setCueBanner(item(ids_.name), loadString(IDS_HINT_NAME));
    setCueBanner(item(ids_.command), loadString(IDS_HINT_COMMAND));
    setCueBanner(item(ids_.folder), loadString(IDS_HINT_FOLDER));

    openingName_ = fieldText(r.name);
    SetDlgItemTextA(hwnd(), ids_.name, openingName_.c_str());
    SetDlgItemTextA(hwnd(), ids_.command, fieldText(r.command).c_str());
    if (wizard_) {
        checkType(kTypeApplication);
        check(hwnd(), ids_.active, true);
        heading_.reset(createHeadingFont(item(IDC_WIZARD_HEADING)));
        if (heading_) SendMessageA(item(IDC_WIZARD_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(heading_.get()), FALSE);
    } else {
        SetDlgItemTextA(hwnd(), ids_.folder, fieldText(r.folder).c_str());
        checkType(r.type);
        check(hwnd(), ids_.active, r.active == 1);
        check(hwnd(), ids_.runOnce, r.runOnce == 1);
        check(hwnd(), ids_.minimized, r.runMinimized == 1);
        check(hwnd(), ids_.interactive, r.interactive == 1);
        host_.showTaskName(sheet(), openingName_);
    }
    // Created hidden: kept in the record, used by no executor.
    ShowWindow(item(ids_.interactive), SW_HIDE);
    EnableWindow(item(ids_.interactive), context_.oneTouch);
    adaptLabels();
    DragAcceptFiles(hwnd(), TRUE);
    validated_ = false;
    return TRUE;
}

int CommandPage::checkedType() const {
    for (int type = kTypeApplication; type <= kTypeShutdown; ++type)
        if (checked(hwnd(), ids_.firstType + type)) return type;
    return kTypeApplication;
}

void CommandPage::checkType(int type) {
    if (type < kTypeApplication || type > kTypeShutdown) type = kTypeApplication;
    CheckRadioButton(hwnd(), ids_.firstType, ids_.firstType + kTypeShutdown, ids_.firstType + type);
}

void CommandPage::adaptLabels() {
    CommandPageLayout layout = commandPageLayout(checkedType());
    SetDlgItemTextA(hwnd(), ids_.commandLabel, loadString(layout.commandLabel).c_str());
    SetDlgItemTextA(hwnd(), ids_.folderLabel, loadString(layout.folderLabel).c_str());
    SetDlgItemTextA(hwnd(), ids_.browse, loadString(layout.browseText).c_str());
    EnableWindow(item(ids_.browse), layout.browseEnabled);
    EnableWindow(item(ids_.advanced), layout.advancedEnabled);
    EnableWindow(item(ids_.minimized), layout.minimizedEnabled);
}

void CommandPage::browseCommand() {
    const bool insert = shiftHeld();
    CommandPageLayout layout = commandPageLayout(checkedType());
    if (layout.browseShutdown) {
        ShutdownDialog dialog(shutdownChoiceFor(dialogText(hwnd(), ids_.command)));
        if (dialog.run(context_.module, hwnd()) == IDOK)
            SetDlgItemTextA(hwnd(), ids_.command, shutdownKeywordFor(dialog.choice()).c_str());
        return;
    }
    std::string chosen;
    if (openFileDialog(hwnd(), loadString(IDS_OPEN_TITLE, "Open"), loadString(layout.fileFilter), "", "", chosen))
        putText(item(ids_.command), chosen, insert);
}

void CommandPage::browseFolder() {
    const bool insert = shiftHeld();
    if (commandPageLayout(checkedType()).folderIsTargets) {
        NetworkBrowser browser;
        if (browser.run(context_.module, hwnd()) == IDOK) putText(item(ids_.folder), browser.chosen(), insert);
        return;
    }
    std::string chosen;
    if (chooseFolder(hwnd(), loadString(IDS_FOLDER_TITLE, "Select folder"), chosen))
        putText(item(ids_.folder), chosen, insert);
}

void CommandPage::openAdvanced() {
    TaskRecord& r = context_.record;
    AdvancedDialog dialog(r.killAfter, r.quitAfter, fieldText(r.onError), checkedType(), context_.autoQuote);
    if (dialog.run(context_.module, hwnd()) != IDOK) return;
    r.killAfter = dialog.result().killAfter;
    r.quitAfter = dialog.result().quitAfter;
    setField(r.onError, dialog.result().onError);
}

void CommandPage::openProfiles() {
    ProfilePicker picker(context_.profilesFile, context_.oneTouch);
    if (picker.run(context_.module, hwnd()) != IDOK || picker.command().empty()) return;
    SetDlgItemTextA(hwnd(), ids_.command, picker.command().c_str());
    checkType(picker.type());
    adaptLabels();
    if (!picker.comment().empty())
        MessageBoxA(hwnd(), picker.comment().c_str(), loadString(IDS_INFORMATION, "Information").c_str(),
                    MB_OK | MB_ICONINFORMATION);
}

bool CommandPage::validate() {
    CommandControls c;
    c.name = dialogText(hwnd(), ids_.name);
    c.command = dialogText(hwnd(), ids_.command);
    c.folder = dialogText(hwnd(), ids_.folder);
    c.type = checkedType();
    c.active = checked(hwnd(), ids_.active);
    c.runOnce = checked(hwnd(), ids_.runOnce);
    c.minimized = checked(hwnd(), ids_.minimized);
    c.interactive = checked(hwnd(), ids_.interactive);
    c.autoQuote = context_.autoQuote;
    c.programSearch = systemProgramSearch();
    c.openingName = openingName_;
    c.wizard = wizard_;
    c.isNt = isWindowsNt();
    // The sheet edits its record inside the store: that record, which may
    // already hold the typed name from an earlier refused attempt, is no other
    // task of that name.
    const TaskRecord* self = &context_.record;
    NameExists exists = [this, self](const std::string& name) {
        const TaskRecord* found = context_.store.find(name);
        return found != nullptr && found != self;
    };
    RemoteQuestion askRemote = [this] {
        return askYesNo(hwnd(), loadString(IDS_REMOTE_TARGETS), warningCaption(), MB_ICONWARNING);
    };
    CommandOutcome outcome = storeCommand(c, context_.record, exists, askRemote);
    if (!outcome.ok && outcome.messageId) showError(hwnd(), loadString(outcome.messageId));
    validated_ = outcome.ok;
    return outcome.ok;
}

bool CommandPage::onSetActive() {
    if (wizard_) {
        setWizardButtons(PSWIZB_NEXT);
        PostMessageA(hwnd(), kShowWizardTitle, 0, 0);
    } else {
        host_.setDescription(loadString(IDS_COMMAND_DESCRIPTION));
    }
    return true;
}

bool CommandPage::onKillActive() { return wizard_ || validate(); }

// The sheet's OK leaves the page first: what that just accepted is not asked
// again (the 95/98/Me question would come twice). The wizard stores at Next.
bool CommandPage::onApply() { return wizard_ || validated_ || validate(); }

LRESULT CommandPage::onWizardNext() { return validate() ? 0 : -1; }

// Finish belongs to the Day and time page, which writes the schedule.
bool CommandPage::onWizardFinish() { return false; }

void CommandPage::onHelp() { SendMessageA(context_.helpTarget, WM_COMMAND, ID_HELP, 0); }

bool CommandPage::onDropFiles(HDROP drop) {
    const bool insert = shiftHeld();
    char path[kCommandWidth + 1] = {};
    UINT length = DragQueryFileA(drop, 0, path, sizeof path);
    if (length == 0 || length > kCommandWidth) return true;
    putText(item(ids_.command), path, insert);
    MessageBeep(0xFFFFFFFF);
    HWND top = topLevelWindow(hwnd());
    SetForegroundWindow(top);
    return true;
}

bool CommandPage::onMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != kShowWizardTitle) return false;
    host_.showTaskName(sheet(), dialogText(hwnd(), ids_.name));
    result = TRUE;
    return true;
}

bool CommandPage::onCommand(int id, int code, HWND) {
    validated_ = false;
    if (id == ids_.name) {
        if (code == EN_CHANGE) host_.showTaskName(sheet(), dialogText(hwnd(), ids_.name));
        return true;
    }
    if (id >= ids_.firstType && id <= ids_.firstType + kTypeShutdown) {
        if (code == BN_CLICKED) adaptLabels();
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (id == ids_.browse) {
        browseCommand();
    } else if (id == ids_.folderBrowse) {
        browseFolder();
    } else if (id == ids_.advanced) {
        openAdvanced();
    } else if (id == ids_.profiles) {
        openProfiles();
    } else {
        return false;
    }
    return true;
}

}  // namespace kzo
