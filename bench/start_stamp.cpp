// The task the launch-latency run schedules (a benchmark fixture, not shipped):
// its first action appends the moment it runs, in 100-ns units of the system
// time (UTC), as one line to the file it is given.
//
//   start_stamp.exe FILE
//
// A GUI program, so that starting it opens no console.
#include <windows.h>

#include <cstdio>

namespace {

// The system time to the tick where the system has it (Windows 8 on; Wine).
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

}  // namespace

int main(int argc, char** argv) {
    unsigned long long now = preciseSystemTime();
    if (argc < 2) return 2;
    char line[32];
    int length = std::snprintf(line, sizeof line, "%llu\r\n", now);
    HANDLE file = CreateFileA(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
    return 0;
}
