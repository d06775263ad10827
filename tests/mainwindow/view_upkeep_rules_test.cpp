// The view's upkeep rules: mode commands, heading colour, splitter limits
// and the panel's Tab order.
#include <gtest/gtest.h>

#include "mainwindow/models/ViewState.h"
#include "mainwindow/upkeep/ViewUpkeepRules.h"

namespace {

TEST(ViewUpkeep, ModeCommandsDisableTheCurrentMode)
{
    const struct {
        ModeCommand command;
        bool inList, inTree, inPanel;
    } cases[] = {
        {kModeCommandList, false, true, true},
        {kModeCommandTree, true, false, true},
        {kModeCommandPanel, true, true, false},
        {kModeCommandSelectAll, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(c.inList, IsModeCommandEnabled(c.command, kViewModeList));
        EXPECT_EQ(c.inTree, IsModeCommandEnabled(c.command, kViewModeTree));
        EXPECT_EQ(c.inPanel, IsModeCommandEnabled(c.command, kViewModePanel));
    }
}

TEST(ViewUpkeep, HeadingColourIsTheRowColourDarkened)
{
    EXPECT_EQ(0xEBEBEBu, HeadingColourOf(0xFFFFFF));
    EXPECT_EQ(0x000000u, HeadingColourOf(0x000000));
    // Components below 20 become 0; each component on its own.
    EXPECT_EQ(0x6C0000u, HeadingColourOf(0x801314));
    EXPECT_EQ(0x000001u, HeadingColourOf(0x131415));
}

TEST(ViewUpkeep, DetailsSplitterLimitsByMode)
{
    const ViewRect client{0, 0, 1000, 600};
    const ViewRect details{700, 0, 1000, 571};
    const SplitterLimits list = DetailsSplitterLimits(client, details, nullptr);
    EXPECT_EQ((SplitterLimits::Line{708, 0, 570}), list.line);
    EXPECT_EQ((SplitterLimits::Line{750, 0, 570}), list.maxLine);
    EXPECT_EQ((SplitterLimits::Line{250, 0, 570}), list.minLine);
    EXPECT_EQ((ViewRect{0, 0, 1000, 571}), list.clip);

    const ViewRect panelRecords{400, 10, 690, 560};
    const SplitterLimits panel = DetailsSplitterLimits(client, details, &panelRecords);
    EXPECT_EQ((SplitterLimits::Line{580, 10, 559}), panel.minLine);
    EXPECT_EQ(list.maxLine, panel.maxLine);
    EXPECT_EQ(list.line, panel.line);
}

TEST(ViewUpkeep, PanelSplitterLimits)
{
    const SplitterLimits s = PanelSplitterLimits({0, 0, 1000, 600}, {400, 10, 690, 560});
    EXPECT_EQ((SplitterLimits::Line{396, 10, 560}), s.line);
    EXPECT_EQ((SplitterLimits::Line{510, 10, 560}), s.maxLine);
    EXPECT_EQ((SplitterLimits::Line{180, 0, 571}), s.minLine);
    EXPECT_EQ((ViewRect{0, 0, 1000, 571}), s.clip);
}

TEST(ViewUpkeep, TabCyclesThePanelPanes)
{
    const struct {
        PanelPane from, tab, shiftTab;
    } cases[] = {
        {kPaneTypes, kPaneRecords, kPaneSmartLists},
        {kPaneRecords, kPaneSmartLists, kPaneTypes},
        {kPaneSmartLists, kPaneTypes, kPaneRecords},
        {kPaneNone, kPaneTypes, kPaneTypes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(c.tab, NextPanelPane(c.from, true));
        EXPECT_EQ(c.shiftTab, NextPanelPane(c.from, false));
    }
}

}  // namespace
