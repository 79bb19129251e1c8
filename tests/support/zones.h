// Time zones with both daylight saving changes, as the system describes them,
// for the tests of the engine and the Terminal.
#pragma once

#include "daylight_saving.h"

namespace kzo::test {

// Central Europe: UTC+1, daylight time UTC+2 from the last Sunday of March
// 02:00 to the last Sunday of October 03:00.
inline ZoneRule europeanZone() {
    ZoneRule z;
    z.bias = -60;
    z.shift = 60;
    z.toDaylight = {3, 5, 0, 0, 2 * 60};
    z.toStandard = {10, 5, 0, 0, 3 * 60};
    return z;
}

// North American Eastern time: UTC-5, daylight time UTC-4 from the second
// Sunday of March 02:00 to the first Sunday of November 02:00.
inline ZoneRule northAmericanZone() {
    ZoneRule z;
    z.bias = 300;
    z.shift = 60;
    z.toDaylight = {3, 2, 0, 0, 2 * 60};
    z.toStandard = {11, 1, 0, 0, 2 * 60};
    return z;
}

}  // namespace kzo::test
