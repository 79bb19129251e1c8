#include "day_list.h"

#include "blanks.h"
#include "days_of_month.h"

namespace kzo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool hasOnlyDayListCharacters(std::string_view text) {
    for (char c : text)
        if (!isDigit(c) && c != 'L' && c != 'l' && c != ' ' && c != ';' && c != ',') return false;
    return true;
}

bool hasOnlyValidItems(std::string_view text) {
    bool valid = true;
    forEachDayItem(text, [&valid](std::string_view item) { valid = valid && readDayItem(item) != DayItem::Invalid; });
    return valid;
}

// Two digits kept apart by blanks alone ("3 1"): dropping the blanks would read
// them as one number, so the list is refused instead.
bool hasDigitsSeparatedByBlanks(std::string_view text) {
    bool afterDigit = false;  // the last character that was not a blank was a digit
    bool blankSince = false;
    for (char c : text) {
        if (c == ' ') {
            blankSince = afterDigit;
            continue;
        }
        if (isDigit(c) && blankSince) return true;
        afterDigit = isDigit(c);
        blankSince = false;
    }
    return false;
}

}  // namespace

std::string normaliseDayList(std::string_view text) {
    std::string out;
    forEachDayItem(text, [&out](std::string_view item) {
        if (!out.empty()) out += ',';
        if (item.size() == 1 && item[0] >= '1' && item[0] <= '9') out += '0';
        out += readDayItem(item) == DayItem::LastDay ? std::string_view("L") : item;
    });
    return out;
}

DaysOfMonthCheck checkDaysOfMonth(std::string_view typed, int weekdays) {
    DaysOfMonthCheck result;
    const std::string trimmed = trimBlanks(typed);
    std::string normal = normaliseDayList(trimmed);
    if (!hasOnlyDayListCharacters(normal)) {
        result.messageId = kMsgInvalidDayCharacter;
    } else if ((weekdays & 0x7F) == 0 && normal.empty()) {
        result.messageId = kMsgNoDay;
    } else if (!hasOnlyValidItems(normal) || hasDigitsSeparatedByBlanks(trimmed) ||
               normal.size() > kDaysOfMonthWidth) {
        result.messageId = kMsgInvalidDay;
    } else {
        result.stored = std::move(normal);
    }
    return result;
}

}  // namespace kzo
