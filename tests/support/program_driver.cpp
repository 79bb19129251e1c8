#include "program_driver.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "win_handles.h"

namespace kzo::test {

bool waitUntil(const std::function<bool()>& condition, std::uint32_t timeoutMs) {
    std::uint64_t deadline = nowMs() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (nowMs() >= deadline) return false;
        Sleep(20);
    }
}

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

std::string buildTreeProgram(const std::string& relativePath) {
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module);
    path.erase(path.find_last_of('\\') + 1);
    path += relativePath;
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
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

namespace {

struct WindowSearch {
    DWORD pid;
    std::string windowClass;
    std::string title;
    bool visibleOnly;
    HWND found = nullptr;
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
    search->found = window;
    return FALSE;
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

HWND waitForWindow(DWORD pid, const std::string& windowClass, const std::string& title,
                   bool visibleOnly, std::uint32_t timeoutMs) {
    WindowSearch search{pid, windowClass, title, visibleOnly};
    waitUntil(
        [&] {
            EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
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

namespace {

BOOL CALLBACK closeIfOwnBox(HWND window, LPARAM) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char windowClass[16] = "";
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (owner == GetCurrentProcessId() && std::string(windowClass) == "#32770") {
        PostMessageA(window, WM_COMMAND, IDNO, 0);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

}  // namespace

void closeOwnBoxes() { EnumWindows(closeIfOwnBox, 0); }

bool settle(HWND window, std::uint32_t timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

SavedKey::SavedKey(HKEY root, const std::string& path) : root_(root), path_(path) {
    HKEY key;
    existed_ = RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (existed_) {
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD nameLength = sizeof name;
            DWORD type = 0;
            DWORD size = 0;
            if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS)
                break;
            Value value{type, std::vector<BYTE>(size)};
            nameLength = sizeof name;
            RegEnumValueA(key, index, name, &nameLength, nullptr, &type, value.data.data(), &size);
            value.data.resize(size);
            saved_[std::string(name, nameLength)] = std::move(value);
        }
        RegCloseKey(key);
    }
    clearValues();
}

SavedKey::~SavedKey() {
    clearValues();
    if (!existed_) {
        RegDeleteKeyA(root_, path_.c_str());
        return;
    }
    HKEY key;
    if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const auto& [name, value] : saved_)
        RegSetValueExA(key, name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
}

void SavedKey::clearValues() const {
    HKEY key;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
    for (;;) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (RegDeleteValueA(key, name) != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
}

void SavedKey::setString(const char* name, const std::string& value) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void SavedKey::setDword(const char* name, DWORD value) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void SavedKey::remove(const char* name) {
    UniqueKey key;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        RegDeleteValueA(key.get(), name);
}

std::optional<DWORD> SavedKey::dword(const char* name) const {
    HKEY key;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return value;
}

}  // namespace kzo::test
