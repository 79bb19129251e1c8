#include "service_test_support.h"

#include <chrono>

#include "test_support.h"

namespace kzo::test {

std::uint32_t RecordingSink::registerHandler(const char*) { return registerResult; }

void RecordingSink::report(const SERVICE_STATUS& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.push_back(status);
    changed_.notify_all();
}

void RecordingSink::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.clear();
}

std::vector<DWORD> RecordingSink::states() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<DWORD> states;
    for (const SERVICE_STATUS& s : reports_) states.push_back(s.dwCurrentState);
    return states;
}

SERVICE_STATUS RecordingSink::last() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_.empty() ? SERVICE_STATUS{} : reports_.back();
}

bool RecordingSink::waitForReports(std::size_t count, std::uint32_t timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return reports_.size() >= count; });
}

std::vector<std::string> copiedEntries(const std::string& path) {
    std::string text = readFile(path);
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        entries.push_back(text.substr(start, end - start));
    return entries;
}


}  // namespace kzo::test
