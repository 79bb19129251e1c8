#include "service_start_type.h"

#include <windows.h>

#include <vector>

#include "win_handles.h"

namespace kzo {

namespace {

std::uint32_t openService(const char* serviceName, DWORD access, UniqueService& service) {
    UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return GetLastError();
    service.reset(OpenServiceA(manager.get(), serviceName, access));
    if (!service) return GetLastError();
    return 0;
}

}  // namespace

std::uint32_t queryServiceStartType(const char* serviceName, std::uint32_t& startType) {
    std::string binaryPath;
    return queryServiceConfig(serviceName, startType, binaryPath);
}

std::uint32_t queryServiceConfig(const char* serviceName, std::uint32_t& startType, std::string& binaryPath) {
    UniqueService service;
    if (std::uint32_t error = openService(serviceName, SERVICE_QUERY_CONFIG, service)) return error;
    DWORD needed = 0;
    QueryServiceConfigA(service.get(), nullptr, 0, &needed);
    if (needed < sizeof(QUERY_SERVICE_CONFIGA)) needed = sizeof(QUERY_SERVICE_CONFIGA);
    // The configuration (pointers included) is followed by its strings.
    using Slot = unsigned long long;
    std::vector<Slot> buffer((needed + sizeof(Slot) - 1) / sizeof(Slot));
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (!QueryServiceConfigA(service.get(), config, static_cast<DWORD>(buffer.size() * sizeof(Slot)),
                             &needed))
        return GetLastError();
    startType = config->dwStartType;
    binaryPath = config->lpBinaryPathName ? config->lpBinaryPathName : "";
    return 0;
}

std::uint32_t setServiceAutoStart(const char* serviceName, bool automatic) {
    UniqueService service;
    if (std::uint32_t error = openService(serviceName, SERVICE_CHANGE_CONFIG, service)) return error;
    if (!ChangeServiceConfigA(service.get(), SERVICE_NO_CHANGE,
                              automatic ? SERVICE_AUTO_START : SERVICE_DEMAND_START,
                              SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr))
        return GetLastError();
    return 0;
}

}  // namespace kzo
