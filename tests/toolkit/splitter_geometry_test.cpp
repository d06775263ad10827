// The splitter line's hit test, drag limits and drag area.
#include <gtest/gtest.h>

#include "toolkit/layout/SplitterGeometry.h"

namespace {

TEST(SplitterGeometry, VerticalLineIsHitFromTenLeftToNineRight)
{
    const SplitLine line{{100, 10}, {100, 200}};
    struct Case {
        int x, y, hit;
    } cases[] = {
        {100, 50, 1}, {90, 50, 1},   {109, 50, 1}, {110, 50, 0},  {89, 50, 0},
        {100, 10, 1}, {100, 200, 0}, {100, 9, 0},  {100, 199, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.hit, SplitterHitTest(line, 10, c.x, c.y)) << c.x << "," << c.y;
    EXPECT_EQ(0, SplitterHitTest({{5, 5}, {5, 5}}, 10, 5, 5));  // a line of length 0
}

TEST(SplitterGeometry, DragStaysWithinTheLimits)
{
    const SplitLine present{{100, 0}, {100, 300}};
    const SplitLine minLine{{50, 0}, {50, 300}};
    const SplitLine maxLine{{200, 0}, {200, 300}};
    SplitterStep inside = SplitterDragStep(present, present.Offset(30, 0), minLine, maxLine);
    EXPECT_TRUE(inside.draw);
    EXPECT_EQ(130, inside.kept.start.x);
    EXPECT_EQ(130, inside.final.start.x);
    SplitterStep beyond = SplitterDragStep(present, present.Offset(150, 0), minLine, maxLine);
    EXPECT_FALSE(beyond.draw);
    EXPECT_EQ(100, beyond.kept.start.x);
    EXPECT_EQ(200, beyond.final.start.x);
    SplitterStep below = SplitterDragStep(present, present.Offset(-60, 0), minLine, maxLine);
    EXPECT_FALSE(below.draw);
    EXPECT_EQ(50, below.final.start.x);
    SplitterStep same = SplitterDragStep(present, present, minLine, maxLine);
    EXPECT_FALSE(same.draw);
    // On a limit exactly is inside.
    EXPECT_TRUE(SplitterDragStep(present, present.Offset(100, 0), minLine, maxLine).draw);
}

TEST(SplitterGeometry, DragAreaKeepsBothEndsInside)
{
    const SplitRect client{0, 0, 800, 600};
    const SplitLine line{{100, 50}, {100, 250}};
    // No stored area: the whole client.
    SplitRect whole = SplitterDragArea({}, client, line, 100, 100);
    EXPECT_EQ(800, whole.right);
    // Click 50 below the start: the cursor may go from y 50 (start at the
    // top) to 150 (end at the bottom) of the stored 0..300.
    SplitRect area = SplitterDragArea({0, 0, 400, 300}, client, line, 100, 100);
    EXPECT_EQ(0, area.left);
    EXPECT_EQ(400, area.right);
    EXPECT_EQ(50, area.top);
    EXPECT_EQ(150, area.bottom);
    // A line longer than the stored area: no drag.
    EXPECT_TRUE(SplitterDragArea({0, 0, 400, 100}, client, line, 100, 100).IsEmpty());
}

}  // namespace
