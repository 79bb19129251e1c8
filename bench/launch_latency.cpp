// How punctually the User Scheduler launches: the real tickr.exe runs a task
// due every minute, whose process (start_stamp.exe) records the moment it
// starts; the figure is that moment in milliseconds after the full minute, over
// several passes. Beside it, measured in the same run, the time a process start
// alone takes: this program starting the same fixture the way the launcher does.
//
//   launch_latency.exe [passes]      (default 4, at least 3)
//
// It points the current user's scheduler settings at a schedule of its own:
// run it in a Wine prefix of its own, with a display (tools/bench.sh does).
// Takes about passes + 1 minutes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "scheduler_settings.h"
#include "task_record.h"

namespace {

using namespace kzo;

constexpr int kProcessStartRuns = 15;
constexpr UINT kStopMessage = 32876;  // the Terminal's stop request to an executor
// CREATE_DEFAULT_ERROR_MODE | CREATE_SEPARATE_WOW_VDM | CREATE_NEW_CONSOLE, as the launcher
constexpr DWORD kCreationFlags = 0x04000810;
// A stamp this far into its minute comes from the immediate pass of the start.
constexpr double kPassWindowMs = 10000;

unsigned long long preciseSystemTime() {
    using Precise = VOID(WINAPI*)(LPFILETIME);
    static const Precise precise = reinterpret_cast<Precise>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "GetSystemTimePreciseAsFileTime")));
    FILETIME ft;
    if (precise)
        precise(&ft);
    else
        GetSystemTimeAsFileTime(&ft);
    return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// Milliseconds after the full minute of a system time. Time zones differ from
// UTC by whole minutes, so this is also the offset in the local minute.
double msAfterMinute(unsigned long long stamp) {
    return static_cast<double>(stamp % 600000000ULL) / 10000.0;
}

std::string localMinute(unsigned long long stamp) {
    FILETIME utc{static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
    FILETIME local;
    SYSTEMTIME st{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    char text[8];
    std::snprintf(text, sizeof text, "%02u:%02u", st.wHour, st.wMinute);
    return text;
}

std::string ownFolder() {
    char module[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module, n);
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string fullPath(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::vector<unsigned long long> readStamps(const std::string& path) {
    std::vector<unsigned long long> stamps;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return stamps;
    unsigned long long value = 0;
    while (std::fscanf(file, "%llu", &value) == 1) stamps.push_back(value);
    std::fclose(file);
    return stamps;
}

HANDLE startProcess(const std::string& commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, kCreationFlags, nullptr,
                        nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// From the call that starts the fixture to its first action; -1 on failure.
double processStartMs(const std::string& fixture, const std::string& stampFile) {
    DeleteFileA(stampFile.c_str());
    unsigned long long before = preciseSystemTime();
    HANDLE process = startProcess(quoted(fixture) + " " + quoted(stampFile));
    if (!process) return -1;
    WaitForSingleObject(process, 30000);
    CloseHandle(process);
    std::vector<unsigned long long> stamps = readStamps(stampFile);
    if (stamps.empty() || stamps.back() < before) return -1;
    return static_cast<double>(stamps.back() - before) / 10000.0;
}

bool setString(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool setDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool pointSettingsAt(const std::string& schedule) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSchedulerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = setString(key, "DAT", schedule) && setDword(key, "Active", 1) &&
              setDword(key, "LogF", 0) && setDword(key, "Warn", 0) && setDword(key, "RepErr", 0) &&
              setDword(key, "RefreshTime", 10);
    RegCloseKey(key);
    return ok;
}

// One active task due every minute of every day that starts the fixture.
bool writeSchedule(const std::string& schedule, const std::string& command) {
    TaskRecord task = newTaskRecord(1);
    setField(task.name, "Latency");
    setField(task.command, command);
    task.weekdays = 127;
    task.cycle = 1;
    task.time = 1;
    task.runLater = 0;
    task.edited = 0;
    HANDLE file = CreateFileA(schedule.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &task, sizeof task, &written, nullptr) && written == sizeof task;
    CloseHandle(file);
    return ok;
}

void stopScheduler(HANDLE process) {
    HWND window = FindWindowA("KZOClass", "KZO Window");
    if (window) SendNotifyMessageA(window, kStopMessage, 0, 0);
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
}

struct Summary {
    double min, median, max;
};

Summary summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

// Least-squares slope of the values over their index: milliseconds per pass.
double slope(const std::vector<double>& values) {
    double n = static_cast<double>(values.size());
    double meanX = (n - 1) / 2, meanY = 0;
    for (double v : values) meanY += v / n;
    double num = 0, den = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        double dx = static_cast<double>(i) - meanX;
        num += dx * (values[i] - meanY);
        den += dx * dx;
    }
    return den > 0 ? num / den : 0;
}

}  // namespace

int main(int argc, char** argv) {
    int passes = argc > 1 ? std::atoi(argv[1]) : 4;
    if (passes < 3) passes = 3;
    if (passes > 60) passes = 60;
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    const std::string folder = ownFolder();
    const std::string fixture = fullPath(folder + "start_stamp.exe");
    const std::string tickr = fullPath(folder + "..\\tray\\tickr.exe");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string work = std::string(temp) + "kzo-latency\\";
    CreateDirectoryA(work.c_str(), nullptr);
    const std::string schedule = work + "latency.jsf";
    const std::string stamps = work + "stamps.txt";

    std::printf("Launch latency: tickr.exe under Wine, a task due every minute, %d passes\n\n",
                passes);

    std::vector<double> starts;
    for (int i = 0; i < kProcessStartRuns; ++i) {
        double ms = processStartMs(fixture, work + "start.txt");
        if (ms < 0) {
            std::printf("cannot start %s\n", fixture.c_str());
            return 1;
        }
        starts.push_back(ms);
        Sleep(50);  // each start on its own, as the scheduler's are
    }

    DeleteFileA(stamps.c_str());
    if (!writeSchedule(schedule, quoted(fixture) + " " + quoted(stamps)) ||
        !pointSettingsAt(schedule)) {
        std::printf("cannot write the schedule %s or the settings\n", schedule.c_str());
        return 1;
    }
    HANDLE scheduler = startProcess(quoted(tickr));
    if (!scheduler) {
        std::printf("cannot start %s (error %lu)\n", tickr.c_str(), GetLastError());
        return 1;
    }

    std::printf("%6s  %6s  %28s\n", "pass", "minute", "task start after the minute");
    std::vector<double> offsets;
    std::size_t seen = 0;
    DWORD deadline = GetTickCount() + static_cast<DWORD>(passes + 2) * 60000;
    while (static_cast<int>(offsets.size()) < passes &&
           static_cast<int>(GetTickCount() - deadline) < 0 &&
           WaitForSingleObject(scheduler, 200) == WAIT_TIMEOUT) {
        std::vector<unsigned long long> found = readStamps(stamps);
        for (; seen < found.size(); ++seen) {
            double offset = msAfterMinute(found[seen]);
            if (offset >= kPassWindowMs) {
                std::printf("%6s  %6s  %25.0f ms  (the immediate pass of the start: not counted)\n",
                            "-", localMinute(found[seen]).c_str(), offset);
                continue;
            }
            offsets.push_back(offset);
            std::printf("%6zu  %6s  %25.0f ms\n", offsets.size(), localMinute(found[seen]).c_str(),
                        offset);
        }
    }
    stopScheduler(scheduler);
    CloseHandle(scheduler);

    Summary start = summarize(starts);
    std::printf("\nProcess start alone (this program starting the fixture, %d runs): "
                "min %.0f  median %.0f  max %.0f ms\n",
                kProcessStartRuns, start.min, start.median, start.max);
    if (static_cast<int>(offsets.size()) < passes) {
        std::printf("only %zu of %d passes launched the task\n", offsets.size(), passes);
        return 1;
    }
    Summary offset = summarize(offsets);
    std::printf("Task start after the full minute: min %.0f  median %.0f  max %.0f ms, "
                "spread %.0f ms\n",
                offset.min, offset.median, offset.max, offset.max - offset.min);
    std::printf("Drift across the passes: %+.1f ms a pass (last - first: %+.0f ms)\n",
                slope(offsets), offsets.back() - offsets.front());
    std::printf("Beyond the wake at 1.000 s: median %.0f ms, for the pass and the process start\n",
                offset.median - 1000);
    std::printf("\nTargets: median <= 1,150 ms; spread (max - min) <= 60 ms; no drift.\n");
    return 0;
}
