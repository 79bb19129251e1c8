#include "day_list.h"

#include "blanks.h"

namespace kzo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void appendItem(std::string& out, const std::string& item) {
    if (item.empty()) return;
    if (!out.empty()) out += ',';
    if (item.size() == 1 && item[0] >= '1' && item[0] <= '9') out += '0';
    out += item;
}

}  // namespace

std::string normaliseDayList(std::string_view text) {
    std::string out;
    std::string item;
    for (char c : text) {
        if (c == ' ') continue;
        if (c == ',' || c == ';') {
            appendItem(out, item);
            item.clear();
        } else {
            item += c;
        }
    }
    appendItem(out, item);
    return out;
}

bool hasOnlyDayListCharacters(std::string_view text) {
    for (char c : text)
        if (!isDigit(c) && c != ' ' && c != ';' && c != ',') return false;
    return true;
}

bool hasValidDayNumbers(std::string_view text) {
    std::size_t run = 0;
    char first = 0;
    for (char c : text) {
        if (!isDigit(c)) {
            run = 0;
            continue;
        }
        ++run;
        if (run == 1) {
            if (c > '3') return false;
            first = c;
        } else if (run == 2) {
            if (first == '3' && c > '1') return false;
        } else {
            return false;
        }
    }
    return true;
}

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

DaysOfMonthCheck checkDaysOfMonth(std::string_view typed, int weekdays) {
    DaysOfMonthCheck result;
    const std::string trimmed = trimBlanks(typed);
    std::string normal = normaliseDayList(trimmed);
    if (!hasOnlyDayListCharacters(normal)) {
        result.messageId = kMsgInvalidDayCharacter;
    } else if ((weekdays & 0x7F) == 0 && normal.empty()) {
        result.messageId = kMsgNoDay;
    } else if (!hasValidDayNumbers(normal) || hasDigitsSeparatedByBlanks(trimmed) ||
               normal.size() > kDaysOfMonthWidth) {
        result.messageId = kMsgInvalidDay;
    } else {
        result.stored = std::move(normal);
    }
    return result;
}

}  // namespace kzo
