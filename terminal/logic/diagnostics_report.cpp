#include "diagnostics_report.h"

#include <cctype>
#include <cstdio>
#include <string_view>

#include "blanks.h"

namespace kzo {

namespace {

constexpr char kBullet = '\x95';
constexpr std::string_view kEnd = "<END OF REPORT>";

// A value from the registry or the system is at most this long in the report,
// so that the parts before the tasks always fit the buffer.
constexpr std::size_t kLongestValue = 2599;

const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kDayNames[7] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};

std::string_view bounded(const std::string& text) {
    return std::string_view(text).substr(0, kLongestValue);
}

template <std::size_t N>
std::string_view fieldView(const char (&field)[N]) {
    return std::string_view(field, fieldLength(field));
}

const char* yesNo(bool value) { return value ? "YES" : "NO"; }

template <typename... Args>
std::string format(const char* pattern, Args... args) {
    char text[128];
    int n = std::snprintf(text, sizeof text, pattern, args...);
    if (n < 0) return std::string();
    return std::string(text, static_cast<std::size_t>(n) < sizeof text ? n : sizeof text - 1);
}

std::string blanksToZeros(std::string text) {
    for (char& c : text)
        if (c == ' ') c = '0';
    return text;
}

void heading(std::string& out, std::string_view title) {
    out += kBullet;
    out += title;
    out += "\r\n\r\n";
}

// Lines 3-6 of a scheduler: executor, schedule, refresh time, autorun.
void schedulerFileLines(std::string& out, const ReportedScheduler& s) {
    out += "Executor \t: \"";
    out += bounded(s.executor);
    out += "\"\r\nSchedule\t: \"";
    out += bounded(s.dat);
    out += "\"\r\nRefresh:\t: ";
    out += std::to_string(s.refreshTime);
    out += "\r\nAutorun \t: ";
    if (!s.autoStart) {
        out += "NO";
    } else {
        out += "YES";
        if (s.autorunKeyOpened) {
            out += ", REG : \"";
            out += bounded(s.autorunValue);
            out += "\"";
        }
    }
    out += "\r\n";
}

void flagLine(std::string& out, const char* label, bool value) {
    out += label;
    out += yesNo(value);
    out += "\r\n";
}

void logLine(std::string& out, const ReportedScheduler& s) {
    out += "Log     \t: ";
    if (s.logF) {
        out += "YES, \"";
        out += bounded(s.log);
        out += "\"";
    } else {
        out += "NO";
    }
    out += "\r\n";
}

void serviceLine(std::string& out, const ReportedService& service) {
    out += "Service \t: ";
    if (!service.available) {
        out += "Unavailable : ";
        out += bounded(service.errorText);
        out += "\r\n";
        return;
    }
    switch (service.startType) {
    case 2: out += "Auto, \""; break;
    case 3: out += "Demand, \""; break;
    case 4: out += "Disabled, \""; break;
    default: out += "???, \""; break;
    }
    out += bounded(service.binaryPath);
    out += "\"\r\n";
}

std::string osVersionNumbers(const OsVersion& os) {
    return format("Version %u.%u, Build %u", static_cast<unsigned>(os.major),
                  static_cast<unsigned>(os.minor), static_cast<unsigned>(os.build & 0xFFFF));
}

std::string reportHead(const DiagnosticsInput& in) {
    std::string out;
    out += kBullet;
    out += bounded(in.versionText);
    out += ".\r\n\r\n";

    heading(out, "User Scheduler");
    schedulerFileLines(out, in.user);
    flagLine(out, "Active  \t: ", in.user.active);
    flagLine(out, "Warn    \t: ", in.user.warn);
    flagLine(out, "Error   \t: ", in.user.repErr);
    flagLine(out, "OneInst \t: ", in.user.oneInst);
    logLine(out, in.user);

    out += "\r\n";
    heading(out, "System Scheduler");
    if (in.os.nt) serviceLine(out, in.service);
    schedulerFileLines(out, in.system);
    flagLine(out, "Active  \t: ", in.system.active);
    flagLine(out, "Warn    \t: ", in.system.warn);
    flagLine(out, "Error   \t: ", in.system.repErr);
    logLine(out, in.system);

    out += "\r\n";
    heading(out, "System Information");
    out += "OS    \t: MS Windows\xAE ";
    out += in.os.nt ? "NT/2000/XP, " : "95/98/Me, ";
    out += osVersionNumbers(in.os);
    out += " ";
    out += bounded(in.os.servicePack);
    out += " \r\n";
    if (in.cpu.oemId != 0)
        out += "CPU \t: Unknown";
    else
        out += "CPU  \t: " + cpuInformationText(in.cpu);
    out += "\r\n";
    out += format("Comctl32\t: %u\r\n", in.comctl32);

    out += "\r\n";
    heading(out, in.systemScheduleShown ? "System Tasks" : "User Tasks");
    return out;
}

bool namesAnExe(std::string_view command) {
    for (std::size_t i = 0; i + 4 <= command.size(); ++i) {
        if (command[i] == '.' && std::toupper(static_cast<unsigned char>(command[i + 1])) == 'E' &&
            std::toupper(static_cast<unsigned char>(command[i + 2])) == 'X' &&
            std::toupper(static_cast<unsigned char>(command[i + 3])) == 'E')
            return true;
    }
    return false;
}

const char* typePrefix(int type) {
    switch (type) {
    case kTypeApplication: return "APP> ";
    case kTypeDocument: return "DOC> ";
    case kTypeMessage: return "MSG> ";
    case kTypeShutdown: return "SDN> ";
    default: return "?\?\?> ";
    }
}

std::string exeTypeSuffix(std::uint32_t answer) {
    if (answer == 0) return " (N/A)";
    return format(" (%c%c %u)", static_cast<char>(answer & 0xFF), static_cast<char>((answer >> 8) & 0xFF),
                  static_cast<unsigned>((answer >> 24) & 0xFF));
}

std::string cutLine(std::size_t leftOut) {
    return "Tasks left out\t: " + std::to_string(leftOut) + " (the report is full)\r\n";
}

}  // namespace

std::string exeQueryPath(const std::string& command) {
    std::string path = trimBlanks(command);
    for (char& c : path)
        if (c == '"') c = ' ';
    return trimBlanks(path);
}

std::string reportTaskLines(const TaskRecord& task, const ExeTypeQuery& exeType, const RunEvent* lastResult) {
    std::string out = "Name   \t: ";
    out += fieldView(task.name);
    out += "\r\nCommand\t: ";
    out += typePrefix(task.type);
    std::string_view command = fieldView(task.command);
    out += command;
    if ((task.type == kTypeApplication || task.type == kTypeDocument) && namesAnExe(command)) {
        std::uint32_t answer = exeType ? exeType(exeQueryPath(std::string(command))) : 0;
        out += exeTypeSuffix(answer);
    }
    out += "\r\nWorking\t: ";
    out += fieldView(task.folder);
    out += "\r\nStatus\t: ";
    out += task.active ? "Active\r\n" : "Disabled\r\n";
    out += "ROnce  \t: ";
    out += task.runOnce ? "YES\r\n" : "NO\r\n";
    out += format("Kill   \t: %d\r\n", static_cast<int>(task.killAfter));
    out += format("Quit   \t: %d\r\n", static_cast<int>(task.quitAfter));
    out += "OnErr  \t:";
    out += fieldView(task.onError);
    out += "\r\nMonth  \t: ";
    if (task.months == 0 || task.months == 4095) {
        out += "Every";
    } else {
        for (int bit = 0; bit < 12; ++bit) {
            if (static_cast<std::uint32_t>(task.months) & (1u << bit)) {
                out += kMonthNames[bit];
                out += ' ';
            }
        }
    }
    out += "\r\nWeek   \t: ";
    for (int bit = 0; bit < 7; ++bit)
        if (task.weekdays & (1 << bit)) out += kDayNames[bit];
    out += "\r\nDOM    \t: ";
    out += fieldView(task.daysOfMonth);
    out += "\r\nTime \t: ";
    out += blanksToZeros(format("%2d:%2d", static_cast<int>(task.time / 60), static_cast<int>(task.time % 60)));
    if (task.runLater) out += ", Post";
    if (task.cycle) out += ", Cycle";
    out += ",";
    out += blanksToZeros(format("[%2d:%2d-%2d:%2d]", static_cast<int>(task.intervalStart / 60),
                                static_cast<int>(task.intervalStart % 60),
                                static_cast<int>(task.intervalEnd / 60),
                                static_cast<int>(task.intervalEnd % 60)));
    // A blank, or "!" for an inverted interval (any non-zero byte).
    out += task.invert ? '!' : ' ';
    out += "\r\nLRun   \t: ";
    out += format("%2d.%2d.%4lld %2d:%2d", task.lastDay, task.lastMonth,
                  static_cast<long long>(task.lastYear) + 1900, task.lastHour, task.lastMinute);
    out += "\r\nResult \t: ";
    if (lastResult) {
        const LaunchTime& t = lastResult->time;
        out += format("%04d-%02d-%02d %02d:%02d:%02d, ", static_cast<int>(t.year), static_cast<int>(t.month),
                      static_cast<int>(t.day), static_cast<int>(t.hour), static_cast<int>(t.minute),
                      static_cast<int>(t.second));
        out += bounded(resultText(*lastResult));
    } else {
        out += "none recorded";
    }
    out += "\r\n_______________________\r\n\r\n";
    return out;
}

std::string diagnosticsReport(const DiagnosticsInput& input, const std::vector<const TaskRecord*>& tasks,
                              const ExeTypeQuery& exeType, std::size_t bufferSize) {
    const std::size_t limit = bufferSize > 0 ? bufferSize - 1 : 0;  // room for the NUL
    std::string out = reportHead(input);
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        auto last = input.lastResults.find(trimmedName(*tasks[i]));
        std::string lines =
            reportTaskLines(*tasks[i], exeType, last == input.lastResults.end() ? nullptr : &last->second);
        // After this task there must still be room for the end: the closing
        // line of a cut when tasks follow (its count only shrinks later).
        const std::size_t after = tasks.size() - 1 - i;
        const std::size_t closing = kEnd.size() + (after > 0 ? cutLine(after).size() : 0);
        if (out.size() + lines.size() + closing > limit) {
            out += cutLine(tasks.size() - i);
            break;
        }
        out += lines;
    }
    out += kEnd;
    // Only a buffer far below 64 KB can be short of the parts before the tasks:
    // they are cut, the end kept.
    if (out.size() > limit) {
        std::size_t keep = limit >= kEnd.size() ? limit - kEnd.size() : 0;
        out = out.substr(0, keep) + std::string(kEnd.substr(0, limit - keep));
    }
    return out;
}

std::string osInformationText(const OsVersion& os) {
    std::string out = "MS Windows\xAE ";
    out += os.nt ? "NT/2000/XP" : "95/98/Me";
    out += ", " + osVersionNumbers(os) + " ";
    out += bounded(os.servicePack);
    return out;
}

std::string cpuInformationText(const CpuInfo& cpu) {
    if (cpu.oemId != 0) return "Unknown";
    if (cpu.processorType == 586) return format("Pentium (%u)", static_cast<unsigned>(cpu.processors));
    return format("%u (%u)", static_cast<unsigned>(cpu.processorType), static_cast<unsigned>(cpu.processors));
}

std::string ramInformationText(std::uint64_t totalPhysicalBytes) {
    return format("%lluMb", static_cast<unsigned long long>((totalPhysicalBytes >> 20) + 1));
}

std::string timeInformationText(const LocalTimeFields& t, const TaskListNames& names) {
    std::string month = t.month >= 1 && t.month <= 12 ? names.months[t.month - 1] : std::string();
    // The names start with Monday; the clock's weekdays with Sunday.
    std::string day = t.weekday >= 0 && t.weekday <= 6 ? names.days[(t.weekday + 6) % 7] : std::string();
    char text[160];
    std::snprintf(text, sizeof text, "%.2d %.40s %.4d, %.40s, %.2d:%.2d:%.2d", t.day, month.c_str(),
                  t.year, day.c_str(), t.hour, t.minute, t.second);
    return text;
}

}  // namespace kzo
