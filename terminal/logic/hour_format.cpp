#include "hour_format.h"

namespace kzo {

TwelveHour toTwelveHour(int hour24) {
    if (hour24 < 0 || hour24 > 23) return {hour24, false};
    if (hour24 == 0) return {12, false};
    if (hour24 < 12) return {hour24, false};
    if (hour24 == 12) return {12, true};
    return {hour24 - 12, true};
}

int fromTwelveHour(int shown, bool pm) {
    if (shown <= 0 || shown > 12) return 24;
    if (pm) return shown == 12 ? 12 : shown + 12;
    return shown == 12 ? 0 : shown;
}

}  // namespace kzo
