// The fixed names of the System Executor service.
#pragma once

#include "product_names.h"
#include "suite_names.h"

namespace kzo {

constexpr const char* kEventSourceName = "KZO Scheduler";  // application event-log source
constexpr const char* kConsoleTitle = "KZO Scheduler, Version 6.30, Build 677";
constexpr const char* kSystemMutexName = kSystemServiceMutex;

}  // namespace kzo
