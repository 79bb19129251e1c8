#include "convert_dialog.h"

#include <shellapi.h>

#include "dialog_helpers.h"
#include "main_frame.h"
#include "message_text.h"
#include "registry_values.h"
#include "resource.h"
#include "schedule_conversion.h"
#include "scheduler_settings.h"
#include "string_table.h"
#include "system_error.h"
#include "terminal_boxes.h"
#include "win_handles.h"

namespace kzo {

namespace {

constexpr int kNameLength = 1299;  // the names are read into 1300 bytes

std::string fullPathOf(const std::string& name) {
    char path[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return n == 0 || n >= sizeof path ? name : std::string(path, n);
}

// Writes the schedule file of the scheduler's key; 0 or the error.
std::uint32_t writeScheduleFile(HKEY root, const std::string& file) {
    UniqueKey key;
    LONG created = RegCreateKeyExA(root, kSchedulerKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                   key.put(), nullptr);
    if (created != ERROR_SUCCESS) return static_cast<std::uint32_t>(created);
    return writeString(key.get(), "DAT", file);
}

}  // namespace

BOOL ConvertDialog::onInit() {
    for (int edit : {IDC_CONVERT_SOURCE, IDC_CONVERT_TARGET})
        SendDlgItemMessageA(hwnd(), edit, EM_LIMITTEXT, kNameLength, 0);
    SetDlgItemTextA(hwnd(), IDC_CONVERT_SOURCE, source_.c_str());
    DragAcceptFiles(hwnd(), TRUE);
    return TRUE;
}

bool ConvertDialog::onCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_CONVERT_SOURCE_BROWSE:
        browse(IDC_CONVERT_SOURCE, IDS_FILTER_CONVERT_SOURCE);
        return true;
    case IDC_CONVERT_TARGET_BROWSE:
        browse(IDC_CONVERT_TARGET, IDS_FILTER_CONVERT_TARGET);
        return true;
    default:
        return false;
    }
}

void ConvertDialog::browse(int edit, unsigned filter) {
    std::string chosen;
    if (openFileDialog(hwnd(), loadString(IDS_OPEN_TITLE, "Open"), loadString(filter), "jsf",
                       dialogText(hwnd(), edit), chosen))
        SetDlgItemTextA(hwnd(), edit, chosen.c_str());
}

// A file dropped on the target field becomes the target, anywhere else the
// source.
bool ConvertDialog::onMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != WM_DROPFILES) return false;
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    const int edit = droppedOnEdit(drop, hwnd(), hwnd(), {IDC_CONVERT_TARGET}) ? IDC_CONVERT_TARGET : IDC_CONVERT_SOURCE;
    std::string file = droppedFile(drop);
    if (!file.empty()) {
        MessageBeep(0xFFFFFFFF);
        SetDlgItemTextA(hwnd(), edit, file.c_str());
    }
    result = 0;
    return true;
}

bool ConvertDialog::onOk() {
    ConversionResult result = convertScheduleFile(
        dialogText(hwnd(), IDC_CONVERT_SOURCE), dialogText(hwnd(), IDC_CONVERT_TARGET),
        [this] { return askYesNo(hwnd(), loadString(kConvertOverwrite), warningCaption(), MB_ICONWARNING); });
    switch (result.status) {
    case ConversionStatus::Converted:
        target_ = fullPathOf(result.target);
        return true;
    case ConversionStatus::Declined:
        return false;
    case ConversionStatus::Failed:
        showError(hwnd(), fillMessage(loadString(result.message), {systemErrorText(result.systemError)}));
        return false;
    }
    return false;
}

void runConvert(CMainFrame& frame) {
    ConvertDialog dialog(frame.store().fileName());
    if (dialog.runModal(frame.module(), IDD_CONVERT, frame.hwnd()) != IDOK) return;
    if (!askYesNo(frame.hwnd(), loadString(IDS_CONVERT_SET_WORKING), queryCaption(), MB_ICONQUESTION)) return;

    const bool system = !frame.userScheduleShown();
    const std::string& target = dialog.target();
    // The schedule's executor must run what the Terminal shows: when its key
    // refuses the name, nothing changes and the user is told.
    if (std::uint32_t error = writeScheduleFile(system ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, target)) {
        showError(frame.hwnd(), fillMessage(loadString(IDS_SET_WORKING_FAILED), {target, systemErrorText(error)}));
        return;
    }
    TerminalSettings& settings = frame.settings();
    if (system) {
        settings.sysDat = target;
    } else {
        settings.userDat = target;
        settings.userDatMissing = false;
    }
    frame.document().refresh();
    if (HANDLE event = frame.updateEvent()) SetEvent(event);
}

}  // namespace kzo
