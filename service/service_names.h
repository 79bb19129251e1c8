// The fixed names of the System Executor service.
#pragma once

namespace kzo {

constexpr const char* kServiceName = "KZO Scheduler";      // also the display name
constexpr const char* kEventSourceName = "KZO Scheduler";  // application event-log source
constexpr const char* kConsoleTitle = "KZO Scheduler, Version 6.30, Build 677";
constexpr const char* kSystemMutexName = "KZOMutexSysNT";
// Caption of the service's message boxes.
constexpr const char* kBoxCaption = "KZO Scheduler";

}  // namespace kzo
