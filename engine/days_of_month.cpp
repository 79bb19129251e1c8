#include "days_of_month.h"

namespace kzo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isLastDayItem(std::string_view item) { return item == "L" || item == "l"; }

bool hasLastDayItem(std::string_view text) {
    if (text.find_first_of("Ll") == std::string_view::npos) return false;  // the common case
    bool found = false;
    forEachDayItem(text, [&found](std::string_view item) { found = found || isLastDayItem(item); });
    return found;
}

}  // namespace

DayItem readDayItem(std::string_view item) {
    if (isLastDayItem(item)) return DayItem::LastDay;
    if (item.empty() || item.size() > 2) return DayItem::Invalid;
    for (char c : item)
        if (!isDigit(c)) return DayItem::Invalid;
    int day = item.size() == 1 ? item[0] - '0' : (item[0] - '0') * 10 + (item[1] - '0');
    return day <= 31 ? DayItem::Number : DayItem::Invalid;
}

bool daysOfMonthMatch(std::string_view text, int day, int daysInMonth) {
    const char tens = static_cast<char>('0' + day / 10 % 10);
    const char units = static_cast<char>('0' + day % 10);
    for (std::size_t i = 0; i + 2 <= text.size(); ++i)
        if (text[i] == tens && text[i + 1] == units) return true;
    return day == daysInMonth && hasLastDayItem(text);
}

std::string withoutLastDayItems(std::string_view text) {
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(",;", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view item = text.substr(start, end - start);
        std::string bare;
        for (char c : item)
            if (c != ' ') bare += c;
        if (!isLastDayItem(bare)) {
            if (start > 0 && !out.empty()) out += text[start - 1];
            out += item;
        }
        start = end + 1;
    }
    return out;
}

}  // namespace kzo
