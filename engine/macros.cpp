#include "macros.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace kzo {

namespace {

constexpr std::size_t kWorkingSize = 1024;  // the matching copy: at most 1023 characters
constexpr std::size_t kValueSize = 20;

enum class ValueKind { Number4, Number2, WeekdayName, Number1, MonthName };

struct Macro {
    const char* name;  // upper case, starts and ends with '%'
    std::size_t length;
    ValueKind kind;
};

// Searched in this order: a name never matches a longer one's prefix because
// every name ends with '%'.
constexpr Macro kMacros[] = {
    {"%KZO.YEAR%", 10, ValueKind::Number4},
    {"%KZO.MONTH%", 11, ValueKind::Number2},
    {"%KZO.DAY%", 9, ValueKind::Number2},
    {"%KZO.HOUR%", 10, ValueKind::Number2},
    {"%KZO.MINUTE%", 12, ValueKind::Number2},
    {"%KZO.YEAR2%", 11, ValueKind::Number2},
    {"%KZO.WEEKDAY2%", 14, ValueKind::WeekdayName},
    {"%KZO.WEEKDAY%", 13, ValueKind::Number1},
    {"%KZO.MONTH3%", 12, ValueKind::MonthName},
};

const char* const kWeekdayNames[] = {"--", "MO", "TU", "WE", "TH", "FR", "SA", "SU"};
const char* const kMonthNames[] = {"---", "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                   "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// The numeric value of entry index (names are printed separately).
int numberOf(std::size_t index, const LaunchTime& t) {
    switch (index) {
        case 0: return t.year;
        case 1: return t.month;
        case 2: return t.day;
        case 3: return t.hour;
        case 4: return t.minute;
        case 5: return t.year % 100;
        case 7: return t.weekday == 7 ? 0 : t.weekday;
        default: return 0;
    }
}

// Prints the value of entry index into value; returns its length. A weekday or
// month outside its table prints the table's filler entry.
int printValue(std::size_t index, const LaunchTime& t, char (&value)[kValueSize]) {
    switch (kMacros[index].kind) {
        case ValueKind::Number4:
            return std::snprintf(value, kValueSize, "%.4d", numberOf(index, t));
        case ValueKind::Number2:
            return std::snprintf(value, kValueSize, "%.2d", numberOf(index, t));
        case ValueKind::Number1:
            return std::snprintf(value, kValueSize, "%d", numberOf(index, t));
        case ValueKind::WeekdayName: {
            int w = t.weekday >= 1 && t.weekday <= 7 ? t.weekday : 0;
            return std::snprintf(value, kValueSize, "%2s", kWeekdayNames[w]);
        }
        case ValueKind::MonthName: {
            int m = t.month >= 1 && t.month <= 12 ? t.month : 0;
            return std::snprintf(value, kValueSize, "%3s", kMonthNames[m]);
        }
    }
    return -1;
}

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

char* expandMacros(char* text, const LaunchTime& time) {
    char copy[kWorkingSize];
    std::size_t textLength = std::strlen(text);
    std::size_t n = textLength < kWorkingSize - 1 ? textLength : kWorkingSize - 1;
    for (std::size_t k = 0; k < n; ++k) copy[k] = upperAscii(text[k]);
    copy[n] = '\0';

    for (std::size_t i = 0; i < n; ++i) {
        if (copy[i] != '%') continue;
        for (std::size_t index = 0; index < sizeof kMacros / sizeof kMacros[0]; ++index) {
            const Macro& macro = kMacros[index];
            std::size_t L = macro.length;
            if (i + L > n || std::memcmp(copy + i, macro.name, L) != 0) continue;
            char value[kValueSize];
            int printed = printValue(index, time, value);
            // Only a launch time that no clock gives (a negative day, say) could
            // print a value longer than its name; the text must never grow, so
            // such a macro stays as written.
            if (printed < 1 || static_cast<std::size_t>(printed) > L) break;
            std::size_t m = static_cast<std::size_t>(printed);
            std::memcpy(text + i, value, m);
            std::memcpy(copy + i, value, m);
            std::memmove(text + i + m, text + i + L, textLength - (i + L) + 1);
            std::memmove(copy + i + m, copy + i + L, n - (i + L) + 1);
            textLength -= L - m;
            n -= L - m;
            i += m - 1;
            break;
        }
    }
    return text;
}

}  // namespace kzo
