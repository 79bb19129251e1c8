// The diagnostics report byte for byte, its task lines, its cut at the buffer's
// end, and the System Information rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "diagnostics_report.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::record;

DiagnosticsInput sampleInput() {
    DiagnosticsInput in;
    in.user.executor = "C:\\KZO\\tickr.exe";
    in.user.dat = "%USERPROFILE%\\user.jsf";
    in.user.refreshTime = 10;
    in.user.autoStart = true;
    in.user.autorunKeyOpened = true;
    in.user.autorunValue = "\"C:\\KZO\\tickr.exe\"";
    in.user.repErr = true;
    in.user.oneInst = true;
    in.user.logF = true;
    in.user.log = "C:\\KZO\\user.log";
    in.system.executor = "C:\\KZO\\tickr.exe";
    in.system.dat = "C:\\KZO\\System.jsf";
    in.system.refreshTime = 5;
    in.system.autoStart = false;
    in.system.active = false;
    in.system.warn = true;
    in.service.available = true;
    in.service.startType = 2;
    in.service.binaryPath = "C:\\KZO\\tickrnt.exe";
    in.os = OsVersion{true, 5, 1, 0x0A280A28, "Service Pack 3"};
    in.cpu = CpuInfo{0, 586, 2};
    in.comctl32 = 581;
    return in;
}

const ExeTypeQuery kNoQuery = [](const std::string&) -> std::uint32_t {
    ADD_FAILURE() << "no executable-type query expected";
    return 0;
};

// Each case changes the sample; the report must then hold one text and lack
// another.
TEST(DiagnosticsReport, LinesThatDependOnTheSystem) {
    struct Case {
        std::function<void(DiagnosticsInput&)> edit;
        const char* contains;
        const char* lacks;
    };
    const Case cases[] = {
        {[](DiagnosticsInput& in) { in.os.nt = false; }, "95/98/Me, Version", "Service \t"},
        {[](DiagnosticsInput& in) { in.service = ReportedService{false, "No such service.", 0, ""}; },
         "Service \t: Unavailable : No such service.\r\nExecutor", "Auto, "},
        {[](DiagnosticsInput& in) { in.service.startType = 3; }, "Service \t: Demand, \"", "Auto, "},
        {[](DiagnosticsInput& in) { in.service.startType = 0; }, "Service \t: ???, \"", "Auto, "},
        {[](DiagnosticsInput& in) { in.user.autorunKeyOpened = false; }, "Autorun \t: YES\r\nActive", "REG"},
        {[](DiagnosticsInput& in) { in.cpu.oemId = 9; }, "CPU \t: Unknown\r\n", "Pentium"},
        {[](DiagnosticsInput& in) { in.cpu.processorType = 8664; }, "CPU  \t: 8664 (2)\r\n", "Pentium"},
        {[](DiagnosticsInput& in) { in.systemScheduleShown = true; }, "\x95System Tasks\r\n\r\n<END", "User Tasks"},
    };
    for (const Case& c : cases) {
        DiagnosticsInput in = sampleInput();
        c.edit(in);
        std::string report = diagnosticsReport(in, {}, kNoQuery);
        EXPECT_NE(std::string::npos, report.find(c.contains)) << c.contains << "\n" << report;
        EXPECT_EQ(std::string::npos, report.find(c.lacks)) << c.contains;
    }
}

std::string lineOf(const std::string& lines, const std::string& label);

TaskRecord task0805() {
    TaskRecord r = record("Backup");
    setField(r.command, "copy.bat");
    r.weekdays = 31;
    r.time = 8 * 60 + 5;
    r.runLater = 1;
    return r;
}

TEST(DiagnosticsReport, WholeReportWithOneTask) {
    TaskRecord r = task0805();
    setField(r.folder, "C:\\Work");
    setField(r.onError, "fail.exe");
    setField(r.daysOfMonth, "01,15,L");
    r.killAfter = 60;
    r.quitAfter = 30;
    const std::string expected =
        "\x95KZO Scheduler  6.30, Build 677 E.\r\n\r\n"
        "\x95User Scheduler\r\n\r\n"
        "Executor \t: \"C:\\KZO\\tickr.exe\"\r\n"
        "Schedule\t: \"%USERPROFILE%\\user.jsf\"\r\n"
        "Refresh:\t: 10\r\n"
        "Autorun \t: YES, REG : \"\"C:\\KZO\\tickr.exe\"\"\r\n"
        "Active  \t: YES\r\n"
        "Warn    \t: NO\r\n"
        "Error   \t: YES\r\n"
        "OneInst \t: YES\r\n"
        "Log     \t: YES, \"C:\\KZO\\user.log\"\r\n"
        "\r\n\x95System Scheduler\r\n\r\n"
        "Service \t: Auto, \"C:\\KZO\\tickrnt.exe\"\r\n"
        "Executor \t: \"C:\\KZO\\tickr.exe\"\r\n"
        "Schedule\t: \"C:\\KZO\\System.jsf\"\r\n"
        "Refresh:\t: 5\r\n"
        "Autorun \t: NO\r\n"
        "Active  \t: NO\r\n"
        "Warn    \t: YES\r\n"
        "Error   \t: NO\r\n"
        "Log     \t: NO\r\n"
        "\r\n\x95System Information\r\n\r\n"
        "OS    \t: MS Windows\xAE NT/2000/XP, Version 5.1, Build 2600 Service Pack 3 \r\n"
        "CPU  \t: Pentium (2)\r\n"
        "Comctl32\t: 581\r\n"
        "\r\n\x95User Tasks\r\n\r\n"
        "Name   \t: Backup\r\n"
        "Command\t: APP> copy.bat\r\n"
        "Working\t: C:\\Work\r\n"
        "Status\t: Active\r\n"
        "ROnce  \t: NO\r\n"
        "Kill   \t: 60\r\n"
        "Quit   \t: 30\r\n"
        "OnErr  \t:fail.exe\r\n"
        "Month  \t: Every\r\n"
        "Week   \t: MoTuWeThFr\r\n"
        "DOM    \t: 01,15,L\r\n"
        "Time \t: 08:05, Post,[00:00-23:59] \r\n"
        "LRun   \t:  1. 1.1900  0: 0\r\n"
        "Result \t: none recorded\r\n"
        "_______________________\r\n\r\n"
        "<END OF REPORT>";
    EXPECT_EQ(expected, diagnosticsReport(sampleInput(), {&r}, kNoQuery));
}

// The task's last result comes from the run history after its last run, found
// by its trimmed name; the lines before it stay as they were.
TEST(DiagnosticsReport, EachTaskWithItsLastResult) {
    TaskRecord backup = task0805();
    setField(backup.name, "  Backup ");
    TaskRecord other = record("Clock");
    DiagnosticsInput in = sampleInput();
    RunEvent failed;
    failed.task = "Backup";
    failed.time = launchTimeAt(2026, 12, 9, 4, 0, 5);
    failed.outcome = RunOutcome::NotStarted;
    failed.hasCode = true;
    failed.code = 2;
    failed.text = "The system cannot find the file specified.";
    in.lastResults["Backup"] = failed;
    const std::string report = diagnosticsReport(in, {&backup, &other}, nullptr);
    const std::string backupBlock =
        "LRun   \t:  1. 1.1900  0: 0\r\n"
        "Result \t: 2026-12-09 04:00:05, not started: The system cannot find the file specified.\r\n"
        "_______________________\r\n\r\nName   \t: Clock\r\n";
    EXPECT_NE(std::string::npos, report.find(backupBlock)) << report;
    EXPECT_NE(std::string::npos, report.find("Result \t: none recorded\r\n_______________________\r\n\r\n<END"))
        << "Clock has none";

    failed.outcome = RunOutcome::Exited;
    failed.code = 3;
    failed.text.clear();
    EXPECT_EQ("Result \t: 2026-12-09 04:00:05, exit 3", lineOf(reportTaskLines(backup, nullptr, &failed), "Result \t:"));
}

std::string lineOf(const std::string& lines, const std::string& label) {
    std::size_t at = lines.find(label);
    if (at == std::string::npos) return "(no " + label + ")";
    return lines.substr(at, lines.find("\r\n", at) - at);
}

TEST(DiagnosticsReport, TaskLinesByField) {
    struct Case {
        std::function<void(TaskRecord&)> edit;
        const char* line;
    };
    const Case cases[] = {
        {[](TaskRecord& r) { r.invert = 1; }, "Time \t: 08:05, Post,[00:00-23:59]!"},
        {[](TaskRecord& r) { r.invert = -32; }, "Time \t: 08:05, Post,[00:00-23:59]!"},
        {[](TaskRecord& r) { r.cycle = 1; r.runLater = 0; r.time = 90; r.intervalStart = 545; r.intervalEnd = 1020; },
         "Time \t: 01:30, Cycle,[09:05-17:00] "},
        {[](TaskRecord& r) { r.time = -65; r.runLater = 0; }, "Time \t: -1:-5,[00:00-23:59] "},
        {[](TaskRecord& r) { r.months = 5; }, "Month  \t: Jan Mar "},
        {[](TaskRecord& r) { r.lastDay = 5; r.lastMonth = 3; r.lastYear = 101; r.lastHour = 9; r.lastMinute = 7; },
         "LRun   \t:  5. 3.2001  9: 7"},
        {[](TaskRecord& r) { r.lastYear = INT32_MAX; }, "LRun   \t:  1. 1.2147485547  0: 0"},
        {[](TaskRecord& r) { r.type = 44; }, "Command\t: ?\?\?> copy.bat"},
    };
    for (const Case& c : cases) {
        TaskRecord r = task0805();
        c.edit(r);
        std::string lines = reportTaskLines(r, nullptr);
        std::string label = std::string(c.line).substr(0, std::string(c.line).find(':') + 1);
        EXPECT_EQ(c.line, lineOf(lines, label));
    }
}

TEST(DiagnosticsReport, ExecutableTypeOfApplicationAndDocumentCommands) {
    struct Case {
        int type;
        const char* command;
        std::uint32_t answer;
        const char* queried;  // nullptr: no query
        const char* line;
    } const cases[] = {
        {kTypeApplication, " \"C:\\Program Files\\App.EXE\" ", 0x04004550, "C:\\Program Files\\App.EXE",
         "Command\t: APP>  \"C:\\Program Files\\App.EXE\"  (PE 4)"},
        {kTypeDocument, "c:\\old.exe", 0x0300454E, "c:\\old.exe", "Command\t: DOC> c:\\old.exe (NE 3)"},
        {kTypeApplication, "tool.exe /x", 0, "tool.exe /x", "Command\t: APP> tool.exe /x (N/A)"},
        {kTypeMessage, "see setup.exe", 0, nullptr, "Command\t: MSG> see setup.exe"},
    };
    for (const Case& c : cases) {
        TaskRecord r = task0805();
        r.type = static_cast<int8_t>(c.type);
        setField(r.command, c.command);
        std::vector<std::string> asked;
        std::string lines = reportTaskLines(r, [&](const std::string& path) {
            asked.push_back(path);
            return c.answer;
        });
        EXPECT_EQ(c.line, lineOf(lines, "Command\t:"));
        EXPECT_EQ(c.queried ? std::vector<std::string>{c.queried} : std::vector<std::string>{}, asked);
    }
}

// Tasks with every text field full: about 1.7 KB of lines each, so that some
// 36 of them fill the buffer.
TEST(DiagnosticsReport, CutBeforeTheFirstTaskThatDoesNotFit) {
    TaskRecord big = task0805();
    setField(big.name, std::string(64, 'N'));
    setField(big.command, std::string(511, 'C'));
    setField(big.folder, std::string(511, 'F'));
    setField(big.onError, std::string(511, 'E'));
    const std::size_t taskSize = reportTaskLines(big, nullptr).size();
    const std::size_t limit = kReportBufferSize - 1;  // the NUL's byte
    for (std::size_t selected : {30u, 37u, 100u, 5000u}) {
        std::string report = diagnosticsReport(sampleInput(), std::vector<const TaskRecord*>(selected, &big), nullptr);
        ASSERT_LE(report.size(), limit) << selected;
        std::size_t shown = 0;
        for (std::size_t at = report.find("Name   \t:"); at != std::string::npos; at = report.find("Name   \t:", at + 1))
            ++shown;
        if (selected == 30) {
            EXPECT_EQ(selected, shown);
            EXPECT_EQ(std::string::npos, report.find("Tasks left out"));
            continue;
        }
        EXPECT_GE(shown, 30u) << "the buffer is used, not given up early";
        EXPECT_LT(shown, 37u) << "37 full tasks cannot fit";
        const std::string closing =
            "Tasks left out\t: " + std::to_string(selected - shown) + " (the report is full)\r\n<END OF REPORT>";
        EXPECT_EQ(closing, report.substr(report.size() - std::min(report.size(), closing.size()))) << selected;
        EXPECT_GT(report.size() + taskSize, limit) << "one more task would have fitted";
    }
}

TEST(DiagnosticsReport, ASmallBufferIsNeverExceeded) {
    TaskRecord r = task0805();
    for (std::size_t size : {1u, 10u, 16u, 1000u, 3000u}) {
        std::string report = diagnosticsReport(sampleInput(), {&r, &r}, nullptr, size);
        EXPECT_LE(report.size() + 1, size) << size;
        if (size >= 16) {
            EXPECT_EQ("<END OF REPORT>", report.substr(report.size() - 15)) << size;
        }
    }
}

TEST(SystemInformationRows, OsCpuRamAndTime) {
    EXPECT_EQ("MS Windows\xAE 95/98/Me, Version 4.10, Build 2222 A", osInformationText(OsVersion{false, 4, 10, 2222, "A"}));
    EXPECT_EQ("Pentium (1)", cpuInformationText(CpuInfo{0, 586, 1}));
    EXPECT_EQ("386 (1)", cpuInformationText(CpuInfo{0, 386, 1}));
    EXPECT_EQ("Unknown", cpuInformationText(CpuInfo{9, 586, 8}));
    EXPECT_EQ("1Mb", ramInformationText((1ull << 20) - 1));
    EXPECT_EQ("65537Mb", ramInformationText(64ull << 30));
    EXPECT_EQ("05 Mar 2024, Tu, 09:07:03", timeInformationText(LocalTimeFields{2024, 3, 5, 2, 9, 7, 3}));
    EXPECT_EQ("31 Dec 0987, Su, 23:59:59", timeInformationText(LocalTimeFields{987, 12, 31, 0, 23, 59, 59}));
    EXPECT_EQ("01  2024, , 00:00:00", timeInformationText(LocalTimeFields{2024, 13, 1, 7, 0, 0, 0}));
}

}  // namespace
}  // namespace kzo
