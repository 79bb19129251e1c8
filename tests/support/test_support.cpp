#include "test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "win_handles.h"

namespace kzo::test {

namespace {

// Under CTest the output is a pipe, which the C runtime buffers whole: a test
// program that hangs and is ended at its timeout would show nothing. Written
// as it comes, the output shows the test that hung.
const bool kOutputUnbuffered = [] {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    return true;
}();

void removeTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

std::string uniqueName(const std::string& stem) {
    static LONG serial = 0;
    return stem + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(InterlockedIncrement(&serial));
}

bool waitUntil(const std::function<bool()>& condition, std::uint32_t timeoutMs, std::uint32_t pollMs) {
    std::uint64_t deadline = nowMs() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (nowMs() >= deadline) return false;
        Sleep(pollMs);
    }
}

HiddenFunctions::HiddenFunctions(std::initializer_list<const char*> names) { hideBoundFunctions(names); }
HiddenFunctions::~HiddenFunctions() { hideBoundFunctions({}); }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

TempDir::TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    do {
        path_ = base + uniqueName("kzo-test-");
    } while (!CreateDirectoryA(path_.c_str(), nullptr));
}

TempDir::~TempDir() { removeTree(path_); }

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::int64_t fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TaskRecord record(const std::string& name) {
    TaskRecord r = newTaskRecord(1);
    setField(r.name, name);
    return r;
}

TaskRecord everyMinuteTask(const std::string& name, const std::string& command) {
    TaskRecord r = record(name);
    r.weekdays = 127;
    r.runLater = 0;
    r.edited = 0;
    r.cycle = 1;
    r.time = 1;
    setField(r.command, command);
    return r;
}

std::string scheduleBytes(const std::vector<TaskRecord>& records) {
    std::string bytes(records.size() * kRecordSize, '\0');
    if (!records.empty()) std::memcpy(&bytes[0], records.data(), bytes.size());
    return bytes;
}

void writeSchedule(const std::string& path, const std::vector<TaskRecord>& records) {
    writeFile(path, scheduleBytes(records));
}

std::vector<TaskRecord> readSchedule(const std::string& path) {
    std::string bytes = readFile(path);
    std::vector<TaskRecord> records(bytes.size() / kRecordSize);
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * kRecordSize);
    return records;
}

std::uint64_t nowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<std::uint64_t>(counter.QuadPart * 1000 / frequency.QuadPart);
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

std::string fixturePath() { return buildTreeProgram("task_fixture.exe"); }

std::string fixtureCommand(const std::string& marker, const std::string& options) {
    return quoted(fixturePath()) + " " + quoted(marker) + " " + options;
}

std::map<std::string, std::string> waitForMarker(const std::string& path, std::uint32_t timeoutMs,
                                                 const char* key) {
    std::map<std::string, std::string> values;
    auto ready = [&] {
        values.clear();
        std::istringstream lines(readFile(path));
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::size_t equals = line.find('=');
            if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
        }
        return values.count(key) != 0;
    };
    if (!waitUntil(ready, timeoutMs)) values.clear();
    return values;
}

namespace {

struct FixtureSearch {
    DWORD pid;
    bool found;
};

BOOL CALLBACK findFixtureWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<FixtureSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    search->found = owner == search->pid && std::strcmp(className, "KZOTaskFixture") == 0;
    return !search->found;
}

}  // namespace

void endFixture(const std::map<std::string, std::string>& marker) {
    auto pid = marker.find("pid");
    if (pid == marker.end()) return;
    // A fixture that has ended by itself leaves its id to the next process
    // Wine starts (another test program, the desktop): only a process that
    // still shows a fixture window is the fixture.
    FixtureSearch search{static_cast<DWORD>(std::stoul(pid->second)), false};
    EnumWindows(findFixtureWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, search.pid);
    if (!process) return;
    TerminateProcess(process, 0);
    CloseHandle(process);
}

void truncateFromOutside(const std::string& path, std::int64_t size) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    ASSERT_NE(nullptr, unixName) << "needs Wine";
    std::wstring wide(path.begin(), path.end());
    char* name = unixName(wide.c_str());
    ASSERT_NE(nullptr, name);
    std::string command = "/usr/bin/truncate -s " + std::to_string(size) + " " + name;
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    // Wine gives no waitable handle for a Unix process: watch the size instead.
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    waitUntil([&] { return fileSize(path) == size; }, 10000, 5);
    ASSERT_EQ(size, fileSize(path)) << "truncate did not run";
}

}  // namespace kzo::test
