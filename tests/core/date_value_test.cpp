// Date values: the two parsed text forms, the three written forms, the
// comparisons and the day count, with the time zone pinned.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>

#include "core/values/DateValue.h"
#include "tests/core/DateValueTestSupport.h"
#include "tests/support/TimeZone.h"

namespace {

using zvtest::MakeDate;

struct Fields {
    unsigned year, month, day, hour, minute, second;
};

void ExpectFields(const CDateValue& v, const Fields& f, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(v.GetYear(), f.year);
    EXPECT_EQ(v.GetMonth(), f.month);
    EXPECT_EQ(v.GetDay(), f.day);
    EXPECT_EQ(v.GetHour(), f.hour);
    EXPECT_EQ(v.GetMinute(), f.minute);
    EXPECT_EQ(v.GetSecond(), f.second);
}

TEST(DateValue, TextForms)
{
    struct Case {
        CDateValue value;
        const char* timestamp;
        const char* longDate;
        const char* shortDate;
    } cases[] = {
        {MakeDate(2009, 3, 5, 7, 8, 9), "2009-03-05 07:08:09 +0000", "March 05, 2009", "03/05/2009"},
        {MakeDate(2010, 12, 31, 23, 59, 59), "2010-12-31 23:59:59 +0000", "December 31, 2010", "12/31/2010"},
        {MakeDate(1, 1, 1), "0001-01-01 00:00:00 +0000", "January 01, 0001", "01/01/0001"},
        // A cleared value: every number as zeros of its width, no month name.
        {CDateValue(), "0000-00-00 00:00:00 +0000", " 00, 0000", "00/00/0000"},
        // No validation: out-of-range fields are written as they are.
        {MakeDate(65535, 13, 99, 24, 60, 61), "65535-13-99 24:60:61 +0000", " 99, 65535", "13/99/65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timestamp);
        EXPECT_EQ(c.value.FormatTimestamp(), c.timestamp);
        EXPECT_EQ(c.value.FormatLong(), c.longDate);
        EXPECT_EQ(c.value.FormatShort(), c.shortDate);
    }
}

TEST(DateValue, ParseTimestamp)
{
    struct Case {
        const char* text;
        Fields fields;
    } cases[] = {
        {"2009-03-05 07:08:09 +0000", {2009, 3, 5, 7, 8, 9}},
        {"2009-03-05 07:08:09 ", {2009, 3, 5, 7, 8, 9}},
        // The seconds need a blank after them.
        {"2009-03-05 07:08:09", {2009, 3, 5, 7, 8, 0}},
        // A missing separator gives 0 and the next search starts again at
        // the beginning of the text.
        {"2009-03-05", {2009, 3, 0, 0, 0, 0}},
        {"2009 07:08:09 ", {0, 0, 2009, 7, 8, 9}},
        {"", {0, 0, 0, 0, 0, 0}},
        {"no date at all", {0, 0, 0, 0, 0, 0}},
        // Fields read like atoi: leading blanks, a sign, digits up to the
        // first other character; kept to 16 bits.
        {"  12-  3x-4 5:6:7 z", {12, 3, 4, 5, 6, 7}},
        {"70000-1-1 0:0:0 ", {70000 % 65536, 1, 1, 0, 0, 0}},
        {"-1-1-1 0:0:0 ", {0, 1, 1, 0, 0, 0}},
        {"2009-03-05 -7:+8:09 ", {2009, 3, 5, 0xFFF9, 8, 9}},
        // Far beyond 32 bits: only the low 16 bits remain, without overflow.
        {"99999999999999999999-1-1 1:1:1 ", {0xFFFF, 1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        CDateValue v(c.text, CDateValue::kTimestamp);
        ExpectFields(v, c.fields, c.text);
    }
}

TEST(DateValue, ParseLongDate)
{
    struct Case {
        const char* text;
        unsigned month, day, year;
    } cases[] = {
        {"March 05, 2009", 3, 5, 2009},
        {"march 05, 2009", 3, 5, 2009},
        {"DECEMBER 31,1999", 12, 31, 1999},
        {"September 1, 0", 9, 1, 0},
        {"Smarch 05, 2009", 0xFFFF, 5, 2009},
        // Blanks are not trimmed: a leading blank leaves no month name.
        {" March 05, 2009", 0xFFFF, 0, 2009},
        {"", 0xFFFF, 0, 0},
        {"May", 0xFFFF, 0, 0},
        {"May 7", 5, 0, 0},
        {"May 7,", 5, 7, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CDateValue v(c.text, CDateValue::kLongDate);
        EXPECT_EQ(v.GetMonth(), c.month);
        EXPECT_EQ(v.GetDay(), c.day);
        EXPECT_EQ(v.GetYear(), c.year);
        EXPECT_EQ(v.GetHour(), 0u);
    }
}

TEST(DateValue, ParsedFormsRoundTrip)
{
    CDateValue v = MakeDate(2009, 3, 5, 7, 8, 9);
    ExpectFields(CDateValue(v.FormatTimestamp(), CDateValue::kTimestamp), {2009, 3, 5, 7, 8, 9}, "timestamp");
    ExpectFields(CDateValue(v.FormatLong(), CDateValue::kLongDate), {2009, 3, 5, 0, 0, 0}, "long");
    // Any other form leaves the value cleared.
    ExpectFields(CDateValue(v.FormatShort(), 3), {0, 0, 0, 0, 0, 0}, "other form");
    ExpectFields(CDateValue(v.FormatTimestamp(), 0), {0, 0, 0, 0, 0, 0}, "form 0");
}

TEST(DateValue, MonthNames)
{
    const char* names[] = {"January", "February", "March",     "April",   "May",      "June",
                           "July",    "August",   "September", "October", "November", "December"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(MonthName(m), names[m - 1]);
        EXPECT_EQ(MonthFromName(names[m - 1]), m);
        CString upper(names[m - 1]);
        upper.MakeUpper();
        EXPECT_EQ(MonthFromName(upper), m);
    }
    for (int m : {0, 13, -1, 65535}) EXPECT_EQ(MonthName(m), "");
    for (const char* s : {"", "Jan", "March ", " March", "Marc"}) EXPECT_EQ(MonthFromName(s), -1) << s;
}

TEST(DateValue, Comparisons)
{
    struct Case {
        CDateValue a, b;
        int dates, dateTimes;
    } cases[] = {
        {MakeDate(2010, 1, 1), MakeDate(2009, 12, 31), 1, 1},
        {MakeDate(2009, 12, 31), MakeDate(2010, 1, 1), -1, -1},
        {MakeDate(2009, 3, 5, 23, 0, 0), MakeDate(2009, 3, 5, 1, 0, 0), 0, 1},
        {MakeDate(2009, 3, 5, 10, 0, 0), MakeDate(2009, 3, 5, 10, 0, 1), 0, -1},
        {MakeDate(2009, 3, 5, 10, 1, 0), MakeDate(2009, 3, 5, 10, 0, 59), 0, 1},
        {MakeDate(2009, 3, 5, 10, 0, 0), MakeDate(2009, 3, 5, 10, 0, 0), 0, 0},
        {MakeDate(2009, 2, 28), MakeDate(2009, 3, 1), -1, -1},
        // Unsigned fields: 0xFFFF is the largest month.
        {MakeDate(2009, 0xFFFF, 1), MakeDate(2009, 12, 1), 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a.FormatTimestamp() + " vs " + c.b.FormatTimestamp());
        EXPECT_EQ(CompareDates(c.a, c.b), c.dates);
        EXPECT_EQ(CompareDateTimes(c.a, c.b), c.dateTimes);
        // Milliseconds never count.
        CDateValue a = c.a;
        a.wMilliseconds = 999;
        EXPECT_EQ(CompareDateTimes(a, c.b), c.dateTimes);
    }
}

TEST(DateValue, DaysAfterInUtc)
{
    zvtest::PinnedTimeZone utc("UTC0");
    struct Case {
        CDateValue a, b;
        long days;
    } cases[] = {
        {MakeDate(2009, 3, 6), MakeDate(2009, 3, 5, 23, 0, 0), 0},
        {MakeDate(2009, 3, 6), MakeDate(2009, 3, 5), 1},
        {MakeDate(2009, 3, 5), MakeDate(2009, 3, 6), -1},
        // Truncated toward zero both ways.
        {MakeDate(2009, 3, 5, 1, 0, 0), MakeDate(2009, 3, 6), 0},
        {MakeDate(2009, 3, 7, 23, 59, 59), MakeDate(2009, 3, 5), 2},
        {MakeDate(2009, 3, 5), MakeDate(1970, 1, 1), 14308},
        {MakeDate(1960, 1, 1), MakeDate(1970, 1, 1), -3653},
        {MakeDate(2010, 1, 1), MakeDate(2009, 12, 22), 10},
        {MakeDate(2009, 3, 1), MakeDate(2009, 2, 28), 1},
        {MakeDate(2008, 3, 1), MakeDate(2008, 2, 28), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a.FormatTimestamp() + " vs " + c.b.FormatTimestamp());
        EXPECT_EQ(c.a.DaysAfter(c.b), c.days);
    }
    // A year before 1900 counts as 0 seconds.
    EXPECT_EQ(MakeDate(1899, 12, 31).DaysAfter(MakeDate(1899, 1, 1)), 0);
    EXPECT_EQ(LocalDateValueToSeconds(MakeDate(1899, 12, 31)), 0);
    EXPECT_EQ(LocalDateValueToSeconds(MakeDate(2009, 3, 5, 7, 8, 9)), 14308LL * 86400 + 7 * 3600 + 8 * 60 + 9);
}

TEST(DateValue, Now)
{
    CDateValue cleared(CDateValue::kEmpty);
    EXPECT_EQ(cleared.FormatTimestamp(), "0000-00-00 00:00:00 +0000");
    CDateValue now(CDateValue::kNow);
    long long seconds = LocalDateValueToSeconds(now);
    long long clock = static_cast<long long>(std::time(nullptr));
    EXPECT_LE(seconds, clock);
    EXPECT_GE(seconds, clock - 5);
    EXPECT_GE(now.GetMonth(), 1u);
    EXPECT_LE(now.GetMonth(), 12u);
    now.Clear();
    EXPECT_EQ(now.FormatShort(), "00/00/0000");
    now.InitNow();
    EXPECT_GE(now.GetYear(), 2020u);
}

}  // namespace
