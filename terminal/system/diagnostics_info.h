// What the diagnostics report and the System Information window show, gathered
// from the registry, the service control manager and the system. The texts are
// made by diagnostics_report.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "autostart_entry.h"
#include "diagnostics_report.h"
#include "product_names.h"
#include "scheduler_settings.h"
#include "task_cells.h"

namespace kzo {

// Where the settings are read: the production places by default, scratch keys
// and services in tests.
struct DiagnosticsSources {
    HKEY userRoot = HKEY_CURRENT_USER;
    HKEY systemRoot = HKEY_LOCAL_MACHINE;
    const char* schedulerKey = kSchedulerKey;
    const char* runKey = kRunKey;                  // under userRoot
    const char* runServicesKey = kRunServicesKey;  // under systemRoot
    const char* serviceName = kServiceName;
};

// The Terminal's own folder with its closing backslash.
std::string terminalFolder();

// Everything the report shows apart from the tasks: both schedulers' settings
// as the Terminal reads them, their autostart entries, on the NT family the
// service's configuration, the system's version, processor and comctl32
// version. terminalFolder holds the executor "tickr.exe" (a closing backslash
// is added when missing).
DiagnosticsInput gatherDiagnostics(const std::string& terminalFolder, bool systemScheduleShown,
                                   const DiagnosticsSources& sources = DiagnosticsSources());

// The service's start type and binary path, or "unavailable" with the
// system's text of the failed step.
ReportedService queryReportedService(const char* serviceName);

OsVersion currentOsVersion();
CpuInfo currentCpu();
// comctl32.dll of the system folder: file version major * 100 + minor, 0 when
// it cannot be read.
unsigned comctl32Version();

// The shell's executable-type answer for a file (SHGetFileInfo with
// SHGFI_EXETYPE): 0 when it is no executable or cannot be found.
std::uint32_t executableType(const std::string& path);

// The rows of the System Information window.
struct SystemInformationRows {
    std::string os, computerName, cpu, ram, time;
};
SystemInformationRows systemInformationRows(const TaskListNames& names);
// The Time row for the window's timer: the local time now.
std::string currentTimeText(const TaskListNames& names);

// The weekday and month names and the command prefixes from the running
// program's string table (strings 7546-7567), the English defaults for those
// missing.
TaskListNames loadTaskListNames();

}  // namespace kzo
