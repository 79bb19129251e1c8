#include "test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace kzo::test {

namespace {

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

void removeKeyTree(HKEY parent, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
        char name[256];
        for (;;) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            std::string child = name;
            removeKeyTree(key, child);
            if (RegDeleteKeyA(key, child.c_str()) != ERROR_SUCCESS) break;
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(parent, path.c_str());
}

}  // namespace

ScratchKey::ScratchKey() {
    static LONG serial = 0;
    path_ = "Software\\KZOTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(InterlockedIncrement(&serial));
    removeKeyTree(HKEY_CURRENT_USER, path_);
}

ScratchKey::~ScratchKey() { removeKeyTree(HKEY_CURRENT_USER, path_); }

std::string ScratchKey::volatileSub(const std::string& name) const {
    std::string path = sub(name);
    HKEY key;
    // The scratch key itself stays an ordinary key.
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                             nullptr));
    RegCloseKey(key);
    return path;
}

TempDir::TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static LONG serial = 0;
    for (;;) {
        std::ostringstream name;
        name << base << "kzo-test-" << GetCurrentProcessId() << "-" << InterlockedIncrement(&serial);
        path_ = name.str();
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
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

std::string fixturePath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "task_fixture.exe";
}

std::map<std::string, std::string> waitForMarker(const std::string& path, std::uint32_t timeoutMs) {
    std::uint64_t deadline = nowMs() + timeoutMs;
    do {
        std::map<std::string, std::string> values;
        std::istringstream lines(readFile(path));
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::size_t equals = line.find('=');
            if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
        }
        if (values.count("ready")) return values;
        Sleep(20);
    } while (nowMs() < deadline);
    return {};
}

void endFixture(const std::map<std::string, std::string>& marker) {
    auto pid = marker.find("pid");
    if (pid == marker.end()) return;
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, std::stoul(pid->second));
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
    std::uint64_t deadline = nowMs() + 10000;
    while (fileSize(path) != size && nowMs() < deadline) Sleep(5);
    ASSERT_EQ(size, fileSize(path)) << "truncate did not run";
}


}  // namespace kzo::test
