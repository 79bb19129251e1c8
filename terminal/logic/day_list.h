// The days-of-month list of a task: the normal form it is stored in (two-digit
// day numbers separated by commas, as the due test looks for "05" on the 5th)
// and the Day and time page's checks of what the user typed. Pure: no
// windows.h.
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
// 1..9 gets a leading "0", and empty items are dropped ("1; 15,,7" reads
// "01,15,07"). Any other text is kept as it is for the checks to refuse. The
// result may be longer than the field: the caller refuses that (a list never
// silently becomes empty).
std::string normaliseDayList(std::string_view text);

// Only digits, blanks, ";" and ",".
bool hasOnlyDayListCharacters(std::string_view text);

// Every run of digits is a day number 00..31: a first digit above 3, a second
// above 1 after a 3, or a third digit is refused. "0" and "00" pass although no
// day matches them.
bool hasValidDayNumbers(std::string_view text);

// Two digits kept apart by blanks alone ("3 1"): dropping the blanks would read
// them as one number, so the list is refused instead.
bool hasDigitsSeparatedByBlanks(std::string_view text);

struct DaysOfMonthCheck {
    int messageId = 0;   // 0, or the message that refuses the text
    std::string stored;  // when accepted: the normal form to store
};

// The page's checks of the typed text in order, with the weekdays mask that
// makes an empty list acceptable: blanks trimmed, normalised; a character other
// than a digit, blank, ";" or "," gives 7589; no weekday and no day number gives
// 7590; a bad day number, digits kept apart by blanks, or a normal form longer
// than 64 characters gives 7591.
DaysOfMonthCheck checkDaysOfMonth(std::string_view typed, int weekdays);

}  // namespace kzo
