// The start type of the System Scheduler service in the service control
// manager: automatic when the System Scheduler starts with the system, manual
// otherwise.
#pragma once

#include <cstdint>
#include <string>

#include "product_names.h"

namespace kzo {

// The service's start type (SERVICE_AUTO_START, SERVICE_DEMAND_START, ...).
// Returns 0 or the Windows error code of the failed step.
std::uint32_t queryServiceStartType(const char* serviceName, std::uint32_t& startType);

// The start type and the program's command line (its binary path) together.
// Returns 0 or the Windows error code of the failed step.
std::uint32_t queryServiceConfig(const char* serviceName, std::uint32_t& startType, std::string& binaryPath);

// Sets the start type to automatic or to manual, changing nothing else.
// Returns 0 or the Windows error code of the failed step.
std::uint32_t setServiceAutoStart(const char* serviceName, bool automatic);

}  // namespace kzo
