#include "store/date.h"

#include <gtest/gtest.h>

#include "tests/core/fixed_clock.h"

namespace torvane {
namespace {

TEST(DateTest, DayCountsFromTheEpoch) {
    TDate d = -1;
    ASSERT_TRUE(TryEncodeDate(1899, 12, 30, d));
    EXPECT_EQ(0, d);
    ASSERT_TRUE(TryEncodeDate(2001, 6, 19, d));
    EXPECT_EQ(37061, d);
    ASSERT_TRUE(TryEncodeDate(1, 1, 1, d));
    EXPECT_EQ(-693593, d);
    ASSERT_TRUE(TryEncodeDate(9999, 12, 31, d));
    EXPECT_EQ(2958465, d);
}

TEST(DateTest, RejectsDaysThatDoNotExist) {
    TDate d = 0;
    EXPECT_FALSE(TryEncodeDate(2001, 2, 29, d));
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29, d));
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, d));
    EXPECT_FALSE(TryEncodeDate(2001, 13, 1, d));
    EXPECT_FALSE(TryEncodeDate(2001, 4, 31, d));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, d));
    EXPECT_FALSE(TryEncodeDate(10000, 1, 1, d));
}

TEST(DateTest, FormatsWithLiteralSlashesAndRoundTrips) {
    EXPECT_EQ("1899/12/30", FormatDate(0));
    EXPECT_EQ("2001/06/19", FormatDate(37061.75));
    EXPECT_EQ("1899/12/29", FormatDate(-1.5));  // the day lives in the integral part
    for (TDate d = -693593; d <= 2958465; d += 997) {
        int y = 0, m = 0, day = 0;
        DecodeDate(d, y, m, day);
        TDate back = 0;
        ASSERT_TRUE(TryEncodeDate(y, m, day, back));
        ASSERT_EQ(d, back);
    }
}

TEST(DateTest, TodayComesFromTheInstalledClock) {
    FixedClock clock(37061.5);
    EXPECT_EQ(37061, Today());
    EXPECT_EQ(37061.5, Now());
}

}  // namespace
}  // namespace torvane
