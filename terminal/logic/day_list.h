// The days-of-month list of a task: the normal form it is stored in (two-digit
// day numbers and "L" for the last day of the month, separated by commas, as
// the due test looks for "05" on the 5th) and the Day and time page's checks
// of what the user typed. Items are read as the due test reads them
// (days_of_month.h). Pure: no windows.h.
#pragma once

#include <string>
#include <string_view>

namespace kzo {

// At most this many characters are stored (the record's field holds 64).
constexpr std::size_t kDaysOfMonthWidth = 64;

constexpr int kMsgInvalidDayCharacter = 7589;  // "Invalid character in \"Day of month\" field.\t\t "
constexpr int kMsgNoDay = 7590;                // "No day specified.\t\t "
constexpr int kMsgInvalidDay = 7591;           // "Invalid day specified.\t\t "

// Every ";" becomes ",", every blank is dropped, an item that is a single digit
// 1..9 gets a leading "0", an item "l" becomes "L", and empty items are dropped
// ("1; 15,,7, l" reads "01,15,07,L"). Any other text is kept as it is for the
// checks to refuse. The result may be longer than the field: the caller
// refuses that (a list never silently becomes empty).
std::string normaliseDayList(std::string_view text);

struct DaysOfMonthCheck {
    int messageId = 0;   // 0, or the message that refuses the text
    std::string stored;  // when accepted: the normal form to store
};

// The page's checks of the typed text in order, with the weekdays mask that
// makes an empty list acceptable: blanks trimmed, normalised; a character other
// than a digit, "L" or "l", a blank, ";" or "," gives 7589; no weekday and no
// item gives 7590; an item that is neither a day number 00..31 nor "L" ("32",
// "001", "L5", "LL"), digits kept apart by blanks ("3 1" is not read as 31),
// or a normal form longer than 64 characters gives 7591.
DaysOfMonthCheck checkDaysOfMonth(std::string_view typed, int weekdays);

}  // namespace kzo
