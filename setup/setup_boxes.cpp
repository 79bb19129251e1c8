#include "setup_boxes.h"

#include <string>
#include <vector>

#include "install_plan.h"
#include "kzo_message_box.h"
#include "resource.h"
#include "string_table.h"

namespace kzo {

namespace {

void beep() { MessageBeep(0xFFFFFFFF); }

// Major * 100 + minor of the file version of comctl32.dll in the system
// folder; 0 when it cannot be read.
int systemCommonControlsVersion() {
    char folder[MAX_PATH] = "";
    UINT n = GetSystemDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return 0;
    std::string path = std::string(folder) + "\\comctl32.dll";
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return 0;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof *info)
        return 0;
    return commonControlsVersion(HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS));
}

}  // namespace

void showSetupError(HWND owner, unsigned textId, bool beepFirst) {
    if (beepFirst) beep();
    MessageBoxA(owner, loadString(textId).c_str(), loadString(IDS_ERROR, "Error").c_str(), MB_OK | MB_ICONERROR);
}

void showFolderRefusal(HWND owner, FolderProblem problem) {
    const unsigned textId = problem == FolderProblem::Empty         ? IDS_NO_FOLDER
                            : problem == FolderProblem::TooLong     ? IDS_FOLDER_TOO_LONG
                            : problem == FolderProblem::Root        ? IDS_FOLDER_IS_ROOT
                                                                    : IDS_FOLDER_NOT_ON_DRIVE;
    showSetupError(owner, textId, true);
}

bool askContinue(HWND owner, unsigned textId) {
    int answer = KZOMessageBox(owner, loadString(textId, std::string(), 2047).c_str(),
                               loadString(IDS_WARNING, "Warning").c_str(), 8 | MB_ICONEXCLAMATION);
    return (answer & 0x0F) == kIdContinue;
}

bool confirmQuit(HWND owner) {
    beep();
    return MessageBoxA(owner, loadString(IDS_QUIT_QUESTION).c_str(), loadString(IDS_WARNING, "Warning").c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

bool confirmCommonControls(HWND owner) {
    if (!commonControlsTooOld(systemCommonControlsVersion())) return true;
    return askContinue(owner, IDS_OLD_COMMON_CONTROLS);
}

}  // namespace kzo
