// The days-of-month text of a task, item by item: the one reading of the list
// that the date gate of the due test and the day filter, the next-run search
// and the Day and time page's checks share. Pure: no windows.h.
//
// Items are separated by "," or ";" and blanks inside the text mean nothing.
// An item is a day number of one or two digits (the page stores two, "05",
// which the date gate finds as a substring of the text), or "L" in either case:
// the last day of the month. Anything else names no day.
#pragma once

#include <string>
#include <string_view>

namespace kzo {

enum class DayItem {
    Number,   // "0".."31" in one or two digits ("0" and "00" match no day)
    LastDay,  // "L" or "l"
    Invalid,  // anything else: "32", "001", "L5", "LL", "x"
};

// One item, blanks already removed.
DayItem readDayItem(std::string_view item);

// Calls f(item) for every item that is not empty, with its blanks removed.
template <typename F>
void forEachDayItem(std::string_view text, F f) {
    std::string item;
    for (char c : text) {
        if (c == ' ') continue;
        if (c == ',' || c == ';') {
            if (!item.empty()) f(std::string_view(item));
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.empty()) f(std::string_view(item));
}

// Whether the date gate takes the day: the two-digit day number occurs in the
// text (a plain substring search), or an item is "L" and the day is the last
// of its month (daysInMonth).
bool daysOfMonthMatch(std::string_view text, int day, int daysInMonth);

// The text with its "L" items left out (and the separator that led to each),
// the rest as it is: what an older record meant, where "L" named no day.
std::string withoutLastDayItems(std::string_view text);

}  // namespace kzo
