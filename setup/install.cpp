#include "install.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "blanks.h"
#include "close_windows.h"
#include "install_folder.h"
#include "product_names.h"
#include "registry_values.h"
#include "resource.h"
#include "setup_boxes.h"
#include "shell_folder.h"
#include "start_program.h"
#include "suite_names.h"
#include "win_handles.h"
#include "windows_platform.h"

namespace kzo {

namespace {

// A window that does not close is asked again every kRepostMs, at most
// kMaxPosts times, and left alone after kGiveUpWindowMs.
constexpr unsigned kMaxPosts = 100;
constexpr DWORD kRepostMs = 250;
constexpr DWORD kGiveUpWindowMs = 5000;
// How long the programs asked to close and the stopped service get to end.
constexpr DWORD kStopWaitMs = 10000;
// How long the copy keeps trying files that are still in use.
constexpr DWORD kCopyRetryMs = 10000;
// How long the service's registration gets.
constexpr DWORD kRegistrationWaitMs = 30000;

HKEY rootOf(Hive hive) { return hive == Hive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::string setupFolder() {
    char path[MAX_PATH + 1] = "";
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return programFolderOf(std::string(path, n < MAX_PATH ? n : 0));
}

bool fileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The process of a running service, or 0. QueryServiceStatusEx came with
// Windows 2000; on NT 4.0 the process is not known and the stop is awaited
// through the service's state instead.
DWORD serviceProcess(SC_HANDLE service) {
    using QueryEx = BOOL(WINAPI*)(SC_HANDLE, SC_STATUS_TYPE, LPBYTE, DWORD, LPDWORD);
    auto query = systemFunction<QueryEx>("advapi32.dll", "QueryServiceStatusEx");
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (!query || !query(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status, &needed))
        return 0;
    return status.dwCurrentState == SERVICE_STOPPED ? 0 : status.dwProcessId;
}

// Sends the service the stop control; its process, while it runs, is kept.
// Returns the service, opened, when its process is not known.
UniqueService stopService(ClosingProcesses& processes) {
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return UniqueService();
    UniqueService service(OpenServiceA(manager.get(), kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS));
    if (!service) return UniqueService();
    DWORD process = serviceProcess(service.get());
    if (process) processes.keep(process);
    SERVICE_STATUS ignored;
    ControlService(service.get(), SERVICE_CONTROL_STOP, &ignored);
    return process ? UniqueService() : std::move(service);
}

// Waits, within the bound, for a service whose process is not known to stop.
void waitForStop(SC_HANDLE service, DWORD start) {
    SERVICE_STATUS status = {};
    while (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED &&
           GetTickCount() - start < kStopWaitMs)
        Sleep(100);
}

// Step 1: the Executors, the Terminals and the service are asked to end, and
// given the time to (instead of a fixed pause that may be too short).
void stopRunningCopies() {
    ClosingProcesses processes;
    const CloseBounds bounds{kGiveUpWindowMs, kRepostMs, kMaxPosts};
    closeWindowsBounded(kExecutorClass, kExecutorTitle, bounds, processes.keeper());
    for (const std::string& title : olderTerminalTitles())
        closeWindowsBounded(nullptr, title.c_str(), bounds, processes.keeper());
    closeTerminalBounded(bounds, processes.keeper());
    UniqueService unknownProcess;
    if (isWindowsNt()) unknownProcess = stopService(processes);
    const DWORD start = GetTickCount();
    processes.waitAll(start, kStopWaitMs);
    if (unknownProcess) waitForStop(unknownProcess.get(), start);
}

void createFolders(const std::string& folder) {
    for (const std::string& level : folderLevels(folder)) CreateDirectoryA(level.c_str(), nullptr);
}

void clearReadOnly(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return;
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// Copies over an existing file. A target still in use (a program that is
// ending) is tried again until kCopyRetryMs after start; a read-only target,
// or source (a release folder on a CD), does not stop the copy nor the next
// installation.
bool copyFile(const std::string& from, const std::string& to, DWORD start) {
    for (;;) {
        clearReadOnly(to);
        if (CopyFileA(from.c_str(), to.c_str(), FALSE)) {
            clearReadOnly(to);
            return true;
        }
        const DWORD error = GetLastError();
        const bool inUse = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                           (error == ERROR_ACCESS_DENIED && fileExists(to));
        if (!inUse || GetTickCount() - start >= kCopyRetryMs) return false;
        Sleep(250);
    }
}

bool copyFiles(const std::string& source, const std::string& folder, OsFamily family) {
    // Installing into setup's own folder: the files are already there, and a
    // file cannot be copied onto itself.
    if (sameFolder(source, folder)) return true;
    const DWORD start = GetTickCount();
    for (const std::string& name : installedFiles(family))
        if (!copyFile(source + name, folder + name, start)) return false;
    return true;
}

// 0, or the Windows error code. Deleting what is not there succeeds.
DWORD applyRegistryChange(const RegistryChange& change) {
    HKEY root = rootOf(change.hive);
    UniqueKey key;
    LONG result = ERROR_SUCCESS;
    switch (change.action) {
    case RegistryAction::SetDword:
    case RegistryAction::SetString:
        result = RegCreateKeyExA(root, change.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
        if (result != ERROR_SUCCESS) return static_cast<DWORD>(result);
        return change.action == RegistryAction::SetDword ? writeDword(key.get(), change.name.c_str(), change.number)
                                                         : writeString(key.get(), change.name.c_str(), change.text);
    case RegistryAction::DeleteValue:
    case RegistryAction::DeleteKey:
        result = RegOpenKeyExA(root, change.key.c_str(), 0, KEY_READ | KEY_WRITE, key.put());
        if (result == ERROR_SUCCESS)
            result = change.action == RegistryAction::DeleteValue
                         ? RegDeleteValueA(key.get(), change.name.c_str())
                         : deleteKeyTree(key.get(), change.name.c_str());
        return result == ERROR_FILE_NOT_FOUND ? 0 : static_cast<DWORD>(result);
    }
    return 0;
}

// The first error of the changes, all of them made; 0 when none failed.
DWORD applyRegistryChanges(const std::vector<RegistryChange>& changes) {
    DWORD first = 0;
    for (const RegistryChange& change : changes) {
        DWORD error = applyRegistryChange(change);
        if (!first) first = error;
    }
    return first;
}

std::wstring widened(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(static_cast<std::size_t>(n - 1));
    return wide;
}

// A shell link at linkPath; false when it could not be saved.
bool createShortcut(const std::string& linkPath, const ShortcutPlan& plan) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    link->SetPath(plan.target.c_str());
    link->SetDescription(plan.description.c_str());
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        saved = SUCCEEDED(file->Save(widened(linkPath).c_str(), TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}


// Step 9. A shortcut that cannot be made does not stop the install.
void createShortcuts(const std::string& folder, const InstallOptions& options) {
    HRESULT com = CoInitialize(nullptr);
    if (options.startMenuIcons) {
        std::string programs = shellFolderPath(CSIDL_PROGRAMS, true);
        if (!programs.empty()) {
            std::string menu = withSeparator(programs) + kStartMenuFolder;
            CreateDirectoryA(menu.c_str(), nullptr);
            for (const ShortcutPlan& plan : startMenuShortcuts(folder)) createShortcut(menu + "\\" + plan.linkName, plan);
        }
    }
    if (options.desktopIcon) {
        std::string desktop = shellFolderPath(CSIDL_DESKTOPDIRECTORY, true);
        ShortcutPlan plan = desktopShortcut(folder);
        if (!desktop.empty()) createShortcut(withSeparator(desktop) + plan.linkName, plan);
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

// Whether the machine already has a System Schedule: a REG_SZ "DAT" that is
// not empty once trimmed, of any length.
bool systemScheduleRegistered() {
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSchedulerKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), "DAT", nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ ||
        size == 0)
        return false;
    std::vector<char> text(size + 1, '\0');
    if (RegQueryValueExA(key.get(), "DAT", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    return !trimBlanks(text.data()).empty();
}

// Step 10. False when the user chose Abort after a failure.
bool installSystemScheduler(HWND owner, const std::string& folder, OsFamily family) {
    if (applyRegistryChanges(systemSettingsChanges(folder, systemScheduleRegistered())) != 0 &&
        !askContinue(owner, IDS_REGISTRY_FAILED))
        return false;
    if (family == OsFamily::WindowsNt) {
        // The registration is waited for, so that Finish finds the service. On
        // an NT system its failure (exit code other than 1) is said as the
        // registry's are; elsewhere it cannot work and fails silently.
        UniqueHandle registration = startProgram(serviceRegistrationCommand(folder), SW_SHOWMINNOACTIVE);
        DWORD exitCode = 0;
        bool failed = !registration;
        if (registration && WaitForSingleObject(registration.get(), kRegistrationWaitMs) == WAIT_OBJECT_0)
            failed = GetExitCodeProcess(registration.get(), &exitCode) && exitCode != 1;
        if (failed && isWindowsNt() && !askContinue(owner, IDS_REGISTRY_FAILED)) return false;
    } else if (applyRegistryChange(systemAutostartChange(folder)) != 0 && !askContinue(owner, IDS_REGISTRY_FAILED)) {
        return false;
    }
    return true;
}

bool runInstall(HWND owner, const InstallOptions& options) {
    const InstallFolder install = resolveInstallFolder(options.folder);
    if (install.problem != FolderProblem::None) {
        showFolderRefusal(owner, install.problem);
        return false;
    }
    const std::string& folder = install.path;
    stopRunningCopies();
    createFolders(folder);
    const std::string source = setupFolder();
    if (!copyFiles(source, folder, options.family)) {
        showSetupError(owner, IDS_COPY_FAILED, false);
        return false;
    }
    applyRegistryChanges(userRegistryChanges(folder));
    createShortcuts(folder, options);
    if (options.systemScheduler && !installSystemScheduler(owner, folder, options.family)) return false;
    // A setup.exe of an earlier copy goes; the running one stays where it is.
    if (!sameFolder(source, folder)) DeleteFileA((folder + "setup.exe").c_str());
    return true;
}

void startService() {
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return;
    UniqueService service(OpenServiceA(manager.get(), kServiceName, SERVICE_START));
    if (service) StartServiceA(service.get(), 0, nullptr);
}

}  // namespace

bool installSuite(HWND owner, const InstallOptions& options) {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    bool installed = runInstall(owner, options);
    SetCursor(previous);
    return installed;
}

InstallFolder resolveInstallFolder(const std::string& typedFolder) {
    char current[MAX_PATH + 1] = "";
    DWORD n = GetFullPathNameA(relativeBase(typedFolder).c_str(), sizeof current, current, nullptr);
    return installFolderOf(typedFolder, n > 0 && n < sizeof current ? current : "");
}

void startExecutors(const InstallOptions& options) {
    const std::string folder = resolveInstallFolder(options.folder).path;
    MessageBeep(0xFFFFFFFF);
    SetCurrentDirectoryA("\\");
    startProgram(executorCommand(folder, false), SW_SHOWNORMAL);
    if (!options.systemScheduler) return;
    if (options.family == OsFamily::WindowsNt)
        startService();
    else
        startProgram(executorCommand(folder, true), SW_SHOWNORMAL);
}

std::string programFilesFolder() {
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE,
                      key.put()) != ERROR_SUCCESS)
        return std::string();
    char folder[MAX_PATH + 1] = "";
    readTrimmedString(key.get(), "ProgramFilesDir", folder, sizeof folder);
    return folder;
}

bool userIsAdministrator() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) return false;
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators))
        return false;
    // A group kept for deny only (a filtered token) grants nothing.
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    bool member = false;
    for (DWORD i = 0; i < groups->GroupCount && !member; ++i) {
        const SID_AND_ATTRIBUTES& group = groups->Groups[i];
        member = EqualSid(group.Sid, administrators) && (group.Attributes & SE_GROUP_ENABLED) &&
                 !(group.Attributes & SE_GROUP_USE_FOR_DENY_ONLY);
    }
    FreeSid(administrators);
    return member;
}

}  // namespace kzo
