#include "history_file.h"

#include <windows.h>

#include "run_history.h"

namespace kzo {

namespace {

// FindFirstFileA rather than GetFileAttributesExA, which Windows 95 lacks.
void stampOf(const std::string& path, std::uint64_t& size, std::uint64_t& written) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        size = written = 0;
        return;
    }
    FindClose(search);
    size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    written = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
              found.ftLastWriteTime.dwLowDateTime;
}

}  // namespace

bool HistoryStamp::operator==(const HistoryStamp& o) const {
    return size[0] == o.size[0] && size[1] == o.size[1] && written[0] == o.written[0] &&
           written[1] == o.written[1];
}

HistoryStamp historyStampOf(const std::string& scheduleFile) {
    HistoryStamp stamp;
    const std::string history = historyFileOf(scheduleFile);
    stampOf(history, stamp.size[0], stamp.written[0]);
    stampOf(rotatedHistoryFileOf(history), stamp.size[1], stamp.written[1]);
    return stamp;
}

}  // namespace kzo
