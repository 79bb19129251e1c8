// The rules of the Options pages, apart from their windows: the check of a
// scheduler page when it is left, the refresh time, and which colour entries
// the colour buttons edit and how the sample list draws them. Pure: no
// windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resource.h"
#include "terminal_settings.h"

namespace kzo {

// The executors read their file names into 260-byte buffers: a longer name
// counts there as no name at all, so the pages refuse it.
constexpr std::size_t kExecutorPathLength = 259;

// The refresh time as typed: blanks around it are dropped; only digits, 1 to 60.
// False for anything else ("", "0", "61", "1e1", "-5"), minutes then untouched.
bool parseRefreshTime(const std::string& text, int& minutes);

// The texts of a scheduler page and its log flag, as the page holds them.
struct SchedulerPageValues {
    std::string dat;
    std::string log;
    std::string wav;
    std::string refreshText;
    bool logF = false;
    int refreshTime = 10;
};

enum class SchedulerField { None, Dat, Log, Wav, Refresh };

// The answer of the check: the message to show (a string number, 0 when the
// page may be left) and the control it is about.
struct SchedulerPageCheck {
    unsigned message = 0;
    SchedulerField field = SchedulerField::None;
};

// String numbers of the check's messages.
constexpr unsigned kScheduleFileMissing = IDS_FILE_NOT_SPECIFIED;
constexpr unsigned kRefreshTimeInvalid = IDS_BAD_REFRESH_TIME;
constexpr unsigned kFileNameTooLong = IDS_PATH_TOO_LONG;

// The leave-page check, in the page's order: the schedule file trimmed, and
// refused when empty or longer than the executors read; the log file trimmed,
// the log flag cleared when it is empty, refused when too long while logging;
// the refresh time parsed into refreshTime; the sound file trimmed, refused
// when too long. The values are trimmed in place even when refused.
SchedulerPageCheck checkSchedulerPage(SchedulerPageValues& values);

// The two colour buttons of the appearance page.
enum class ColorKind { Text, Background };

// The entries of the colour list (0-10, terminal_settings.h) a colour button
// edits: entry 0 without colour highlighting; with it the selected entries
// that have a colour of that kind: for the text colour all but entry 9 ("Unused
// list area"; none: nothing), for the background all eleven. Ascending, each
// once.
std::vector<int> colorTargets(bool useColors, const std::vector<int>& selected, ColorKind kind);

// The colour an entry has (the text colour of entry 9, which has none, is
// entry 0's).
std::uint32_t entryColor(const TerminalSettings& settings, int entry, ColorKind kind);

// Gives the entries the colour, then the list's text and background colours
// those of entry 0.
void setEntryColors(TerminalSettings& settings, const std::vector<int>& entries, ColorKind kind,
                    std::uint32_t color);

// How the sample list draws an entry (0-10): with the system's colours
// (default colours on), with the entry's own colours (colour highlighting on;
// entry 9 has no text colour of its own and takes entry 0's), or with the
// list's text and background colours.
struct SampleColors {
    bool system = false;
    std::uint32_t text = 0;
    std::uint32_t background = 0;
};
SampleColors sampleEntryColors(const TerminalSettings& settings, int entry);

}  // namespace kzo
