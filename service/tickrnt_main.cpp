// tickrnt: the System Scheduler as a Windows NT service. "/r" registers it,
// "/u" removes it, "/d" runs it as an ordinary console program.
#include <windows.h>

#include <string>
#include <vector>

#include "application_log.h"
#include "clock.h"
#include "command_line.h"
#include "console_output.h"
#include "service_actions.h"
#include "service_install.h"
#include "service_names.h"
#include "system_scheduler.h"

using namespace kzo;

namespace {

int runService(ServiceCommand command) {
    ApplicationLog log;
    ScmStatusSink sink;
    SystemClock clock;
    ServiceActions actions(log);
    SystemSchedulerConfig config;
    config.settingsRead = [&actions](const SchedulerSettings& s) { actions.settingsRead(s); };
    SystemScheduler service(log, sink, clock, actions, config);
    service.setName(kServiceName);

    if (command == ServiceCommand::Debug) service.setRunningAsService(false);
    SetConsoleTitleA(kConsoleTitle);
    if (!log.open(kEventSourceName) && !service.runningAsService())
        printConsole("ApplicationLog failure, code = " + std::to_string(GetLastError()) + "\n");

    // Started from a console without an argument, the dispatcher cannot be
    // reached: the service then runs as with "/d".
    if (!service.runningAsService() || !service.runDispatcher()) service.runLoop();
    return static_cast<int>(service.status().dwWin32ExitCode);
}

}  // namespace

int main(int argc, char** argv) {
    useBinaryStdout();
    ServiceCommand command = parseServiceCommand(std::vector<std::string>(argv + 1, argv + argc));
    switch (command) {
        case ServiceCommand::Usage:
            printConsole(usageText());
            return 1;
        case ServiceCommand::Register:
            return registerService(kServiceName, kEventSourceName);
        case ServiceCommand::Unregister:
            return unregisterService(kServiceName, kEventSourceName);
        case ServiceCommand::RunService:
        case ServiceCommand::Debug:
            break;
    }
    try {
        return runService(command);
    } catch (...) {
        return ERROR_SERVICE_SPECIFIC_ERROR;
    }
}
