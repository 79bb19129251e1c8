// Registration of the System Executor with the service control manager and
// the event log ("/r"), and its removal ("/u"). Both print their console
// messages and return the program's exit code: 1 when the service was created
// (deleted), 0 on failure.
#pragma once

#include <cstdint>
#include <string>

namespace kzo {

// The full path of the running program (at most 259 characters). Returns 0 or
// the Windows error code.
std::uint32_t modulePath(std::string& path);

// Adds the event-log source (its message file is the running program), then
// installs the service, first stopping and deleting one of the same name.
int registerService(const char* serviceName, const char* sourceName);

// Removes the event-log source, then stops and deletes the service.
int unregisterService(const char* serviceName, const char* sourceName);

}  // namespace kzo
