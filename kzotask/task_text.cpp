#include "task_text.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace kzo {

namespace {

constexpr const char* kWeekdayNames[7] = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};
constexpr const char* kWeekdayWords[7] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
constexpr const char* kMonthNames[12] = {"january", "february", "march",     "april",   "may",      "june",
                                         "july",    "august",   "september", "october", "november", "december"};
constexpr const char* kMonthWords[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kTypeWords[4] = {"Application", "Document", "Message", "Shutdown"};
constexpr int kAllWeekdays = 127;
constexpr int kWorkdays = 31;
constexpr int32_t kAllMonths = 4095;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lower(c);
    return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        std::size_t at = text.find(separator);
        parts.push_back(trimmed(text.substr(0, at)));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

// An optional minus and 1 to 18 digits.
std::optional<int64_t> readInteger(std::string_view text) {
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 18) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

template <typename T>
bool fits(int64_t value) {
    return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

// Index of the name that text starts, with at least minimum letters; -1.
int nameIndex(std::string_view text, const char* const* names, int count, std::size_t minimum) {
    std::string word = lowered(text);
    if (word.size() < minimum) return -1;
    for (int i = 0; i < count; ++i) {
        std::string_view name = names[i];
        if (word.size() <= name.size() && name.substr(0, word.size()) == word) return i;
    }
    return -1;
}

std::optional<int> readMask(std::string_view text, const char* const* names, int count, std::size_t minimum,
                            int largest) {
    if (!text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos) {
        std::optional<int64_t> value = readInteger(text);
        if (!value || *value > largest) return std::nullopt;
        return static_cast<int>(*value);
    }
    int mask = 0;
    for (std::string_view item : split(text, ',')) {
        int index = nameIndex(item, names, count, minimum);
        if (index < 0) return std::nullopt;
        mask |= 1 << index;
    }
    return mask;
}

std::string maskWords(int64_t mask, const char* const* words, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (!(mask & (int64_t{1} << i))) continue;
        if (!out.empty()) out += ',';
        out += words[i];
    }
    return out;
}

std::string number(int64_t value) { return std::to_string(value); }

std::string clock(int64_t hours, int64_t minutes) {
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(hours), static_cast<long long>(minutes));
    return text;
}

// --- Texts --------------------------------------------------------------------

std::string quoted(std::string_view bytes) {
    bool literal = bytes.find('\'') == std::string_view::npos;
    for (char c : bytes)
        if (isControl(static_cast<unsigned char>(c))) literal = false;
    if (literal) return "'" + std::string(bytes) + "'";
    std::string out = "\"";
    for (char c : bytes) {
        unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default:
                if (isControl(u)) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02X", u);
                    out += hex;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A quoted text; the error when the value is none.
std::string readQuoted(std::string_view value, std::string& out) {
    out.clear();
    if (value.empty() || (value[0] != '\'' && value[0] != '"'))
        return "a text in quotes ('...' or \"...\") is expected";
    std::size_t i = 1;
    if (value[0] == '\'') {
        std::size_t end = value.find('\'', 1);
        if (end == std::string_view::npos) return "the text has no closing '";
        out.assign(value.substr(1, end - 1));
        i = end + 1;
    } else {
        for (;; ++i) {
            if (i >= value.size()) return "the text has no closing \"";
            char c = value[i];
            if (c == '"') break;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (++i >= value.size()) return "the text has no closing \"";
            switch (value[i]) {
                case '\\': out += '\\'; break;
                case '"': out += '"'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case 'n': out += '\n'; break;
                case 'x': {
                    int high = i + 1 < value.size() ? hexDigit(value[i + 1]) : -1;
                    int low = i + 2 < value.size() ? hexDigit(value[i + 2]) : -1;
                    if (high < 0 || low < 0) return "\\x needs two hexadecimal digits";
                    out += static_cast<char>(high * 16 + low);
                    i += 2;
                    break;
                }
                default:
                    return std::string("unknown escape \\") + value[i];
            }
        }
        ++i;
    }
    if (!trimmed(value.substr(i)).empty()) return "nothing may follow the closing quote";
    return {};
}

template <std::size_t N>
std::string readTextField(std::string_view value, char (&field)[N]) {
    std::string text;
    std::string error = readQuoted(value, text);
    if (!error.empty()) return error;
    if (text.find('\0') != std::string::npos) return "a text holds no \\x00";
    if (text.size() > N - 1) return "the text is longer than " + std::to_string(N - 1) + " characters";
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size());
    return {};
}

// --- Numbers and times --------------------------------------------------------

std::string readFlag(std::string_view value, int8_t& field, int largest) {
    std::optional<int64_t> v = readInteger(value);
    if (!v || *v < 0 || *v > largest)
        return largest == 1 ? "0 or 1 is expected" : "0 to " + std::to_string(largest) + " is expected";
    field = static_cast<int8_t>(*v);
    return {};
}

std::string readInt32(std::string_view value, int32_t& field) {
    std::optional<int64_t> v = readInteger(value);
    if (!v || !fits<int32_t>(*v)) return "a whole number is expected";
    field = static_cast<int32_t>(*v);
    return {};
}

// "H:MM" (minutes 0..59) or a number of minutes.
std::optional<int64_t> readClock(std::string_view value) {
    std::size_t colon = value.find(':');
    if (colon == std::string_view::npos) return readInteger(value);
    std::string_view hours = value.substr(0, colon);
    std::string_view minutes = value.substr(colon + 1);
    if (hours.empty() || hours.size() > 9 || minutes.empty() || minutes.size() > 2) return std::nullopt;
    std::optional<int64_t> h = readInteger(hours);
    std::optional<int64_t> m = readInteger(minutes);
    if (!h || !m || hours[0] == '-' || minutes[0] == '-' || *m > 59) return std::nullopt;
    return *h * 60 + *m;
}

std::string writeTime(const TaskRecord& r) {
    const int64_t t = r.time;
    if (!r.cycle && t >= kTimeEveryHour && t < kTimeStartup) {
        char text[16];
        std::snprintf(text, sizeof text, "*:%02d", static_cast<int>(t - kTimeEveryHour));
        return text;
    }
    if (!r.cycle && t == kTimeStartup) return "startup";
    return t >= 0 ? clock(t / 60, t % 60) : number(t);
}

std::string readTime(std::string_view value, TaskRecord& r) {
    std::optional<int64_t> t;
    if (lowered(value) == "startup") {
        t = kTimeStartup;
    } else if (value.substr(0, 2) == "*:") {
        std::optional<int64_t> m = readInteger(value.substr(2));
        if (m && value.size() > 2 && value[2] != '-' && *m <= 59) t = kTimeEveryHour + *m;
    } else {
        t = readClock(value);
    }
    if (!t || !fits<int32_t>(*t)) return "a time (HH:MM, *:MM for every hour, or startup) is expected";
    r.time = static_cast<int32_t>(*t);
    return {};
}

std::string writeMinutes(int32_t minutes) { return minutes >= 0 ? clock(minutes / 60, minutes % 60) : number(minutes); }

std::string readMinutes(std::string_view value, int32_t& field) {
    std::optional<int64_t> t = readClock(value);
    if (!t || !fits<int32_t>(*t)) return "a time (HH:MM) is expected";
    field = static_cast<int32_t>(*t);
    return {};
}

bool isNeverRun(const TaskRecord& r) {
    return r.lastDay == 1 && r.lastMonth == 1 && r.lastYear == 0 && r.lastHour == 0 && r.lastMinute == 0 &&
           r.lastSecond == 0;
}

std::string writeStamp(const TaskRecord& r) {
    if (isNeverRun(r)) return "never";
    char text[80];
    std::snprintf(text, sizeof text, "%02d.%02d.%04lld %02d:%02d:%02d", r.lastDay, r.lastMonth,
                  static_cast<long long>(r.lastYear) + 1900, r.lastHour, r.lastMinute, r.lastSecond);
    return text;
}

std::string readStamp(std::string_view value, TaskRecord& r) {
    const std::string expected = "a date and time (DD.MM.YYYY HH:MM:SS) or never is expected";
    if (lowered(value) == "never") {
        r.lastDay = 1;
        r.lastMonth = 1;
        r.lastYear = 0;
        r.lastHour = r.lastMinute = r.lastSecond = 0;
        return {};
    }
    std::size_t blank = value.find(' ');
    if (blank == std::string_view::npos) return expected;
    std::vector<std::string_view> date = split(value.substr(0, blank), '.');
    std::vector<std::string_view> time = split(trimmed(value.substr(blank)), ':');
    if (date.size() != 3 || time.size() != 3) return expected;
    int64_t parts[6];
    for (int i = 0; i < 6; ++i) {
        std::optional<int64_t> v = readInteger(i < 3 ? date[i] : time[i - 3]);
        if (!v) return expected;
        parts[i] = *v;
    }
    const int64_t year = parts[2] - 1900;
    for (int i : {0, 1, 3, 4, 5})
        if (!fits<int8_t>(parts[i])) return expected;
    if (!fits<int32_t>(year)) return expected;
    r.lastDay = static_cast<int8_t>(parts[0]);
    r.lastMonth = static_cast<int8_t>(parts[1]);
    r.lastYear = static_cast<int32_t>(year);
    r.lastHour = static_cast<int8_t>(parts[3]);
    r.lastMinute = static_cast<int8_t>(parts[4]);
    r.lastSecond = static_cast<int8_t>(parts[5]);
    return {};
}

// --- The fields -----------------------------------------------------------------

struct Field {
    const char* key;
    std::string (*write)(const TaskRecord&);
    std::string (*read)(std::string_view value, TaskRecord&);  // the error, or empty
};

const Field kFields[] = {
    {"Name", [](const TaskRecord& r) { return quoted(fieldText(r.name)); },
     [](std::string_view v, TaskRecord& r) { return readTextField(v, r.name); }},
    {"Type", [](const TaskRecord& r) { return typeWord(r.type); },
     [](std::string_view v, TaskRecord& r) -> std::string {
         std::optional<int> type = readType(v);
         if (!type) return "Application, Document, Message or Shutdown is expected";
         r.type = static_cast<int8_t>(*type);
         return {};
     }},
    {"Command", [](const TaskRecord& r) { return quoted(fieldText(r.command)); },
     [](std::string_view v, TaskRecord& r) { return readTextField(v, r.command); }},
    {"Folder", [](const TaskRecord& r) { return quoted(fieldText(r.folder)); },
     [](std::string_view v, TaskRecord& r) { return readTextField(v, r.folder); }},
    {"Active", [](const TaskRecord& r) { return number(r.active); },
     [](std::string_view v, TaskRecord& r) { return readFlag(v, r.active, 1); }},
    {"RunOnce", [](const TaskRecord& r) { return number(r.runOnce); },
     [](std::string_view v, TaskRecord& r) { return readFlag(v, r.runOnce, kRunOnceLaunched); }},
    {"Minimized", [](const TaskRecord& r) { return number(r.runMinimized); },
     [](std::string_view v, TaskRecord& r) { return readFlag(v, r.runMinimized, 1); }},
    {"Interactive", [](const TaskRecord& r) { return number(r.interactive); },
     [](std::string_view v, TaskRecord& r) { return readFlag(v, r.interactive, 1); }},
    {"QuitAfter", [](const TaskRecord& r) { return number(r.quitAfter); },
     [](std::string_view v, TaskRecord& r) { return readInt32(v, r.quitAfter); }},
    {"KillAfter", [](const TaskRecord& r) { return number(r.killAfter); },
     [](std::string_view v, TaskRecord& r) { return readInt32(v, r.killAfter); }},
    {"OnError", [](const TaskRecord& r) { return quoted(fieldText(r.onError)); },
     [](std::string_view v, TaskRecord& r) { return readTextField(v, r.onError); }},
    {"Time", writeTime, readTime},
    {"Cycle", [](const TaskRecord& r) { return number(r.cycle); },
     [](std::string_view v, TaskRecord& r) { return readFlag(v, r.cycle, 1); }},
    {"RunLater", [](const TaskRecord& r) { return number(r.runLater); },
     [](std::string_view v, TaskRecord& r) { return readFlag(v, r.runLater, 1); }},
    {"Weekdays", [](const TaskRecord& r) { return weekdaysWords(r.weekdays); },
     [](std::string_view v, TaskRecord& r) -> std::string {
         std::optional<int> mask = readWeekdays(v);
         if (!mask) return "days (Mo,Tu,We,Th,Fr,Sa,Su), daily, weekdays or none are expected";
         r.weekdays = static_cast<int8_t>(*mask);
         return {};
     }},
    {"DaysOfMonth", [](const TaskRecord& r) { return quoted(fieldText(r.daysOfMonth)); },
     [](std::string_view v, TaskRecord& r) { return readTextField(v, r.daysOfMonth); }},
    {"Months", [](const TaskRecord& r) { return monthsWords(r.months); },
     [](std::string_view v, TaskRecord& r) -> std::string {
         std::optional<int> mask = readMonths(v);
         if (!mask) return "months (Jan,Feb,...,Dec) or every are expected";
         r.months = *mask;
         return {};
     }},
    {"IntervalStart", [](const TaskRecord& r) { return writeMinutes(r.intervalStart); },
     [](std::string_view v, TaskRecord& r) { return readMinutes(v, r.intervalStart); }},
    {"IntervalEnd", [](const TaskRecord& r) { return writeMinutes(r.intervalEnd); },
     [](std::string_view v, TaskRecord& r) { return readMinutes(v, r.intervalEnd); }},
    {"Invert", [](const TaskRecord& r) { return number(r.invert); },
     [](std::string_view v, TaskRecord& r) { return readFlag(v, r.invert, 1); }},
    {"Edited", [](const TaskRecord& r) { return number(r.edited); },
     [](std::string_view v, TaskRecord& r) { return readFlag(v, r.edited, 1); }},
    {"LastRun", writeStamp, readStamp},
};

const Field* findField(std::string_view key) {
    std::string wanted = lowered(key);
    for (const Field& field : kFields)
        if (wanted == lowered(field.key)) return &field;
    return nullptr;
}

// A new task as add makes it, without a name.
TaskRecord blockDefaults() {
    TaskRecord r = newTaskRecord(1);
    std::memset(r.name, 0, sizeof r.name);
    r.months = kAllMonths;
    return r;
}

}  // namespace

std::string taskBlock(const TaskRecord& record) {
    std::string out = "[Task]\n";
    for (const Field& field : kFields) out += std::string(field.key) + " = " + field.write(record) + "\n";
    return out;
}

std::string taskFile(const std::vector<TaskRecord>& records) {
    std::string out =
        "; KZO Scheduler tasks: one [Task] block for each task, every field by name.\n"
        "; \"kzotask import\" reads them back; the help's kzotask page describes the form.\n";
    for (const TaskRecord& record : records) out += "\n" + taskBlock(record);
    return out;
}

int TaskBlock::lineOf(const std::string& key) const {
    auto found = lines.find(key);
    return found == lines.end() ? line : found->second;
}

TaskFileRead readTaskFile(std::string_view text) {
    TaskFileRead read;
    auto fail = [&read](int line, std::string error) {
        read.errorLine = line;
        read.error = std::move(error);
        return read;
    };
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            if (lowered(line) != "[task]") return fail(lineNumber, "only [Task] blocks are known");
            if (!read.blocks.empty() && read.blocks.back().lines.count("Name") == 0)
                return fail(read.blocks.back().line, "the block has no Name");
            TaskBlock block;
            block.record = blockDefaults();
            block.line = lineNumber;
            read.blocks.push_back(block);
            continue;
        }
        if (read.blocks.empty()) return fail(lineNumber, "a [Task] line must come first");
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return fail(lineNumber, "a line Key = value is expected");
        std::string_view key = trimmed(line.substr(0, equals));
        const Field* field = findField(key);
        if (!field) return fail(lineNumber, "unknown key " + std::string(key));
        TaskBlock& block = read.blocks.back();
        if (block.lines.count(field->key)) return fail(lineNumber, std::string(field->key) + " is given twice");
        std::string error = field->read(trimmed(line.substr(equals + 1)), block.record);
        if (!error.empty()) return fail(lineNumber, std::string(field->key) + ": " + error);
        block.lines[field->key] = lineNumber;
    }
    if (!read.blocks.empty() && read.blocks.back().lines.count("Name") == 0)
        return fail(read.blocks.back().line, "the block has no Name");
    return read;
}

std::optional<int> readWeekdays(std::string_view text) {
    text = trimmed(text);
    std::string word = lowered(text);
    if (word == "none") return 0;
    if (word == "daily") return kAllWeekdays;
    if (word == "weekdays") return kWorkdays;
    return readMask(text, kWeekdayNames, 7, 2, kAllWeekdays);
}

std::optional<int> readMonths(std::string_view text) {
    text = trimmed(text);
    if (lowered(text) == "every") return 0;
    return readMask(text, kMonthNames, 12, 3, kAllMonths);
}

std::string weekdaysWords(int weekdays) {
    const int mask = weekdays & 0xFF;
    if (mask == 0) return "none";
    if (mask & ~kAllWeekdays) return number(mask);
    return maskWords(mask, kWeekdayWords, 7);
}

std::string monthsWords(int32_t months) {
    if (months == 0) return "every";
    if (months < 0 || (months & ~kAllMonths)) return number(months);
    return maskWords(months, kMonthWords, 12);
}

std::string typeWord(int type) {
    return type >= kTypeApplication && type <= kTypeShutdown ? kTypeWords[type] : number(type);
}

std::optional<int> readType(std::string_view word) {
    std::string w = lowered(trimmed(word));
    static const char* const kShort[4] = {"app", "doc", "msg", "shutdown"};
    for (int i = 0; i < 4; ++i)
        if (w == kShort[i] || w == lowered(kTypeWords[i])) return i;
    if (w.size() == 1 && w[0] >= '0' && w[0] <= '3') return w[0] - '0';
    return std::nullopt;
}

}  // namespace kzo
