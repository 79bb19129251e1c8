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
// file emptied. Left as it was when the copy cannot be written (the copy then
// holds a beginning of its lines, never a mix with an older copy's).
std::uint32_t moveLinesToRotated(HANDLE history, const std::string& file) {
    std::uint32_t error = 0;
    UniqueHandle rotated = openForHistory(rotatedHistoryFileOf(file), true, error);
    if (!rotated) return error;
    if (!SetEndOfFile(rotated.get())) return lastErrorOr(ERROR_WRITE_FAULT);
    SetFilePointer(history, 0, nullptr, FILE_BEGIN);
    std::string chunk(kCopyChunk, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(history, chunk.data(), kCopyChunk, &got, nullptr)) return lastErrorOr(ERROR_READ_FAULT);
        if (got == 0) break;
        if (!writeAll(rotated.get(), chunk.data(), got)) return lastErrorOr(ERROR_WRITE_FAULT);
    }
    SetFilePointer(history, 0, nullptr, FILE_BEGIN);
    if (!SetEndOfFile(history)) return lastErrorOr(ERROR_WRITE_FAULT);
    return 0;
}

// Whether the file's last byte ends a line (an empty file does).
bool endsInLineBreak(HANDLE file, std::uint64_t size) {
    if (size == 0) return true;
    LONG high = static_cast<LONG>((size - 1) >> 32);
    SetFilePointer(file, static_cast<LONG>((size - 1) & 0xFFFFFFFF), &high, FILE_BEGIN);
    char last = 0;
    DWORD got = 0;
    return !ReadFile(file, &last, 1, &got, nullptr) || got != 1 || last == '\n';
}

// The file's newest lines (readHistoryText) appended to text; false when the
// file exists and could not be read.
bool readNewestLines(const std::string& path, std::string& text) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    std::uint32_t error = 0;
    UniqueHandle file = openForHistory(path, false, error);
    std::uint64_t size = 0;
    if (!file || !fileSize(file.get(), size)) return false;
    const std::uint64_t skipped = size > kHistoryReadBytes ? size - kHistoryReadBytes : 0;
    LONG high = static_cast<LONG>(skipped >> 32);
    SetFilePointer(file.get(), static_cast<LONG>(skipped & 0xFFFFFFFF), &high, FILE_BEGIN);
    std::string lines(static_cast<std::size_t>(size - skipped), '\0');
    DWORD got = 0;
    if (!lines.empty() && !ReadFile(file.get(), lines.data(), static_cast<DWORD>(lines.size()), &got, nullptr))
        return false;
    lines.resize(got);
    // A start inside a line: from the next whole one.
    if (skipped > 0) {
        const std::size_t lineBreak = lines.find('\n');
        lines.erase(0, lineBreak == std::string::npos ? lines.size() : lineBreak + 1);
    }
    text += lines;
    return true;
}

}  // namespace

std::uint32_t appendHistory(const std::string& file, const std::string& lines) {
    std::uint32_t error = 0;
    UniqueHandle history = openForHistory(file, true, error);
    if (!history) return error;
    std::uint64_t size = 0;
    if (!fileSize(history.get(), size)) return lastErrorOr(ERROR_READ_FAULT);
    // A failed move leaves the file to grow: the lines are kept either way.
    if (size > 0 && size + lines.size() > kHistoryLimitBytes && moveLinesToRotated(history.get(), file) == 0)
        size = 0;
    // A line that an earlier write left unfinished (a full disk) is ended
    // first, so that it does not take the new line with it; a write that fails
    // now is taken back whole.
    const std::string text = endsInLineBreak(history.get(), size) ? lines : "\r\n" + lines;
    LONG high = static_cast<LONG>(size >> 32);
    SetFilePointer(history.get(), static_cast<LONG>(size & 0xFFFFFFFF), &high, FILE_BEGIN);
    if (!writeAll(history.get(), text.data(), static_cast<DWORD>(text.size()))) {
        const std::uint32_t error = lastErrorOr(ERROR_WRITE_FAULT);
        high = static_cast<LONG>(size >> 32);
        SetFilePointer(history.get(), static_cast<LONG>(size & 0xFFFFFFFF), &high, FILE_BEGIN);
        SetEndOfFile(history.get());
        return error;
    }
    return 0;
}

bool readHistoryText(const std::string& file, bool withRotated, std::string& text) {
    text.clear();
    const bool rotatedRead = !withRotated || readNewestLines(rotatedHistoryFileOf(file), text);
    return readNewestLines(file, text) && rotatedRead;
}

bool readRunHistory(const std::string& scheduleFile, std::vector<RunEvent>& events) {
    std::string text;
    const bool read = readHistoryText(historyFileOf(scheduleFile), true, text);
    events = parseHistory(text);
    return read;
}

void RunHistory::write(const std::string& file, const RunEvent& event, std::optional<Running>& running) {
    if (file.empty()) return;
    std::string line = formatHistoryLine(event);
    SectionLock lock(writeSection_);
    appendHistory(file, line);
    running.reset();
    if (isRunning(event)) running.emplace(*this, file, event);
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
    // In the writers' turn, so that no launch's line and registration are
    // half done: the lines by file, made under the list's lock, then one
    // append per file.
    std::map<std::string, std::string> lines;
    std::size_t count = 0;
    SectionLock writing(writeSection_);
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
    for (const auto& [file, text] : lines) appendHistory(file, text);
    return count;
}

RunHistory& runHistory() {
    static RunHistory* history = new RunHistory;
    return *history;
}

}  // namespace kzo
