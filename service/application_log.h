// The writer that puts the service's reports into the Windows application event
// log: every entry has event identifier 0, category 0 and one insertion string,
// which the message table (entry 0 = "%1") shows as the whole description.
//
// All writers share one 4096-byte formatting buffer under one critical section,
// held from the formatting to the report.
//
// Diagnostic copy: when the event source's registry key holds the REG_SZ value
// "DiagnosticCopy", every entry the writer reports is also appended to the file
// it names, one line per entry ("error: text" or "information: text", ending
// in CR LF).
// The value is never set by the installation; it serves systems whose event log
// cannot be read (Wine's event log keeps nothing).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kzo {

// HKEY_LOCAL_MACHINE key of an event source of the application log.
std::string eventSourceKey(const char* source);

constexpr std::size_t kEventTextSize = 4096;
constexpr const char* kDiagnosticCopyValue = "DiagnosticCopy";

class ApplicationLog {
public:
    ApplicationLog();
    ~ApplicationLog();
    ApplicationLog(const ApplicationLog&) = delete;
    ApplicationLog& operator=(const ApplicationLog&) = delete;

    // Writes the event source's key: "EventMessageFile" (REG_EXPAND_SZ, the file
    // holding the message table) and "TypesSupported" (7: error, warning,
    // information). Returns 0 or the Windows error code.
    static std::uint32_t addEventSource(const char* source, const char* messageFile);
    // Deletes the event source's key. Returns 0 or the Windows error code.
    static std::uint32_t deleteEventSource(const char* source);

    // Deregisters any open source, then registers the source on the local
    // computer and reads its diagnostic copy file. True when a handle was
    // obtained; otherwise GetLastError tells why.
    bool open(const char* source);
    // Deregisters the source and forgets it.
    void close();
    bool isOpen() const;

    // Formats with printf rules into the shared buffer (a longer text is cut at
    // 4095 characters) and reports it with the given type. False, with nothing
    // written, when no source is open or the report fails.
    bool write(WORD type, const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 3, 4)));
    // An error entry whose text is taken as it is.
    bool error(const std::string& text) { return write(EVENTLOG_ERROR_TYPE, "%s", text.c_str()); }

    // Sets the diagnostic copy file (empty: none) in place of the registry's.
    void setDiagnosticCopy(const std::string& path);

private:
    void appendCopy(WORD type, const char* text);

    mutable CRITICAL_SECTION lock_;
    HANDLE source_ = nullptr;
    std::string sourceName_;
    DWORD eventId_ = 0;
    std::string copyPath_;
    char buffer_[kEventTextSize];
};

}  // namespace kzo
