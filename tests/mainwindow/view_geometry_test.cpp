// The main view's geometry: display and details areas, the button slots, the
// panel's columns and smart-list list, and the splitter strips.
#include <gtest/gtest.h>

#include "mainwindow/models/ViewGeometry.h"

namespace {

ViewGeometry Geometry(int width, int height, int detailsWidth, bool showing)
{
    ViewGeometry g;
    g.client = {0, 0, width, height};
    g.detailsWidth = detailsWidth;
    g.showingDetails = showing;
    return g;
}

TEST(ViewGeometry, AreasWithTheDetailsShownAndHidden)
{
    const ViewGeometry shown = Geometry(800, 600, 250, true);
    EXPECT_EQ((ViewRect{5, 0, 550, 570}), shown.DisplayArea());
    EXPECT_EQ((ViewRect{550, 0, 800, 571}), shown.DetailsArea());
    EXPECT_EQ((ViewRect{561, 0, 800, 571}), shown.DetailsPane());

    // Hidden: the display reaches R.right - 5 and the details slots still
    // follow the hidden area's left edge.
    const ViewGeometry hidden = Geometry(800, 600, 250, false);
    EXPECT_EQ((ViewRect{5, 0, 795, 570}), hidden.DisplayArea());
    EXPECT_EQ((ViewRect{561, 576, 589, 600}), hidden.DetailsSlot(1));
}

TEST(ViewGeometry, AViewNarrowerThanTheDetailsPaneGivesANegativeDisplayWidth)
{
    const ViewGeometry g = Geometry(200, 300, 250, true);
    EXPECT_LT(g.DisplayArea().Width(), 0);
    EXPECT_EQ(-50, g.DetailsArea().left);
}

TEST(ViewGeometry, ButtonSlotsAre28By24And29Apart)
{
    const ViewGeometry g = Geometry(800, 600, 250, true);
    const struct {
        int slot;
        ViewRect bottom;
        ViewRect details;
    } cases[] = {
        {1, {5, 576, 33, 600}, {561, 576, 589, 600}},
        {2, {34, 576, 62, 600}, {590, 576, 618, 600}},
        {3, {63, 576, 91, 600}, {619, 576, 647, 600}},
        {7, {179, 576, 207, 600}, {735, 576, 763, 600}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bottom, g.BottomSlot(c.slot)) << c.slot;
        EXPECT_EQ(c.details, g.DetailsSlot(c.slot)) << c.slot;
    }
    EXPECT_EQ((ViewRect{429, 576, 457, 600}), g.PanelStripSlot(2, 400));
}

TEST(ViewGeometry, PanelColumnsSplitTheDisplayAtHalfItsRightEdge)
{
    const ViewGeometry g = Geometry(800, 600, 250, true);
    EXPECT_EQ((ViewRect{5, 0, 275, 570}), g.PanelLeftColumn());
    EXPECT_EQ((ViewRect{286, 0, 550, 570}), g.PanelRightColumn());
}

TEST(ViewGeometry, SmartListHeightFollowsItsRowsWhenExpanded)
{
    // Three rows of 18 and the header: 72 pixels; collapsed one row.
    EXPECT_EQ(570 - 72, SmartListTop(570, 18, 3, true));
    EXPECT_EQ(570 - 18, SmartListTop(570, 18, 3, false));
}

TEST(ViewGeometry, SplitterStripsExcludeTheirEdges)
{
    const ViewGeometry g = Geometry(800, 600, 250, true);
    EXPECT_FALSE(g.InDetailsSplitter(550));
    EXPECT_TRUE(g.InDetailsSplitter(551));
    EXPECT_TRUE(g.InDetailsSplitter(560));
    EXPECT_FALSE(g.InDetailsSplitter(561));
    EXPECT_FALSE(InPanelSplitter(389, 400));
    EXPECT_TRUE(InPanelSplitter(390, 400));
    EXPECT_FALSE(InPanelSplitter(400, 400));
}

}  // namespace
