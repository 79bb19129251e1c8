#include "run_history.h"

#include <windows.h>

#include <algorithm>
#include <map>

#include "file_calls.h"
#include "retried_open.h"
#include "system_error.h"
#include "win_handles.h"

namespace kzo {

namespace {

constexpr DWORD kCopyChunk = 64 * 1024;

UniqueHandle openForHistory(const std::string& path, bool forWriting, std::uint32_t& error) {
    HANDLE file = INVALID_HANDLE_VALUE;
    error = static_cast<std::uint32_t>(openRetried(path.c_str(), forWriting, file));
    return UniqueHandle(error == 0 ? file : nullptr);
}

bool writeAll(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// The whole of the open history file into the ".1" copy (replaced), then the
// file emptied. Left as it was when the copy cannot be written.
std::uint32_t moveLinesToRotated(HANDLE history, const std::string& file) {
    std::uint32_t error = 0;
    UniqueHandle rotated = openForHistory(rotatedHistoryFileOf(file), true, error);
    if (!rotated) return error;
    SetFilePointer(history, 0, nullptr, FILE_BEGIN);
    std::string chunk(kCopyChunk, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(history, chunk.data(), kCopyChunk, &got, nullptr)) return lastErrorOr(ERROR_READ_FAULT);
        if (got == 0) break;
        if (!writeAll(rotated.get(), chunk.data(), got)) return lastErrorOr(ERROR_WRITE_FAULT);
    }
    if (!SetEndOfFile(rotated.get())) return lastErrorOr(ERROR_WRITE_FAULT);
    SetFilePointer(history, 0, nullptr, FILE_BEGIN);
    if (!SetEndOfFile(history)) return lastErrorOr(ERROR_WRITE_FAULT);
    return 0;
}

std::string readWhole(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::string();
    std::uint32_t error = 0;
    UniqueHandle file = openForHistory(path, false, error);
    std::uint64_t size = 0;
    if (!file || !fileSize(file.get(), size) || size > 0x7FFFFFFF) return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    DWORD got = 0;
    if (size && !ReadFile(file.get(), text.data(), static_cast<DWORD>(size), &got, nullptr)) return std::string();
    text.resize(got);
    return text;
}

}  // namespace

std::uint32_t appendHistory(const std::string& file, const std::string& lines) {
    std::uint32_t error = 0;
    UniqueHandle history = openForHistory(file, true, error);
    if (!history) return error;
    std::uint64_t size = 0;
    if (!fileSize(history.get(), size)) return lastErrorOr(ERROR_READ_FAULT);
    // A failed move leaves the file to grow: the lines are kept either way.
    if (size > 0 && size + lines.size() > kHistoryLimitBytes) moveLinesToRotated(history.get(), file);
    SetFilePointer(history.get(), 0, nullptr, FILE_END);
    if (!writeAll(history.get(), lines.data(), static_cast<DWORD>(lines.size())))
        return lastErrorOr(ERROR_WRITE_FAULT);
    return 0;
}

std::string readHistoryText(const std::string& file, bool withRotated) {
    std::string text = withRotated ? readWhole(rotatedHistoryFileOf(file)) : std::string();
    return text + readWhole(file);
}

void RunHistory::write(const std::string& file, const RunEvent& event) {
    if (file.empty()) return;
    std::string line = formatHistoryLine(event);
    SectionLock lock(writeSection_);
    appendHistory(file, line);
}

RunHistory::Running::Running(RunHistory& history, std::string file, RunEvent started)
    : history_(history), file_(std::move(file)), started_(std::move(started)) {
    SectionLock lock(history_.listSection_);
    history_.running_.push_back(this);
}

RunHistory::Running::~Running() {
    SectionLock lock(history_.listSection_);
    auto& running = history_.running_;
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
}

std::size_t RunHistory::recordStillRunning(const LaunchTime& now) {
    // The lines by file, made under the list's lock; written after it, one
    // append per file.
    std::map<std::string, std::string> lines;
    std::size_t count = 0;
    {
        SectionLock lock(listSection_);
        for (const Running* r : running_) {
            RunEvent e = r->started_;
            e.time = now;
            e.outcome = RunOutcome::RunningAtStop;
            e.hasCode = false;
            e.code = 0;
            e.durationMs = -1;
            e.text.clear();
            lines[r->file_] += formatHistoryLine(e);
            ++count;
        }
    }
    SectionLock lock(writeSection_);
    for (const auto& [file, text] : lines) appendHistory(file, text);
    return count;
}

RunHistory& runHistory() {
    static RunHistory* history = new RunHistory;
    return *history;
}

}  // namespace kzo
