// Helpers of the service tests: a recorder of the status reports, and the
// entries of the event log's diagnostic copy.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "nt_service.h"
#include "program_driver.h"

namespace kzo::test {

// Records the states reported to the service control manager.
class RecordingSink : public ServiceStatusSink {
public:
    std::uint32_t registerResult = 0;

    std::uint32_t registerHandler(const char* name) override;
    void report(const SERVICE_STATUS& status) override;

    void clear();
    std::vector<DWORD> states() const;
    SERVICE_STATUS last() const;
    // Waits until count states have been reported (true) or the deadline passes.
    bool waitForReports(std::size_t count, std::uint32_t timeoutMs = 10000) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<SERVICE_STATUS> reports_;
};

// The entries of a diagnostic copy, one per line ("error: text").
std::vector<std::string> copiedEntries(const std::string& path);

}  // namespace kzo::test
