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

#include "application_log.h"
#include "execution_log.h"
#include "program_driver.h"
#include "run_event.h"
#include "scheduler_settings.h"
#include "service_test_support.h"
#include "system_error.h"
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
    std::string command = test::quoted(tickrntPath()) + (args.empty() ? "" : " " + args);
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

// The service, or nullptr with the error as the last error.
UniqueService openService() {
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    UniqueService service(OpenServiceA(manager.get(), kService, SERVICE_ALL_ACCESS));
    DWORD error = GetLastError();
    manager.reset();
    SetLastError(error);
    return service;
}

SERVICE_STATUS queryStatus(SC_HANDLE service) {
    SERVICE_STATUS status{};
    QueryServiceStatus(service, &status);
    return status;
}

// The service's configuration, in a buffer that holds its strings.
struct ServiceConfig {
    std::vector<BYTE> buffer = std::vector<BYTE>(8192);
    QUERY_SERVICE_CONFIGA* operator->() { return reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data()); }
};

ServiceConfig queryConfig(SC_HANDLE service) {
    ServiceConfig config;
    DWORD needed = 0;
    EXPECT_TRUE(QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(config.buffer.data()),
                                    static_cast<DWORD>(config.buffer.size()), &needed))
        << "error " << GetLastError();
    return config;
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
        if (UniqueService service = openService()) {
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
        test::RegKey(HKEY_LOCAL_MACHINE, kSourceKey).setString(kDiagnosticCopyValue, events());
    }
    // Settings with a System Schedule (empty unless written), registered.
    void installWithSchedule() {
        test::writeFile(schedule(), "");
        settings_.setString("DAT", schedule());
        settings_.setDword("Active", 1);
        install();
    }
    // The service once started and in the state; nullptr (and a failure) when
    // not.
    static UniqueService startService(DWORD state = SERVICE_RUNNING) {
        UniqueService service = openService();
        if (!StartServiceA(service.get(), 0, nullptr)) {
            ADD_FAILURE() << "StartService: error " << GetLastError();
            return UniqueService();
        }
        if (!waitForState(service.get(), state)) {
            ADD_FAILURE() << "state " << state << " not reached";
            return UniqueService();
        }
        return service;
    }

    std::string schedule() const { return dir_.file("system.jsf"); }
    std::string events() const { return dir_.file("events.log"); }
    std::vector<std::string> entries() const { return test::copiedEntries(events()); }
    DWORD storedActive() const { return settings_.dword("Active").value_or(999); }

    // Members end in reverse order: the service stops (storing Active) before
    // the settings are restored, and both before the folder goes.
    test::TempDir dir_;
    test::SavedKey settings_{HKEY_LOCAL_MACHINE, kSchedulerKey};
    ServiceRemoval removal_;
};

// --- Registration ---------------------------------------------------------------

TEST_F(ServiceProgramTest, RegisterInstallsTheServiceAndItsEventSource) {
    install();
    UniqueService service = openService();
    ASSERT_TRUE(service) << "error " << GetLastError();
    ServiceConfig config = queryConfig(service.get());
    EXPECT_EQ(0x110u, config->dwServiceType) << "own process, interactive";
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), config->dwStartType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_ERROR_NORMAL), config->dwErrorControl);
    EXPECT_EQ(test::quoted(tickrntPath()), std::string(config->lpBinaryPathName));
    EXPECT_STREQ("KZO Scheduler", config->lpDisplayName);
    EXPECT_STREQ("LocalSystem", config->lpServiceStartName);
    EXPECT_TRUE(!config->lpLoadOrderGroup || !*config->lpLoadOrderGroup);
    EXPECT_TRUE(!config->lpDependencies || !*config->lpDependencies);

    test::RegKey source(HKEY_LOCAL_MACHINE, kSourceKey);
    EXPECT_EQ(test::RegValue::string(tickrntPath(), REG_EXPAND_SZ), source.stored("EventMessageFile"))
        << "the full path, whatever the command line held";
    EXPECT_EQ(test::RegValue::dword(7), source.stored("TypesSupported"));
}

TEST_F(ServiceProgramTest, RegisterReplacesAnExistingService) {
    install();
    ASSERT_TRUE(ChangeServiceConfigA(openService().get(), SERVICE_NO_CHANGE, SERVICE_DEMAND_START,
                                     SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, "Changed"));
    install();
    UniqueService service = openService();
    ASSERT_TRUE(service);
    ServiceConfig config = queryConfig(service.get());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), config->dwStartType);
    EXPECT_STREQ("KZO Scheduler", config->lpDisplayName);
}

TEST_F(ServiceProgramTest, RegisterReplacesARunningServiceOnceItHasStopped) {
    installWithSchedule();
    ASSERT_TRUE(startService());
    ProgramRun run = runTickrnt("/r");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("", run.output) << "no CreateService failure";
    UniqueService service = openService();
    ASSERT_TRUE(service);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), queryStatus(service.get()).dwCurrentState);
    EXPECT_EQ(1u, storedActive());
}

TEST_F(ServiceProgramTest, UnregisterRemovesTheServiceAndItsEventSource) {
    install();
    ProgramRun run = runTickrnt("/u");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("", run.output);
    EXPECT_FALSE(openService());
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

TEST_F(ServiceProgramTest, AnyOtherCommandLinePrintsTheUsageText) {
    const std::string usage =
        "KZO Scheduler, Version 6.30, Build 677\n\r"
        "Arguments:\n\r"
        " /r        Register service\n\r"
        " /u        Unregister service\n\r"
        " /d        Run as a regular application\n\r";
    // Each argument is parsed in ServiceCommandLine; here the program's
    // answer to what is no command, one argument or two.
    for (const char* args : {"/x", "/r /d"}) {
        ProgramRun run = runTickrnt(args);
        EXPECT_EQ(1u, run.exitCode) << args;
        EXPECT_EQ(usage, run.output) << args;
    }
    EXPECT_FALSE(openService()) << "nothing was installed";
}

// --- The running service ----------------------------------------------------------

TEST_F(ServiceProgramTest, ServiceRunsADueTaskAndFollowsPauseContinueAndStop) {
    const std::string log = dir_.file("system.log");
    const std::string marker = dir_.file("task.marker");
    settings_.setString("LOG", log);
    settings_.setDword("LogF", 1);
    settings_.setDword("Warn", 0);
    settings_.setDword("RepErr", 0);
    settings_.setDword("RefreshTime", 10);
    installWithSchedule();
    test::writeSchedule(schedule(), {test::everyMinuteTask(
                                        "service task", test::fixtureCommand(marker, "--exit-after 5000"))});

    test::waitForMidMinute();
    UniqueService service = startService();
    ASSERT_TRUE(service);

    auto started = test::waitForMarker(marker, 20000);
    ASSERT_FALSE(started.empty()) << "the service did not start the task";
    test::endFixture(started);
    TaskRecord stamped{};
    ASSERT_TRUE(test::waitUntil(
        [&] {
            auto records = test::readSchedule(schedule());
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

    // The service follows the program it started into its own run history.
    const std::string history = historyFileOf(schedule());
    EXPECT_TRUE(test::waitUntil(
        [&] {
            for (const RunOfTask& run : runsOf(parseHistory(test::readFile(history))))
                if (run.last.task == "service task" && run.last.outcome == RunOutcome::Exited)
                    return !run.last.runNow;
            return false;
        },
        15000))
        << test::readFile(history);

    SERVICE_STATUS status{};
    ASSERT_TRUE(ControlService(service.get(), SERVICE_CONTROL_PAUSE, &status));
    ASSERT_TRUE(waitForState(service.get(), SERVICE_PAUSED));
    EXPECT_EQ(0u, storedActive());
    ASSERT_TRUE(ControlService(service.get(), SERVICE_CONTROL_CONTINUE, &status));
    ASSERT_TRUE(waitForState(service.get(), SERVICE_RUNNING));
    EXPECT_EQ(1u, storedActive());

    // The stop stores the Active the service holds, even when the value is gone.
    settings_.remove("Active");
    ASSERT_TRUE(ControlService(service.get(), SERVICE_CONTROL_STOP, &status));
    ASSERT_TRUE(waitForState(service.get(), SERVICE_STOPPED));
    EXPECT_EQ(1u, storedActive());
    EXPECT_EQ(0u, queryStatus(service.get()).dwWin32ExitCode);
    EXPECT_TRUE(entries().empty()) << entries().front();
}

// --- Failed starts ------------------------------------------------------------------

TEST_F(ServiceProgramTest, ConsoleInstanceHoldingTheMutexMakesTheStartFail) {
    installWithSchedule();
    test::ChildProcess console(test::quoted(tickrntPath()) + " /d");
    ASSERT_TRUE(console.started());
    ASSERT_TRUE(test::waitUntil([] { return test::mutexExists("KZOMutexSysNT"); }, 10000))
        << "the console instance took no mutex";

    UniqueService service = startService(SERVICE_STOPPED);
    ASSERT_TRUE(service);
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
    UniqueService service = startService(SERVICE_STOPPED);
    ASSERT_TRUE(service);
    SERVICE_STATUS status = queryStatus(service.get());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR), status.dwWin32ExitCode);
    EXPECT_EQ(0x80004005u, status.dwServiceSpecificExitCode);
    EXPECT_EQ((std::vector<std::string>{"error: There is no registered System Schedule.",
                                        "error: Service startup failure: 0x80004005"}),
              entries());
}

}  // namespace
}  // namespace kzo
