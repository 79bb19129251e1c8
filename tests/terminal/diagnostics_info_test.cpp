// The gathering of the diagnostics from scratch keys, an absent service and
// the running system.
#include <gtest/gtest.h>

#include <windows.h>

#include "diagnostics_info.h"
#include "test_registry.h"
#include "test_support.h"

namespace kzo {
namespace {

using test::ScratchKey;

// Both schedulers read from one scratch key; the Run key exists, the
// RunServices key does not; the service is absent.
TEST(DiagnosticsInfo, SettingsAndAutorunEntriesFromTheirKeys) {
    ScratchKey scratch;
    test::RegKey settings = scratch.sub("Scheduler");
    test::RegKey run = scratch.sub("Run");
    settings.setString("DAT", "  C:\\user.jsf ");
    settings.setDword("LogF", 1);
    settings.setString("LOG", "C:\\user.log");
    settings.setDword("OneInst", 0);
    run.setString("KZOScheduler", "\"C:\\KZO\\tickr.exe\"");
    const std::string missing = scratch.sub("NoRunServices").path();
    const std::string serviceName = test::uniqueName("KZO absent service ");
    DiagnosticsSources sources;
    sources.userRoot = sources.systemRoot = scratch.root();
    sources.schedulerKey = settings.c_str();
    sources.runKey = run.c_str();
    sources.runServicesKey = missing.c_str();
    sources.serviceName = serviceName.c_str();

    DiagnosticsInput in = gatherDiagnostics("C:\\KZO", true, sources);
    for (const ReportedScheduler* s : {&in.user, &in.system}) {
        EXPECT_EQ("C:\\KZO\\tickr.exe", s->executor);
        EXPECT_EQ("C:\\user.jsf", s->dat);
        EXPECT_TRUE(s->logF);
        EXPECT_EQ("C:\\user.log", s->log);
    }
    EXPECT_FALSE(in.user.oneInst);
    EXPECT_TRUE(in.user.autorunKeyOpened);
    EXPECT_EQ("\"C:\\KZO\\tickr.exe\"", in.user.autorunValue);
    EXPECT_FALSE(in.system.autorunKeyOpened);
    EXPECT_TRUE(in.systemScheduleShown);
    EXPECT_EQ("C:\\KZO\\tickr.exe", gatherDiagnostics("C:\\KZO\\", false, sources).user.executor);
    if (in.os.nt) {
        EXPECT_FALSE(in.service.available);
        EXPECT_NE(std::string::npos, diagnosticsReport(in, {}, nullptr).find("Service \t: Unavailable : "));
    }
}

TEST(DiagnosticsInfo, TheSystemsOwnFigures) {
    OsVersion os = currentOsVersion();
    EXPECT_GE(os.major, 4u);
    CpuInfo cpu = currentCpu();
    EXPECT_GE(cpu.processors, 1u);
    EXPECT_GE(comctl32Version(), 400u);

    SystemInformationRows rows = systemInformationRows(defaultTaskListNames());
    EXPECT_EQ(0u, rows.os.find("MS Windows\xAE "));
    EXPECT_FALSE(rows.computerName.empty());
    EXPECT_NE(std::string::npos, rows.ram.find("Mb"));
    EXPECT_EQ(25u, rows.time.size()) << rows.time;
}

TEST(DiagnosticsInfo, ExecutableTypes) {
    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    std::uint32_t answer = executableType(self);
    EXPECT_EQ('P', static_cast<char>(answer & 0xFF));
    EXPECT_EQ('E', static_cast<char>((answer >> 8) & 0xFF));

    test::TempDir dir;
    test::writeFile(dir.file("note.txt"), "text");
    EXPECT_EQ(0u, executableType(dir.file("note.txt")));
    EXPECT_EQ(0u, executableType(dir.file("missing.exe")));
}

}  // namespace
}  // namespace kzo
