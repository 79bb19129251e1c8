#include "application_log.h"

#include <cstdarg>
#include <cstdio>

#include "registry_values.h"
#include "win_handles.h"

namespace kzo {

namespace {

constexpr const char* kApplicationLogKey = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";
constexpr DWORD kTypesSupported =
    EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;

const char* typeName(WORD type) {
    switch (type) {
        case EVENTLOG_ERROR_TYPE:
            return "error";
        case EVENTLOG_WARNING_TYPE:
            return "warning";
        default:
            return "information";
    }
}

std::string readCopyPath(const char* source) {
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, eventSourceKey(source).c_str(), 0, KEY_QUERY_VALUE,
                      key.put()) != ERROR_SUCCESS)
        return std::string();
    char path[MAX_PATH];
    return readTrimmedString(key.get(), kDiagnosticCopyValue, path, sizeof path) ? path
                                                                                  : std::string();
}

// Holds the critical section for one scope.
class Locked {
public:
    explicit Locked(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
    ~Locked() { LeaveCriticalSection(&section_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    CRITICAL_SECTION& section_;
};

}  // namespace

std::string eventSourceKey(const char* source) { return std::string(kApplicationLogKey) + source; }

std::uint32_t ApplicationLog::addEventSource(const char* source, const char* messageFile) {
    UniqueKey key;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, eventSourceKey(source).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (result != ERROR_SUCCESS) return static_cast<std::uint32_t>(result);
    std::string file = messageFile;
    result = RegSetValueExA(key.get(), "EventMessageFile", 0, REG_EXPAND_SZ,
                            reinterpret_cast<const BYTE*>(file.c_str()),
                            static_cast<DWORD>(file.size() + 1));
    if (result != ERROR_SUCCESS) return static_cast<std::uint32_t>(result);
    return writeDword(key.get(), "TypesSupported", kTypesSupported);
}

std::uint32_t ApplicationLog::deleteEventSource(const char* source) {
    return static_cast<std::uint32_t>(RegDeleteKeyA(HKEY_LOCAL_MACHINE, eventSourceKey(source).c_str()));
}

ApplicationLog::ApplicationLog() { InitializeCriticalSection(&lock_); }

ApplicationLog::~ApplicationLog() {
    close();
    DeleteCriticalSection(&lock_);
}

bool ApplicationLog::open(const char* source) {
    Locked locked(lock_);
    if (source_) DeregisterEventSource(source_);
    sourceName_ = source;
    copyPath_ = readCopyPath(source);
    source_ = RegisterEventSourceA(nullptr, source);
    return source_ != nullptr;
}

void ApplicationLog::close() {
    Locked locked(lock_);
    if (source_) DeregisterEventSource(source_);
    source_ = nullptr;
    sourceName_.clear();
}

bool ApplicationLog::isOpen() const {
    Locked locked(lock_);
    return source_ != nullptr;
}

void ApplicationLog::setDiagnosticCopy(const std::string& path) {
    Locked locked(lock_);
    copyPath_ = path;
}

bool ApplicationLog::write(WORD type, const char* format, ...) {
    Locked locked(lock_);
    if (!source_) return false;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer_, sizeof buffer_, format, args);
    va_end(args);
    if (n < 0) buffer_[0] = '\0';
    const char* strings[] = {buffer_};
    bool written = ReportEventA(source_, type, 0, eventId_, nullptr, 1, 0, strings, nullptr) != FALSE;
    appendCopy(type, buffer_);
    return written;
}

void ApplicationLog::appendCopy(WORD type, const char* text) {
    if (copyPath_.empty()) return;
    UniqueHandle file(CreateFileA(copyPath_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    std::string line = std::string(typeName(type)) + ": " + text + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace kzo
