// The day count across daylight-saving changes. The host's C library follows
// the rule written in the TZ text; the Windows runtime takes its rules from
// the system instead, so this runs in the host build only.
#include <gtest/gtest.h>

#include "core/values/DateValue.h"
#include "tests/core/DateValueTestSupport.h"
#include "tests/support/TimeZone.h"

namespace {

using zvtest::MakeDate;

TEST(DateValue, DaysAfterAcrossDaylightSaving)
{
    // US Eastern time: clocks went forward on 2009-03-08 and back on
    // 2009-11-01; each date is read under its own rule.
    zvtest::PinnedTimeZone eastern("EST5EDT,M3.2.0,M11.1.0");
    EXPECT_EQ(LocalDateValueToSeconds(MakeDate(2009, 1, 15, 12, 0, 0)), 14259LL * 86400 + 17 * 3600);
    EXPECT_EQ(LocalDateValueToSeconds(MakeDate(2009, 7, 15, 12, 0, 0)), 14440LL * 86400 + 16 * 3600);
    // The spring day has 23 hours: midnight to midnight is not a whole day.
    EXPECT_EQ(MakeDate(2009, 3, 9).DaysAfter(MakeDate(2009, 3, 8)), 0);
    EXPECT_EQ(MakeDate(2009, 3, 9, 1, 0, 0).DaysAfter(MakeDate(2009, 3, 8)), 1);
    // The autumn day has 25.
    EXPECT_EQ(MakeDate(2009, 11, 2).DaysAfter(MakeDate(2009, 11, 1)), 1);
    EXPECT_EQ(MakeDate(2009, 11, 1, 23, 0, 0).DaysAfter(MakeDate(2009, 11, 1)), 1);
    EXPECT_EQ(MakeDate(2009, 11, 1, 22, 30, 0).DaysAfter(MakeDate(2009, 11, 1)), 0);
}

}  // namespace
