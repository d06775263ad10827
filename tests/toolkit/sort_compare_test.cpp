// The sortable list's comparison, headings and column order, without windows.
#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/lists/SortCompare.h"

namespace {

int ByteCompare(const char* a, const char* b) { return std::strcmp(a, b); }
int Sign(int v) { return (v > 0) - (v < 0); }

TEST(SortCompare, TimestampTextIsTwentyFiveCharactersStartingWithADate)
{
    EXPECT_TRUE(IsTimestampText("2009-03-05 07:08:09 +0000"));
    EXPECT_TRUE(IsTimestampText("2009-03-05xxxxxxxxxxxxxxx"));  // only the date part is checked
    EXPECT_FALSE(IsTimestampText("2009-03-05 07:08:09 +000"));
    EXPECT_FALSE(IsTimestampText("2009/03/05 07:08:09 +0000"));
    EXPECT_FALSE(IsTimestampText("20a9-03-05 07:08:09 +0000"));
    EXPECT_FALSE(IsTimestampText(""));
    EXPECT_FALSE(IsTimestampText(nullptr));
}

TEST(SortCompare, CellsCompareAsTimesOnlyWhenBothAreTimestamps)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"2009-03-05 10:00:00 +0000", "2009-03-05 10:00:01 +0000", -1},
        {"2010-01-01 00:00:00 +0000", "2009-12-31 23:59:59 +0000", 1},
        {"2009-03-05 10:00:00 +0000", "2009-03-05 10:00:00 +0100", 0},  // the zone is not read
        {"abc", "abd", -1},
        // A time stamp against a plain text compares as text whichever comes
        // first, so the pair has one order: "2..." sorts before "Z" both ways.
        {"2009-03-05 10:00:00 +0000", "Zebra", -1},
        {"Zebra", "2009-03-05 10:00:00 +0000", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Sign(CompareSortCells(c.a, c.b, &ByteCompare))) << c.a << " / " << c.b;
}

TEST(SortCompare, HeadingsSplitIntoTitlesAndWidths)
{
    auto two = ParseSortHeadings("A,10;B,20");
    ASSERT_EQ(2u, two.size());
    EXPECT_STREQ("A", two[0].title);
    EXPECT_EQ(10, two[0].width);
    EXPECT_STREQ("B", two[1].title);
    EXPECT_EQ(20, two[1].width);
    EXPECT_EQ(2u, ParseSortHeadings("A,10;B,20;").size());
    EXPECT_EQ(2u, ParseSortHeadings("A,10;B,20;tail").size());
    EXPECT_EQ(0u, ParseSortHeadings("").size());
    auto log = ParseSortHeadings("Date,166;Event,90;Description,90;Action,90;User,90;Computer,90");
    ASSERT_EQ(6u, log.size());
    EXPECT_STREQ("Computer", log[5].title);
    EXPECT_EQ(166, log[0].width);
}

TEST(SortCompare, ShownColumnGoesToItsPlaceAmongTheVisible)
{
    // Columns 0..3; 1 and 3 hidden sit at the back (3 then 1 reversed).
    std::vector<int> order = {0, 2, 3, 1};
    // Showing 1: three visible, target min(2, 1) = 1.
    std::vector<bool> visible = {true, true, true, false};
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), ReorderForVisibility(order, visible, 1, true));
    // Showing 3 from {0,2 visible}: target min(2, 3) = 2.
    visible = {true, false, true, true};
    EXPECT_EQ((std::vector<int>{0, 2, 3, 1}), ReorderForVisibility(order, visible, 3, true));
    // Hiding 0 of 0,1,2,3: the hidden go to the back in reverse encounter order.
    visible = {false, true, false, true};
    EXPECT_EQ((std::vector<int>{1, 3, 2, 0}), ReorderForVisibility({0, 1, 2, 3}, visible, 0, false));
}

}  // namespace
