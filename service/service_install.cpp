#include "service_install.h"

#include <windows.h>

#include "application_log.h"
#include "console_output.h"
#include "win_handles.h"

namespace kzo {

namespace {

constexpr DWORD kServiceType = SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS;  // 0x110
// How long a stop sent to a running service is waited for: a service that is
// still running when deleted stays until it stops, and blocks a new one of the
// same name.
constexpr DWORD kStopWaitMs = 30000;
constexpr DWORD kStopPollMs = 100;

// Sends the stop control and, when the service took it, waits (bounded) until
// it has stopped.
void stopService(SC_HANDLE service) {
    SERVICE_STATUS status{};
    if (!ControlService(service, SERVICE_CONTROL_STOP, &status)) return;
    DWORD start = GetTickCount();
    while (status.dwCurrentState != SERVICE_STOPPED && GetTickCount() - start < kStopWaitMs) {
        Sleep(kStopPollMs);
        if (!QueryServiceStatus(service, &status)) return;
    }
}

constexpr DWORD kRemoveAccess = DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS;

int installService(const char* name) {
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) {
        printErrorMessage("OpenSCManager", GetLastError());
        return 0;
    }
    if (UniqueService old{OpenServiceA(manager.get(), name, kRemoveAccess)}) {
        stopService(old.get());
        DeleteService(old.get());
    }
    std::string path;
    if (modulePath(path) != 0) return 0;
    std::string binaryPath = "\"" + path + "\"";
    UniqueService service(CreateServiceA(manager.get(), name, name, SERVICE_ALL_ACCESS, kServiceType,
                                         SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                         binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr,
                                         nullptr));
    if (!service) {
        printErrorMessage("CreateService", GetLastError());
        return 0;
    }
    return 1;
}

int removeService(const char* name) {
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) {
        printErrorMessage("OpenSCManager", GetLastError());
        return 0;
    }
    UniqueService service(OpenServiceA(manager.get(), name, kRemoveAccess));
    if (!service) {
        printErrorMessage("OpenService", GetLastError());
        return 0;
    }
    stopService(service.get());
    if (!DeleteService(service.get())) {
        printErrorMessage("DeleteService", GetLastError());
        return 0;
    }
    return 1;
}

}  // namespace

std::uint32_t modulePath(std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n == 0) return GetLastError();
    // A path that filled the buffer was cut.
    if (n >= sizeof buffer) return ERROR_INSUFFICIENT_BUFFER;
    path.assign(buffer, n);
    return 0;
}

int registerService(const char* serviceName, const char* sourceName) {
    // The message file is named by its full path, so the Event Viewer finds it
    // whatever folder the program was registered from.
    std::string path;
    std::uint32_t error = modulePath(path);
    if (error == 0) error = ApplicationLog::addEventSource(sourceName, path.c_str());
    if (error != 0) printErrorMessage("ApplicationLog::AddEventSource", error);
    return installService(serviceName);
}

int unregisterService(const char* serviceName, const char* sourceName) {
    std::uint32_t error = ApplicationLog::deleteEventSource(sourceName);
    if (error != 0) printErrorMessage("ApplicationLog::DelEventSource", error);
    return removeService(serviceName);
}

}  // namespace kzo
