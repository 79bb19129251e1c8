// The days-of-month list as the Day and time page reads it: the normal form it
// stores, and what it refuses.
#include <gtest/gtest.h>

#include <string>

#include "day_list.h"

namespace kzo {
namespace {

TEST(DayList, StoresTheNormalFormOrRefusesWithTheRightMessage) {
    struct Case {
        const char* typed;
        int weekdays, message;
        const char* stored;
    } const cases[] = {
        {"1; 15,7", 0, 0, "01,15,07"}, {"  31  ", 0, 0, "31"},   {"0", 0, 0, "0"},  // no day matches 0
        {"00", 0, 0, "00"},            {" 1 , 2 ", 0, 0, "01,02"}, {"1;;2", 0, 0, "01,02"},
        {";1;", 0, 0, "01"},           {",,", 1, 0, ""},          {"", 127, 0, ""},
        {"1-5", 0, kMsgInvalidDayCharacter, ""}, {"1\t5", 0, kMsgInvalidDayCharacter, ""},
        {"a,5", 127, kMsgInvalidDayCharacter, ""},
        {"", 0, kMsgNoDay, ""},        {"   ", 0, kMsgNoDay, ""},  {",,", 0, kMsgNoDay, ""},  // no day named
        {"32", 0, kMsgInvalidDay, ""}, {"40", 127, kMsgInvalidDay, ""}, {"123", 0, kMsgInvalidDay, ""},
        {"001", 0, kMsgInvalidDay, ""}, {"3 1", 0, kMsgInvalidDay, ""},  // not read as 31
        // "L" (either case) is the last day of the month, alone or beside numbers.
        {"L", 0, 0, "L"},              {"l", 0, 0, "L"},          {"15,L", 0, 0, "15,L"},
        {" 1 ; l ", 0, 0, "01,L"},     {"L,L", 0, 0, "L,L"},
        {"L5", 0, kMsgInvalidDay, ""}, {"LL", 0, kMsgInvalidDay, ""}, {"5L", 0, kMsgInvalidDay, ""},
        {"L 5", 0, kMsgInvalidDay, ""}, {"15,LX", 0, kMsgInvalidDayCharacter, ""},
        {"last", 0, kMsgInvalidDayCharacter, ""},
    };
    for (const Case& c : cases) {
        DaysOfMonthCheck check = checkDaysOfMonth(c.typed, c.weekdays);
        EXPECT_EQ(c.message, check.messageId) << "'" << c.typed << "'";
        EXPECT_EQ(c.stored, check.stored) << "'" << c.typed << "'";
    }
}

TEST(DayList, ListLongerThanTheFieldIsRefusedNotEmptied) {
    // 32 single digits fit the box (63 characters) but not the field once padded.
    std::string typed = "1";
    for (int i = 1; i < 32; ++i) typed += ",1";
    ASSERT_LE(typed.size(), kDaysOfMonthWidth);
    EXPECT_EQ(kMsgInvalidDay, checkDaysOfMonth(typed, 0).messageId);
    EXPECT_EQ(kMsgInvalidDay, checkDaysOfMonth(typed, 127).messageId);

    // 21 padded days and a lone 0: exactly the field's 64 characters.
    std::string fits;
    for (int i = 0; i < 21; ++i) fits += "1,";
    fits += "0";
    EXPECT_EQ(kDaysOfMonthWidth, checkDaysOfMonth(fits, 0).stored.size());
    EXPECT_EQ(kMsgInvalidDay, checkDaysOfMonth(fits + ",0", 0).messageId);
    EXPECT_EQ(kMsgInvalidDay, checkDaysOfMonth(std::string(10000, '1'), 0).messageId);
}

}  // namespace
}  // namespace kzo
