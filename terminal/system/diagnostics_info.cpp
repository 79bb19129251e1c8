#include "diagnostics_info.h"

#include <shellapi.h>
#include <winver.h>

#include <vector>

#include "registry_values.h"
#include "service_start_type.h"
#include "string_table.h"
#include "system_error.h"
#include "terminal_scheduler_settings.h"
#include "win_handles.h"

namespace kzo {

namespace {

// The Run and RunServices values are read into buffers of this size.
constexpr std::size_t kAutorunValueSize = 260;

ReportedScheduler reported(const TerminalSchedulerSettings& s, const std::string& executor) {
    ReportedScheduler r;
    r.executor = executor;
    r.dat = s.dat;
    r.refreshTime = s.refreshTime;
    r.autoStart = s.autoStart;
    r.active = s.active;
    r.warn = s.warn;
    r.repErr = s.repErr;
    r.oneInst = s.oneInst;
    r.logF = s.logF;
    r.log = s.log;
    return r;
}

void readAutorun(HKEY root, const char* key, ReportedScheduler& r) {
    UniqueKey opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return;
    r.autorunKeyOpened = true;
    char value[kAutorunValueSize];
    if (readTrimmedString(opened.get(), kAutostartValue, value, sizeof value)) r.autorunValue = value;
}

}  // namespace

std::string terminalFolder() {
    char path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return std::string();
    std::string folder(path, n);
    std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

DiagnosticsInput gatherDiagnostics(const std::string& folder, bool systemScheduleShown,
                                   const DiagnosticsSources& sources) {
    DiagnosticsInput in;
    in.versionText = loadString(7624, in.versionText);
    std::string executor = folder;
    if (!executor.empty() && executor.back() != '\\' && executor.back() != '/') executor += '\\';
    executor += "tickr.exe";

    TerminalSchedulerSettings user;
    readTerminalUserSettings(user, sources.userRoot, sources.schedulerKey);
    in.user = reported(user, executor);
    readAutorun(sources.userRoot, sources.runKey, in.user);

    in.os = currentOsVersion();
    TerminalSchedulerSettings system;
    readTerminalSystemSettings(system, sources.systemRoot, sources.schedulerKey, sources.serviceName);
    in.system = reported(system, executor);
    readAutorun(sources.systemRoot, sources.runServicesKey, in.system);
    if (in.os.nt) in.service = queryReportedService(sources.serviceName);

    in.cpu = currentCpu();
    in.comctl32 = comctl32Version();
    in.systemScheduleShown = systemScheduleShown;
    return in;
}

ReportedService queryReportedService(const char* serviceName) {
    ReportedService r;
    std::uint32_t startType = 0;
    if (std::uint32_t error = queryServiceConfig(serviceName, startType, r.binaryPath)) {
        r.errorText = systemErrorText(error);
        return r;
    }
    r.available = true;
    r.startType = startType;
    return r;
}

OsVersion currentOsVersion() {
    OsVersion os;
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return os;
    os.nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    os.major = info.dwMajorVersion;
    os.minor = info.dwMinorVersion;
    os.build = info.dwBuildNumber;
    os.servicePack.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
    return os;
}

CpuInfo currentCpu() {
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    CpuInfo cpu;
    cpu.oemId = info.dwOemId;
    cpu.processorType = info.dwProcessorType;
    cpu.processors = info.dwNumberOfProcessors;
    return cpu;
}

unsigned comctl32Version() {
    char path[MAX_PATH + 16];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 0;
    lstrcatA(path, "\\comctl32.dll");
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return 0;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data())) return 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return HIWORD(fixed->dwFileVersionMS) * 100u + LOWORD(fixed->dwFileVersionMS);
}

std::uint32_t executableType(const std::string& path) {
    SHFILEINFOA info = {};
    return static_cast<std::uint32_t>(SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_EXETYPE));
}

std::string currentTimeText(const TaskListNames& names) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    LocalTimeFields t;
    t.year = now.wYear;
    t.month = now.wMonth;
    t.day = now.wDay;
    t.weekday = now.wDayOfWeek;
    t.hour = now.wHour;
    t.minute = now.wMinute;
    t.second = now.wSecond;
    return timeInformationText(t, names);
}

namespace {

// The installed memory in bytes: GlobalMemoryStatusEx where the system has
// it (2000 and later), else GlobalMemoryStatus, which stops at 4 GB.
std::uint64_t physicalMemory() {
    // The structure of the call, as its headers declare it from Windows 2000 on.
    struct MemoryStatusEx {
        DWORD dwLength, dwMemoryLoad;
        DWORDLONG ullTotalPhys, ullAvailPhys, ullTotalPageFile, ullAvailPageFile, ullTotalVirtual,
            ullAvailVirtual, ullAvailExtendedVirtual;
    };
    using StatusExFn = BOOL(WINAPI*)(MemoryStatusEx*);
    if (auto statusEx = systemFunction<StatusExFn>("kernel32.dll", "GlobalMemoryStatusEx")) {
        MemoryStatusEx memory = {};
        memory.dwLength = sizeof memory;
        if (statusEx(&memory)) return memory.ullTotalPhys;
    }
    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    return memory.dwTotalPhys;
}

}  // namespace

SystemInformationRows systemInformationRows(const TaskListNames& names) {
    SystemInformationRows rows;
    rows.os = osInformationText(currentOsVersion());
    char computer[256] = {};
    DWORD size = sizeof computer;
    if (GetComputerNameA(computer, &size)) rows.computerName.assign(computer, size);
    rows.cpu = cpuInformationText(currentCpu());
    rows.ram = ramInformationText(physicalMemory());
    rows.time = currentTimeText(names);
    return rows;
}

TaskListNames loadTaskListNames() {
    TaskListNames names;
    for (std::size_t i = 0; i < names.days.size(); ++i)
        names.days[i] = loadString(kFirstDayNameString + static_cast<unsigned>(i), names.days[i]);
    for (std::size_t i = 0; i < names.months.size(); ++i)
        names.months[i] = loadString(kFirstMonthNameString + static_cast<unsigned>(i), names.months[i]);
    for (std::size_t i = 0; i < names.typePrefixes.size(); ++i)
        names.typePrefixes[i] =
            loadString(kFirstTypePrefixString + static_cast<unsigned>(i), names.typePrefixes[i]);
    return names;
}

}  // namespace kzo
