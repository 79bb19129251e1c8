#include "run_event.h"

#include <cstdio>
#include <iterator>

#include "blanks.h"

namespace kzo {

namespace {

constexpr char kFieldSeparator = '\t';
constexpr std::size_t kFieldCount = 9;
constexpr const char* kRunNowWord = "run now";

struct Word {
    RunOutcome outcome;
    const char* word;
};
constexpr Word kOutcomeWords[] = {
    {RunOutcome::Started, "started"},
    {RunOutcome::FallbackStarted, "fallback started"},
    {RunOutcome::Exited, "exit"},
    {RunOutcome::Closed, "closed"},
    {RunOutcome::Killed, "killed"},
    {RunOutcome::RunningAtStop, "running at stop"},
    {RunOutcome::NotStarted, "not started"},
    {RunOutcome::FallbackFailed, "fallback failed"},
    {RunOutcome::Opened, "opened"},
    {RunOutcome::NotOpened, "not opened"},
    {RunOutcome::Shown, "shown"},
    {RunOutcome::Sent, "sent"},
    {RunOutcome::NotSent, "not sent"},
    {RunOutcome::ShutdownRequested, "shutdown requested"},
    {RunOutcome::ShutdownRefused, "shutdown refused"},
    {RunOutcome::Declined, "declined"},
};

constexpr const char* kKindWords[] = {"application", "document", "message", "shutdown"};

bool needsEscape(unsigned char c) { return c < 0x20 || c == 0x7F || c == '%'; }

void appendEscaped(std::string& out, std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (!needsEscape(c)) {
            out += ch;
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A "%" that does not start an escape stands for itself.
std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void appendTime(std::string& out, const LaunchTime& t, bool withSeconds) {
    char text[32];
    if (withSeconds)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                      t.minute);
    out += text;
}

// Exactly `digits` decimal digits at text[at].
bool readNumber(std::string_view text, std::size_t at, std::size_t digits, int& value) {
    if (at + digits > text.size()) return false;
    value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// "YYYY-MM-DD HH:MM" with ":SS" when withSeconds.
bool parseTime(std::string_view text, bool withSeconds, LaunchTime& t) {
    if (text.size() != (withSeconds ? 19u : 16u)) return false;
    int year, month, day, hour, minute, second = 0;
    if (!readNumber(text, 0, 4, year) || text[4] != '-' || !readNumber(text, 5, 2, month) ||
        text[7] != '-' || !readNumber(text, 8, 2, day) || text[10] != ' ' ||
        !readNumber(text, 11, 2, hour) || text[13] != ':' || !readNumber(text, 14, 2, minute))
        return false;
    if (withSeconds && (text[16] != ':' || !readNumber(text, 17, 2, second))) return false;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return false;
    t = launchTimeAt(year, month, day, hour, minute, second);
    return true;
}

bool parseUnsigned(std::string_view text, std::uint64_t limit, std::uint64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) return false;
    }
    return true;
}

// "S.mmm" (or whole seconds) in milliseconds.
bool parseSeconds(std::string_view text, std::int64_t& ms) {
    std::size_t dot = text.find('.');
    std::uint64_t seconds = 0, millis = 0;
    constexpr std::uint64_t kMaxSeconds = 100000000000ULL;
    if (!parseUnsigned(text.substr(0, dot), kMaxSeconds, seconds)) return false;
    if (dot != std::string_view::npos) {
        std::string_view fraction = text.substr(dot + 1);
        if (fraction.size() != 3 || !parseUnsigned(fraction, 999, millis)) return false;
    }
    ms = static_cast<std::int64_t>(seconds * 1000 + millis);
    return true;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find(kFieldSeparator, start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

bool sameTime(const LaunchTime& a, const LaunchTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

}  // namespace

bool sameLaunch(const RunEvent& a, const RunEvent& b) {
    return a.task == b.task && a.runNow == b.runNow && (a.runNow || sameTime(a.pass, b.pass)) &&
           sameTime(a.started, b.started);
}

std::string historyFileOf(std::string_view scheduleFile) {
    return std::string(scheduleFile) + ".history";
}

std::string rotatedHistoryFileOf(std::string_view historyFile) {
    return std::string(historyFile) + ".1";
}

const char* outcomeWord(RunOutcome outcome) {
    for (const Word& w : kOutcomeWords)
        if (w.outcome == outcome) return w.word;
    return "";
}

const char* kindWord(RunKind kind) { return kKindWords[static_cast<int>(kind)]; }

std::string formatHistoryLine(const RunEvent& e) {
    std::string line;
    line.reserve(96 + e.task.size() + e.text.size());
    appendTime(line, e.time, true);
    line += kFieldSeparator;
    appendEscaped(line, e.task);
    line += kFieldSeparator;
    if (e.runNow)
        line += kRunNowWord;
    else
        appendTime(line, e.pass, false);
    line += kFieldSeparator;
    appendTime(line, e.started, true);
    line += kFieldSeparator;
    line += kindWord(e.kind);
    line += kFieldSeparator;
    line += outcomeWord(e.outcome);
    line += kFieldSeparator;
    if (e.hasCode) line += std::to_string(e.code);
    line += kFieldSeparator;
    if (e.durationMs >= 0) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%lld.%03d",
                      static_cast<long long>(e.durationMs / 1000),
                      static_cast<int>(e.durationMs % 1000));
        line += seconds;
    }
    line += kFieldSeparator;
    appendEscaped(line, e.text);
    line += "\r\n";
    return line;
}

bool parseHistoryLine(std::string_view line, RunEvent& e) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> f = splitFields(line);
    if (f.size() < kFieldCount) return false;
    RunEvent parsed;
    if (!parseTime(f[0], true, parsed.time)) return false;
    parsed.task = unescaped(f[1]);
    parsed.runNow = f[2] == kRunNowWord;
    if (!parsed.runNow && !parseTime(f[2], false, parsed.pass)) return false;
    if (!parseTime(f[3], true, parsed.started)) return false;

    bool known = false;
    for (int k = 0; k < 4; ++k) {
        if (f[4] == kKindWords[k]) {
            parsed.kind = static_cast<RunKind>(k);
            known = true;
        }
    }
    if (!known) return false;
    known = false;
    for (const Word& w : kOutcomeWords) {
        if (f[5] == w.word) {
            parsed.outcome = w.outcome;
            known = true;
        }
    }
    if (!known) return false;

    if (!f[6].empty()) {
        std::uint64_t code = 0;
        if (!parseUnsigned(f[6], 0xFFFFFFFFu, code)) return false;
        parsed.hasCode = true;
        parsed.code = static_cast<std::uint32_t>(code);
    }
    if (!f[7].empty() && !parseSeconds(f[7], parsed.durationMs)) return false;
    parsed.text = unescaped(f[8]);
    e = std::move(parsed);
    return true;
}

std::vector<RunEvent> parseHistory(std::string_view text) {
    std::vector<RunEvent> events;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) break;  // a last line without its break is skipped
        RunEvent e;
        if (parseHistoryLine(text.substr(start, end - start), e)) events.push_back(std::move(e));
        start = end + 1;
    }
    return events;
}

const RunEvent* lastEventOf(const std::vector<RunEvent>& events, std::string_view task) {
    std::string key = trimBlanks(task);
    for (auto it = events.rbegin(); it != events.rend(); ++it)
        if (it->task == key) return &*it;
    return nullptr;
}

std::map<std::string, RunEvent> lastResultByTask(const std::vector<RunEvent>& events) {
    std::map<std::string, RunEvent> last;
    for (RunOfTask& run : runsOf(events)) last[run.last.task] = std::move(run.last);
    return last;
}

std::vector<RunOfTask> runsOf(const std::vector<RunEvent>& events) {
    std::vector<RunOfTask> runs;
    // A run's lines lie close together: its end is searched among the runs
    // still open, newest first. A run still running at its scheduler's stop
    // stays open: a scheduler that lives on after the stop writes its end too.
    auto mayEnd = [](const RunEvent& e) { return isRunning(e) || e.outcome == RunOutcome::RunningAtStop; };
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const RunEvent& e = events[i];
        bool joined = false;
        for (auto it = open.rbegin(); it != open.rend(); ++it) {
            if (!sameLaunch(runs[*it].last, e)) continue;
            runs[*it].last = e;
            if (!mayEnd(e)) open.erase(std::next(it).base());
            joined = true;
            break;
        }
        if (joined) continue;
        runs.push_back(RunOfTask{i, e});
        if (mayEnd(e)) open.push_back(runs.size() - 1);
    }
    return runs;
}

bool isRunning(const RunEvent& e) {
    return e.outcome == RunOutcome::Started || e.outcome == RunOutcome::FallbackStarted;
}

bool isFailure(const RunEvent& e) {
    switch (e.outcome) {
        case RunOutcome::NotStarted:
        case RunOutcome::FallbackFailed:
        case RunOutcome::NotOpened:
        case RunOutcome::NotSent:
        case RunOutcome::ShutdownRefused:
            return true;
        case RunOutcome::Exited:
            return e.hasCode && e.code != 0;
        default:
            return false;
    }
}

std::string resultText(const RunEvent& e) {
    auto withText = [&e](const char* word) {
        std::string text = word;
        if (!e.text.empty())
            text += ": " + e.text;
        else if (e.hasCode)
            text += ": error " + std::to_string(e.code);
        return text;
    };
    switch (e.outcome) {
        case RunOutcome::Started:
        case RunOutcome::FallbackStarted:
            return "running";
        case RunOutcome::Exited:
            if (!e.hasCode) return "ended";
            return e.code == 0 ? "0" : "exit " + std::to_string(e.code);
        case RunOutcome::RunningAtStop:
            return "still running at stop";
        case RunOutcome::NotStarted:
        case RunOutcome::FallbackFailed:
        case RunOutcome::NotOpened:
        case RunOutcome::NotSent:
        case RunOutcome::ShutdownRefused:
            return withText(outcomeWord(e.outcome));
        default:
            return outcomeWord(e.outcome);
    }
}

}  // namespace kzo
