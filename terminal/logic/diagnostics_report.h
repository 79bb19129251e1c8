// The diagnostics report a user pastes into a support mail, and the rows of
// the System Information window: text built from plain values that the Win32
// side gathers (diagnostics_info.h). Pure: no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "run_event.h"
#include "task_cells.h"
#include "task_record.h"

namespace kzo {

// One scheduler's settings as the Terminal reads them.
struct ReportedScheduler {
    std::string executor;      // the Terminal's folder and "tickr.exe"
    std::string dat;           // schedule file, as stored
    int refreshTime = 10;
    bool autoStart = false;
    bool autorunKeyOpened = false;  // the Run (user) or RunServices (system) key
    std::string autorunValue;       // its "KZOScheduler" text; empty when absent
    bool active = true;
    bool warn = false;
    bool repErr = false;
    bool oneInst = false;      // reported for the User Scheduler only
    bool logF = false;
    std::string log;
};

// The System Scheduler service's configuration (NT family only).
struct ReportedService {
    bool available = false;
    std::string errorText;       // the system's text of the failed query
    std::uint32_t startType = 0; // 2 automatic, 3 demand, 4 disabled
    std::string binaryPath;
};

struct OsVersion {
    bool nt = true;  // platform id 2; else 95/98/Me
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;  // only its low 16 bits are shown
    std::string servicePack;
};

struct CpuInfo {
    std::uint32_t oemId = 0;
    std::uint32_t processorType = 0;
    std::uint32_t processors = 0;
};

struct DiagnosticsInput {
    std::string versionText = "KZO Scheduler  6.30, Build 677 E";  // string 7624
    ReportedScheduler user;
    ReportedScheduler system;
    ReportedService service;  // reported on the NT family only (os.nt)
    OsVersion os;
    CpuInfo cpu;
    unsigned comctl32 = 0;    // major * 100 + minor; 0 when unknown
    bool systemScheduleShown = false;
    // The last result of each task of the schedule shown, by trimmed name
    // (lastResultByTask of its run history).
    std::map<std::string, RunEvent> lastResults;
};

// The shell's executable-type answer for a path (0: not an executable).
using ExeTypeQuery = std::function<std::uint32_t(const std::string& path)>;

// The report is built in a buffer of this many bytes in the Diagnostics dialog,
// its terminating NUL included.
constexpr std::size_t kReportBufferSize = 64 * 1024;

// The report text, CR LF line ends, 0x95 before each heading, "<END OF
// REPORT>" last. tasks are the selected tasks in list order (the caller looked
// them up by their trimmed names and skipped those not found); exeType is
// asked for the Application and Document commands that name an ".EXE".
//
// The text never needs more than bufferSize bytes with its NUL: the tasks are
// added while the next one fits together with the end of the report; when one
// does not, it and the tasks after it are left out and the line
// "Tasks left out\t: N (the report is full)" comes before "<END OF REPORT>".
std::string diagnosticsReport(const DiagnosticsInput& input, const std::vector<const TaskRecord*>& tasks,
                              const ExeTypeQuery& exeType, std::size_t bufferSize = kReportBufferSize);

// The lines of one task in the report, its closing rule and blank line
// included. After its last run ("LRun") comes its last result from the run
// history: "Result \t: 2026-12-09 04:00:05, exit 3", or "Result \t: none
// recorded" without one (lastResult nullptr).
std::string reportTaskLines(const TaskRecord& task, const ExeTypeQuery& exeType,
                            const RunEvent* lastResult = nullptr);

// The path the executable-type query is made on: the command trimmed, its
// double quotes turned into blanks, trimmed again.
std::string exeQueryPath(const std::string& command);

// The System Information rows.
// "MS Windows" and the registered sign, then "NT/2000/XP" or "95/98/Me",
// ", Version %d.%d, Build %d " and the service-pack text.
std::string osInformationText(const OsVersion& os);
// "Unknown" when the OEM id is not 0, "Pentium (%d)" for processor type 586,
// else "%d (%d)" of type and count.
std::string cpuInformationText(const CpuInfo& cpu);
// "%dMb" of (bytes >> 20) + 1.
std::string ramInformationText(std::uint64_t totalPhysicalBytes);

// A local time as the system's clock gives it (weekday 0 = Sunday .. 6).
struct LocalTimeFields {
    int year = 0, month = 1, day = 1, weekday = 0, hour = 0, minute = 0, second = 0;
};
// "%0.2d %s %0.4d, %s, %0.2d:%0.2d:%0.2d": day, month name, year, weekday
// name, hour, minute, second; a month or weekday out of range has an empty
// name.
std::string timeInformationText(const LocalTimeFields& time,
                                 const TaskListNames& names = defaultTaskListNames());

}  // namespace kzo
