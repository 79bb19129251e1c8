#include "program_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "win_handles.h"

namespace kzo::test {

SYSTEMTIME waitForMidMinute() {
    SYSTEMTIME now;
    waitUntil(
        [&] {
            GetLocalTime(&now);
            return now.wSecond >= 12 && now.wSecond <= 47;
        },
        61000);
    return now;
}

ChildProcess::ChildProcess(const std::string& commandLine, const std::string& folder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
    terminate();
    if (process_) CloseHandle(process_);
}

bool ChildProcess::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::waitForExit(std::uint32_t timeoutMs) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void ChildProcess::terminate() {
    if (!running()) return;
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
}

bool mutexExists(const char* name) {
    return static_cast<bool>(UniqueHandle(OpenMutexA(SYNCHRONIZE, FALSE, name)));
}

namespace {

struct WindowSearch {
    DWORD pid;
    std::string windowClass;
    std::string title;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid) return TRUE;
    char windowClass[64] = "";
    char title[256] = "";
    GetClassNameA(window, windowClass, sizeof windowClass);
    GetWindowTextA(window, title, sizeof title);
    if (search->windowClass != windowClass) return TRUE;
    if (!search->title.empty() && search->title != title) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK collectStaticText(HWND control, LPARAM parameter) {
    char windowClass[32] = "";
    GetClassNameA(control, windowClass, sizeof windowClass);
    if (lstrcmpiA(windowClass, "Static") != 0) return TRUE;
    // An icon's "text" names its resource.
    if ((GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
    char text[2048] = "";
    GetWindowTextA(control, text, sizeof text);
    if (text[0] != '\0') *reinterpret_cast<std::string*>(parameter) += std::string(text) + "|";
    return TRUE;
}

}  // namespace

std::vector<HWND> findWindows(DWORD pid, const std::string& windowClass, const std::string& title,
                              bool visibleOnly) {
    WindowSearch search{pid, windowClass, title, visibleOnly, {}};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(DWORD pid, const std::string& windowClass, const std::string& title,
                   bool visibleOnly, std::uint32_t timeoutMs) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            std::vector<HWND> windows = findWindows(pid, windowClass, title, visibleOnly);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

HWND waitForBox(DWORD pid, const std::string& caption, std::uint32_t timeoutMs) {
    return waitForWindow(pid, "#32770", caption, true, timeoutMs);
}

std::string boxText(HWND box) {
    std::string text;
    EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool answerBox(HWND box, int button, std::uint32_t timeoutMs) {
    PostMessageA(box, WM_COMMAND, button, 0);
    return waitUntil([&] { return !IsWindow(box); }, timeoutMs);
}

std::string readAndAnswerBox(DWORD pid, const std::string& caption, int button) {
    HWND box = waitForBox(pid, caption);
    if (!box) return "(no box \"" + caption + "\")";
    std::string text = boxText(box);
    EXPECT_TRUE(answerBox(box, button)) << "the box stays";
    return text;
}

void closeOwnBoxes() {
    for (HWND box : findWindows(GetCurrentProcessId(), "#32770", "", false)) {
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    }
}

bool settle(HWND window, std::uint32_t timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

int listViewRows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string listViewText(HWND list, int row, int column) {
    constexpr std::size_t kTextSize = 1024;
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process) return "(no process)";
    char* remote = static_cast<char*>(
        VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMA) + kTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!remote) return "(no memory)";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = remote + sizeof(LVITEMA);
    item.cchTextMax = kTextSize;
    std::string text(kTextSize, '\0');
    if (WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr)) {
        LRESULT length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
        if (!ReadProcessMemory(process.get(), remote + sizeof(LVITEMA), text.data(), kTextSize, nullptr)) length = 0;
        text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    } else {
        text.clear();
    }
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return text;
}

}  // namespace kzo::test
