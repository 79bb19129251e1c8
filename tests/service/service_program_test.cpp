// tickrnt.exe as the setup, the uninstaller, the service control manager and a
// console see it: registration and removal through its command line, the
// service started, paused, continued and stopped through the service control
// manager, a due task of the System Schedule run by the service, and the failed
// starts. The event log's entries are read from its diagnostic copy.
//
// These tests use the real service name, the machine's scheduler settings and
// the mutex KZOMutexSysNT: they run alone, and leave neither the service nor
// changed settings behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "application_log.h"
#include "execution_log.h"
#include "registry_values.h"
#include "scheduler_settings.h"
#include "service_test_support.h"
#include "system_error.h"
#include "program_driver.h"
#include "test_support.h"
#include "win_handles.h"

namespace kzo {
namespace {

constexpr const char* kService = "KZO Scheduler";
const std::string kSourceKey = eventSourceKey("KZO Scheduler");

std::string tickrntPath() { return test::buildTreeProgram("..\\service\\tickrnt.exe"); }

struct ProgramRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;  // standard output and standard error, as written
};

// Runs tickrnt.exe with the arguments and collects its output through a pipe.
ProgramRun runTickrnt(const std::string& args) {
    ProgramRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0)) return run;
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    std::string command = "\"" + tickrntPath() + "\"" + (args.empty() ? "" : " " + args);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return run;
    UniqueHandle processHandle(process.hProcess), thread(process.hThread);
    writeEnd.reset();
    char buffer[512];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        run.output.append(buffer, read);
    WaitForSingleObject(processHandle.get(), 60000);
    GetExitCodeProcess(processHandle.get(), &run.exitCode);
    return run;
}

UniqueService openManager() {
    return UniqueService(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
}

UniqueService openService(SC_HANDLE manager, DWORD access = SERVICE_ALL_ACCESS) {
    return UniqueService(OpenServiceA(manager, kService, access));
}

SERVICE_STATUS queryStatus(SC_HANDLE service) {
    SERVICE_STATUS status{};
    QueryServiceStatus(service, &status);
    return status;
}

bool waitForState(SC_HANDLE service, DWORD state, std::uint32_t timeoutMs = 20000) {
    return test::waitUntil([&] { return queryStatus(service).dwCurrentState == state; }, timeoutMs);
}

// Stops and deletes the service and removes its event source, now and when
// the test ends.
class ServiceRemoval {
public:
    ServiceRemoval() { removeAll(); }
    ~ServiceRemoval() { removeAll(); }

    static void removeAll() {
        UniqueService manager = openManager();
        if (UniqueService service = openService(manager.get())) {
            SERVICE_STATUS status{};
            if (ControlService(service.get(), SERVICE_CONTROL_STOP, &status))
                waitForState(service.get(), SERVICE_STOPPED, 30000);
            DeleteService(service.get());
        }
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSourceKey.c_str());
    }
};

class ServiceProgramTest : public ::testing::Test {
protected:
    // Registers the service and points the event log's diagnostic copy at the
    // test's folder.
    void install() {
        ProgramRun run = runTickrnt("/r");
        ASSERT_EQ(1u, run.exitCode) << run.output;
        ASSERT_EQ("", run.output);
        UniqueKey source;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSourceKey.c_str(), 0,
                                               KEY_SET_VALUE, source.put()));
        ASSERT_EQ(0u, writeString(source.get(), kDiagnosticCopyValue, events()));
    }

    std::string events() const { return dir_.file("events.log"); }
    std::vector<std::string> entries() const { return test::copiedEntries(events()); }
    void setString(const char* name, const std::string& value) { values_.setString(name, value); }
    void setDword(const char* name, std::uint32_t value) { values_.setDword(name, value); }
    // The machine's stored Active, or -1 when there is none.
    int storedActive() const {
        std::optional<DWORD> active = values_.dword("Active");
        return active ? static_cast<int>(*active) : -1;
    }

    // Members end in reverse order: the service stops (storing Active) before
    // the settings are restored, and both before the folder goes.
    test::TempDir dir_;
    test::SavedKey values_{HKEY_LOCAL_MACHINE, kSchedulerKey};
    ServiceRemoval removal_;
};

// --- Registration ---------------------------------------------------------------

TEST_F(ServiceProgramTest, RegisterInstallsTheServiceAndItsEventSource) {
    install();
    UniqueService manager = openManager();
    UniqueService service = openService(manager.get());
    ASSERT_TRUE(service) << "error " << GetLastError();
    DWORD needed = 0;
    QueryServiceConfigA(service.get(), nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    ASSERT_TRUE(QueryServiceConfigA(service.get(), config, needed, &needed));
    EXPECT_EQ(0x110u, config->dwServiceType) << "own process, interactive";
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), config->dwStartType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_ERROR_NORMAL), config->dwErrorControl);
    EXPECT_EQ("\"" + tickrntPath() + "\"", std::string(config->lpBinaryPathName));
    EXPECT_STREQ("KZO Scheduler", config->lpDisplayName);
    EXPECT_STREQ("LocalSystem", config->lpServiceStartName);
    EXPECT_TRUE(!config->lpLoadOrderGroup || !*config->lpLoadOrderGroup);
    EXPECT_TRUE(!config->lpDependencies || !*config->lpDependencies);

    UniqueKey source;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSourceKey.c_str(), 0, KEY_READ, source.put()));
    char file[MAX_PATH] = {};
    DWORD type = 0;
    DWORD bytes = sizeof file;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(source.get(), "EventMessageFile", nullptr, &type,
                                              reinterpret_cast<BYTE*>(file), &bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), type);
    EXPECT_EQ(tickrntPath(), std::string(file)) << "the full path, whatever the command line held";
    std::uint32_t types = 0;
    EXPECT_TRUE(readDword(source.get(), "TypesSupported", types));
    EXPECT_EQ(7u, types);
}

TEST_F(ServiceProgramTest, RegisterReplacesAnExistingService) {
    install();
    {
        UniqueService manager = openManager();
        UniqueService service = openService(manager.get());
        ASSERT_TRUE(ChangeServiceConfigA(service.get(), SERVICE_NO_CHANGE, SERVICE_DEMAND_START,
                                         SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, nullptr, "Changed"));
    }
    install();
    UniqueService manager = openManager();
    UniqueService service = openService(manager.get());
    ASSERT_TRUE(service);
    QUERY_SERVICE_CONFIGA* config = nullptr;
    std::vector<BYTE> buffer(8192);
    config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    DWORD needed = 0;
    ASSERT_TRUE(QueryServiceConfigA(service.get(), config, static_cast<DWORD>(buffer.size()), &needed));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), config->dwStartType);
    EXPECT_STREQ("KZO Scheduler", config->lpDisplayName);
}

TEST_F(ServiceProgramTest, RegisterReplacesARunningServiceOnceItHasStopped) {
    test::writeFile(dir_.file("system.jsf"), "");
    setString("DAT", dir_.file("system.jsf"));
    setDword("Active", 1);
    install();
    {
        UniqueService manager = openManager();
        UniqueService service = openService(manager.get());
        ASSERT_TRUE(StartServiceA(service.get(), 0, nullptr)) << "error " << GetLastError();
        ASSERT_TRUE(waitForState(service.get(), SERVICE_RUNNING));
    }
    ProgramRun run = runTickrnt("/r");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("", run.output) << "no CreateService failure";
    UniqueService manager = openManager();
    UniqueService service = openService(manager.get());
    ASSERT_TRUE(service);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), queryStatus(service.get()).dwCurrentState);
    EXPECT_EQ(1, storedActive());
}

TEST_F(ServiceProgramTest, UnregisterRemovesTheServiceAndItsEventSource) {
    install();
    ProgramRun run = runTickrnt("/u");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("", run.output);
    UniqueService manager = openManager();
    EXPECT_FALSE(openService(manager.get()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST), GetLastError());
    UniqueKey source;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSourceKey.c_str(), 0, KEY_READ, source.put()));

    // Nothing left to remove: both steps report, the exit code tells.
    run = runTickrnt("/u");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("ApplicationLog::DelEventSource: " + systemErrorText(ERROR_FILE_NOT_FOUND) + "\n" +
                  "OpenService: " + systemErrorText(ERROR_SERVICE_DOES_NOT_EXIST) + "\n",
              run.output);
}

TEST_F(ServiceProgramTest, ArgumentsTakeEitherPrefixInAnyCase) {
    for (const char* args : {"/R", "-r"}) {
        ProgramRun run = runTickrnt(args);
        EXPECT_EQ(1u, run.exitCode) << args;
        UniqueService manager = openManager();
        EXPECT_TRUE(openService(manager.get())) << args;
        run = runTickrnt(args[0] == '/' ? "-U" : "/U");
        EXPECT_EQ(1u, run.exitCode) << args;
        EXPECT_FALSE(openService(manager.get())) << args;
    }
}

TEST_F(ServiceProgramTest, AnyOtherCommandLinePrintsTheUsageText) {
    const std::string usage =
        "KZO Scheduler, Version 6.30, Build 677\n\r"
        "Arguments:\n\r"
        " /r        Register service\n\r"
        " /u        Unregister service\n\r"
        " /d        Run as a regular application\n\r";
    for (const char* args : {"/x", "/r /d", "r", "/register"}) {
        ProgramRun run = runTickrnt(args);
        EXPECT_EQ(1u, run.exitCode) << args;
        EXPECT_EQ(usage, run.output) << args;
    }
    UniqueService manager = openManager();
    EXPECT_FALSE(openService(manager.get())) << "nothing was installed";
}

// --- The running service ----------------------------------------------------------

// A task of the System Schedule that is due at once: a cycle of one minute that
// has never run. It starts the task fixture with the given marker.
TaskRecord dueTask(const std::string& marker) {
    TaskRecord r = test::record("service task");
    r.weekdays = 127;
    r.runLater = 0;
    r.edited = 0;
    r.cycle = 1;
    r.time = 1;
    setField(r.command, "\"" + test::fixturePath() + "\" \"" + marker + "\" --exit-after 5000");
    return r;
}

TEST_F(ServiceProgramTest, ServiceRunsADueTaskAndFollowsPauseContinueAndStop) {
    const std::string schedule = dir_.file("system.jsf");
    const std::string log = dir_.file("system.log");
    const std::string marker = dir_.file("task.marker");
    test::writeSchedule(schedule, {dueTask(marker)});
    setString("DAT", schedule);
    setString("LOG", log);
    setDword("LogF", 1);
    setDword("Active", 1);
    setDword("Warn", 0);
    setDword("RepErr", 0);
    setDword("RefreshTime", 10);
    install();

    UniqueService manager = openManager();
    UniqueService service = openService(manager.get());
    ASSERT_TRUE(service);
    test::waitForMidMinute();
    ASSERT_TRUE(StartServiceA(service.get(), 0, nullptr)) << "error " << GetLastError();
    ASSERT_TRUE(waitForState(service.get(), SERVICE_RUNNING));

    auto started = test::waitForMarker(marker, 20000);
    ASSERT_FALSE(started.empty()) << "the service did not start the task";
    test::endFixture(started);
    TaskRecord stamped{};
    ASSERT_TRUE(test::waitUntil(
        [&] {
            auto records = test::readSchedule(schedule);
            if (records.size() != 1 || records[0].lastYear == 0) return false;
            stamped = records[0];
            return true;
        },
        15000))
        << "the stamp was not written back";
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear - 1900, stamped.lastYear);
    ASSERT_TRUE(test::waitUntil([&] { return test::fileSize(log) > 0; }, 10000));
    EXPECT_EQ(formatLogLine(stamped, false), test::readFile(log));

    SERVICE_STATUS status{};
    ASSERT_TRUE(ControlService(service.get(), SERVICE_CONTROL_PAUSE, &status));
    ASSERT_TRUE(waitForState(service.get(), SERVICE_PAUSED));
    EXPECT_EQ(0, storedActive());
    ASSERT_TRUE(ControlService(service.get(), SERVICE_CONTROL_CONTINUE, &status));
    ASSERT_TRUE(waitForState(service.get(), SERVICE_RUNNING));
    EXPECT_EQ(1, storedActive());

    // The stop stores the Active the service holds, even when the value is gone.
    values_.remove("Active");
    ASSERT_TRUE(ControlService(service.get(), SERVICE_CONTROL_STOP, &status));
    ASSERT_TRUE(waitForState(service.get(), SERVICE_STOPPED));
    EXPECT_EQ(1, storedActive());
    status = queryStatus(service.get());
    EXPECT_EQ(0u, status.dwWin32ExitCode);
    EXPECT_TRUE(entries().empty()) << entries().front();
}

TEST_F(ServiceProgramTest, UnknownControlCodeWritesAnInformationEntry) {
    test::writeFile(dir_.file("system.jsf"), "");
    setString("DAT", dir_.file("system.jsf"));
    setDword("Active", 1);
    install();
    UniqueService manager = openManager();
    UniqueService service = openService(manager.get());
    ASSERT_TRUE(StartServiceA(service.get(), 0, nullptr)) << "error " << GetLastError();
    ASSERT_TRUE(waitForState(service.get(), SERVICE_RUNNING));
    SERVICE_STATUS status{};
    ControlService(service.get(), 200, &status);
    EXPECT_TRUE(test::waitUntil([&] { return !entries().empty(); }, 10000));
    EXPECT_EQ(std::vector<std::string>{"information: Bad service request."}, entries());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), queryStatus(service.get()).dwCurrentState);
}

TEST_F(ServiceProgramTest, ConsoleInstanceHoldingTheMutexMakesTheStartFail) {
    test::writeFile(dir_.file("system.jsf"), "");
    setString("DAT", dir_.file("system.jsf"));
    setDword("Active", 1);
    install();
    test::ChildProcess console("\"" + tickrntPath() + "\" /d");
    ASSERT_TRUE(console.started());
    ASSERT_TRUE(test::waitUntil(
        [] { return static_cast<bool>(UniqueHandle(OpenMutexA(SYNCHRONIZE, FALSE, "KZOMutexSysNT"))); },
        10000))
        << "the console instance took no mutex";

    UniqueService manager = openManager();
    UniqueService service = openService(manager.get());
    ASSERT_TRUE(StartServiceA(service.get(), 0, nullptr)) << "error " << GetLastError();
    ASSERT_TRUE(waitForState(service.get(), SERVICE_STOPPED));
    SERVICE_STATUS status = queryStatus(service.get());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR), status.dwWin32ExitCode);
    EXPECT_EQ(0x80004005u, status.dwServiceSpecificExitCode);
    EXPECT_EQ((std::vector<std::string>{"error: KZO Scheduler already started. Terminating (183)",
                                        "error: Service startup failure: 0x80004005"}),
              entries());
    EXPECT_TRUE(console.running()) << "the console instance runs on";
}

TEST_F(ServiceProgramTest, ServiceWithoutSystemScheduleFailsToStart) {
    install();
    UniqueService manager = openManager();
    UniqueService service = openService(manager.get());
    ASSERT_TRUE(StartServiceA(service.get(), 0, nullptr)) << "error " << GetLastError();
    ASSERT_TRUE(waitForState(service.get(), SERVICE_STOPPED));
    SERVICE_STATUS status = queryStatus(service.get());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR), status.dwWin32ExitCode);
    EXPECT_EQ(0x80004005u, status.dwServiceSpecificExitCode);
    EXPECT_EQ((std::vector<std::string>{"error: There is no registered System Schedule.",
                                        "error: Service startup failure: 0x80004005"}),
              entries());
}

}  // namespace
}  // namespace kzo
