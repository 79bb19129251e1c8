#include "uninstall.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "close_windows.h"
#include "install_folder.h"
#include "product_names.h"
#include "registry_values.h"
#include "resource.h"
#include "shell_folder.h"
#include "start_program.h"
#include "string_table.h"
#include "suite_names.h"
#include "win_handles.h"
#include "windows_platform.h"

namespace kzo {

namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServicesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kProductKey = "SOFTWARE\\Veldmark\\KZO Scheduler 4";
constexpr const char* kMakerKey = "SOFTWARE\\Veldmark";
constexpr const char* kUninstallEntry = "KZO Scheduler";
// The service's removal: how long to wait for it, and for the service manager
// to settle after it.
constexpr DWORD kServiceRemovalWaitMs = 30000;
constexpr DWORD kAfterServiceRemovalMs = 2000;
// How long the programs asked to close get to end.
constexpr DWORD kProgramsEndWaitMs = 10000;
// CREATE_DEFAULT_ERROR_MODE | CREATE_SEPARATE_WOW_VDM | CREATE_NEW_CONSOLE.
// FOF_SILENT | FOF_NOCONFIRMATION | FOF_FILESONLY.
constexpr FILEOP_FLAGS kDeleteFlags = 0x94;

// One registry item that the suite or its installation wrote: a value or a key
// under its parent.
struct RegistryItem {
    HKEY root;
    const char* parent;
    const char* name;
    bool isKey;
};

// In this order: deepest keys first, SOFTWARE\Veldmark itself stays.
const RegistryItem kRegistryItems[] = {
    {HKEY_CURRENT_USER, kRunKey, "KZOScheduler", false},
    {HKEY_LOCAL_MACHINE, kRunServicesKey, "KZOScheduler", false},
    {HKEY_CURRENT_USER, kProductKey, "Scheduler", true},
    {HKEY_CURRENT_USER, kProductKey, "Terminal", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar0", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar1", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar2", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar3", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar4", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar5", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar6", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar7", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar8", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Bar9", true},
    {HKEY_CURRENT_USER, kProductKey, "ToolBar-Summary", true},
    {HKEY_CURRENT_USER, kMakerKey, "KZO Scheduler 4", true},
    {HKEY_LOCAL_MACHINE, kProductKey, "Scheduler", true},
    {HKEY_LOCAL_MACHINE, kMakerKey, "KZO Scheduler 4", true},
    {HKEY_LOCAL_MACHINE, kUninstallKey, kUninstallEntry, true},
};

void beep() { MessageBeep(0xFFFFFFFF); }

std::string runningProgramPath() {
    char path[MAX_PATH + 1] = "";
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : 0);
}

bool sameFile(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The plain files directly in the folder (which ends in a separator), as full
// paths, without the one named exclude.
std::vector<std::string> filesIn(const std::string& folder, const std::string& exclude) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return files;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string path = folder + data.cFileName;
        if (!exclude.empty() && sameFile(path, exclude)) continue;
        files.push_back(path);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return files;
}

// Deletes the files through the shell, silently and without undo. True when
// there was nothing to delete or the shell deleted them all.
bool deleteFiles(const std::vector<std::string>& files) {
    if (files.empty()) return true;
    std::string from = doubleZeroList(files);
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = kDeleteFlags;
    if (SHFileOperationA(&operation) != 0 || operation.fAnyOperationsAborted) return false;
    return std::none_of(files.begin(), files.end(), [](const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
}

bool fileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string uninstallString() {
    UniqueKey key;
    std::string path = std::string(kUninstallKey) + "\\" + kUninstallEntry;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::string();
    char command[2 * MAX_PATH] = "";
    readTrimmedString(key.get(), "UninstallString", command, sizeof command);
    return command;
}

bool holdsSuitePrograms(const std::string& folder) {
    const std::vector<std::string>& names = suiteProgramNames();
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return fileExists(folder + name); });
}

// The System Executor removes its service and event source; the run goes on
// whatever becomes of it.
void removeService(const std::string& folder) {
    UniqueHandle processHandle = startProgram("\"" + folder + "tickrnt.exe\" /u", SW_SHOWMINIMIZED);
    if (!processHandle) return;
    WaitForSingleObject(processHandle.get(), kServiceRemovalWaitMs);
    Sleep(kAfterServiceRemovalMs);
}

// The file is deleted when the system next starts (NT family: MoveFileExA,
// bound at run time, as 95/98/Me lack it).
void deleteAtRestart(const std::string& path) {
    using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto move = systemFunction<MoveFileExFn>("kernel32.dll", "MoveFileExA");
    if (move) move(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void deleteProgramFiles(const std::string& folder) {
    std::string self = runningProgramPath();
    if (!isInstallationFolder(folder, uninstallString(), holdsSuitePrograms(folder))) {
        std::string format = loadString(IDS_NOT_INSTALLATION, "%s");
        std::vector<char> text(format.size() + folder.size() + 1);
        std::snprintf(text.data(), text.size(), format.c_str(), folder.c_str());
        beep();
        MessageBoxA(nullptr, text.data(), loadString(IDS_CAPTION).c_str(), MB_ICONWARNING | MB_OK);
        return;
    }
    // The running uninstaller cannot delete its own file: it is left out, so
    // that the others go without an error, and removed at the next restart
    // where the system offers that.
    if (!deleteFiles(filesIn(folder, self))) {
        beep();
        MessageBoxA(nullptr, loadString(IDS_UNABLE).c_str(), loadString(IDS_ERROR).c_str(), MB_ICONERROR);
    }
    if (isWindowsNt()) deleteAtRestart(self);
}

void removeRegistryItems() {
    for (const RegistryItem& item : kRegistryItems) {
        UniqueKey parent;
        if (RegCreateKeyExA(item.root, item.parent, 0, nullptr, 0, KEY_WRITE, nullptr, parent.put(),
                            nullptr) != ERROR_SUCCESS)
            continue;
        if (item.isKey)
            RegDeleteKeyA(parent.get(), item.name);
        else
            RegDeleteValueA(parent.get(), item.name);
    }
}


void removeStartMenuFolder() {
    std::string programs = shellFolderPath(CSIDL_PROGRAMS, false);
    if (programs.empty()) return;
    std::string folder = withSeparator(programs) + kProductName;
    deleteFiles(filesIn(folder + "\\", std::string()));
    RemoveDirectoryA(folder.c_str());
}

void removeDesktopShortcut() {
    std::string desktop = shellFolderPath(CSIDL_DESKTOP, false);
    if (desktop.empty()) return;
    DeleteFileA((withSeparator(desktop) + "KZO Terminal.lnk").c_str());
}

}  // namespace

int runUninstaller() {
    std::string folder = programFolderOf(runningProgramPath());

    beep();
    if (MessageBoxA(nullptr, loadString(IDS_QUESTION).c_str(), loadString(IDS_CAPTION).c_str(),
                    MB_ICONQUESTION | MB_YESNO) != IDYES)
        return 1;

    // The files can go once the programs asked to close have ended.
    ClosingProcesses closing;
    closeWindowsBounded(kExecutorClass, kExecutorTitle, CloseBounds(), closing.keeper());
    closeTerminalBounded(CloseBounds(), closing.keeper());
    closing.waitAll(GetTickCount(), kProgramsEndWaitMs);
    if (isWindowsNt()) removeService(folder);

    deleteProgramFiles(folder);
    removeRegistryItems();
    removeStartMenuFolder();
    removeDesktopShortcut();
    return 0;
}

}  // namespace kzo
