#pragma once
// Rules of the main view's upkeep that need no window: which mode commands
// are enabled, the details heading's colour, where the two splitter bars may
// go, and where Tab and Shift+Tab move the focus in panel mode.
#include <cstdint>

#include "mainwindow/models/ViewGeometry.h"

// The mode commands: "List View", "Tree View", "Panel View", "Select All".
enum ModeCommand { kModeCommandList, kModeCommandTree, kModeCommandPanel, kModeCommandSelectAll };
// A mode's own command is disabled; "Select All" only works in list mode.
bool IsModeCommandEnabled(ModeCommand command, int viewMode);

// The row colour (0x00BBGGRR) with each component lowered by 20, not below 0.
uint32_t HeadingColourOf(uint32_t rowColour);

// A splitter bar's line, its left and right limits (vertical lines, their
// x and span) and the rectangle the drag is drawn in; client co-ordinates.
struct SplitterLimits {
    struct Line {
        int x = 0;
        int top = 0;
        int bottom = 0;
        bool operator==(const Line& o) const { return x == o.x && top == o.top && bottom == o.bottom; }
    };
    Line line;
    Line minLine;
    Line maxLine;
    ViewRect clip;
};

// The splitter left of the details pane. panelRecords: the panel record
// list's rectangle in panel mode, null otherwise.
SplitterLimits DetailsSplitterLimits(const ViewRect& client, const ViewRect& details, const ViewRect* panelRecords);
// The splitter left of the panel record list.
SplitterLimits PanelSplitterLimits(const ViewRect& client, const ViewRect& panelRecords);

// The panes Tab moves between in panel mode.
enum PanelPane { kPaneNone, kPaneTypes, kPaneRecords, kPaneSmartLists };
// Tab: types, records, smart lists, round again; Shift+Tab the other way.
// From none of them Tab acts as from the smart lists and Shift+Tab as from
// the records.
PanelPane NextPanelPane(PanelPane from, bool forward);
