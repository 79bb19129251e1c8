// The 12-hour clock of the AMPM setting, as the task list, the Day and time page,
// the activity interval dialog and the diagnostics report show hours. Pure: no
// windows.h.
#pragma once

namespace kzo {

struct TwelveHour {
    int hour;  // 1..12 for the hours of a day; anything else as given
    bool pm;
};

// 0 shows as 12 AM, 1..11 stay AM, 12 is 12 PM, 13..23 show as 1..11 PM. An
// hour outside 0..23 (a hand-edited record) is shown as it is, AM.
TwelveHour toTwelveHour(int hour24);

// What a box showing v with the AM or PM half means in 24 hours: with PM 12
// stays 12 and 1..11 become v + 12; with AM 12 becomes 0 and 1..11 stay. A v of
// 0 or above 12 gives 24, which every caller refuses as an hour.
int fromTwelveHour(int shown, bool pm);

}  // namespace kzo
