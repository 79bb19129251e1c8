// The 12-hour clock both ways, at its corners.
#include <gtest/gtest.h>

#include "hour_format.h"

namespace kzo {
namespace {

TEST(TwelveHourClock, ShowsEachHourOfTheDayWithItsHalf) {
    struct Case {
        int hour24, hour;
        bool pm;
    } const cases[] = {{0, 12, false}, {1, 1, false},  {11, 11, false}, {12, 12, true},
                       {13, 1, true},  {23, 11, true}, {24, 24, false}, {-1, -1, false}};
    for (const Case& c : cases) {
        TwelveHour shown = toTwelveHour(c.hour24);
        EXPECT_EQ(c.hour, shown.hour) << c.hour24;
        EXPECT_EQ(c.pm, shown.pm) << c.hour24;
    }
}

TEST(TwelveHourClock, ReadsBackEveryHourAndRefusesWhatNoClockShows) {
    for (int h = 0; h < 24; ++h) {
        TwelveHour shown = toTwelveHour(h);
        EXPECT_EQ(h, fromTwelveHour(shown.hour, shown.pm)) << h;
    }
    EXPECT_EQ(24, fromTwelveHour(0, false));
    EXPECT_EQ(24, fromTwelveHour(13, true));
    EXPECT_EQ(24, fromTwelveHour(-5, false));
}

}  // namespace
}  // namespace kzo
