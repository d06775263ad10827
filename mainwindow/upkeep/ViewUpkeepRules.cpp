#include "mainwindow/upkeep/ViewUpkeepRules.h"

#include "mainwindow/models/ViewState.h"

namespace {

// Neither bar comes closer than this to the view's edges, nor the details
// splitter closer to the panel record list's left edge than the panel's.
constexpr int kDetailsMargin = 250;
constexpr int kPanelMargin = 180;
constexpr int kButtonStrip = 29;

}  // namespace

bool IsModeCommandEnabled(ModeCommand command, int viewMode)
{
    switch (command) {
    case kModeCommandList: return viewMode != kViewModeList;
    case kModeCommandTree: return viewMode != kViewModeTree;
    case kModeCommandPanel: return viewMode != kViewModePanel;
    case kModeCommandSelectAll: return viewMode == kViewModeList;
    }
    return true;
}

uint32_t HeadingColourOf(uint32_t rowColour)
{
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t c = (rowColour >> shift) & 0xFF;
        result |= (c < 20 ? 0 : c - 20) << shift;
    }
    return result;
}

SplitterLimits DetailsSplitterLimits(const ViewRect& client, const ViewRect& details, const ViewRect* panelRecords)
{
    SplitterLimits s;
    s.clip = {client.left, client.top, client.right, client.bottom - kButtonStrip};
    s.line = {details.left + 8, details.top, details.bottom - 1};
    s.maxLine = {details.right - kDetailsMargin, details.top, details.bottom - 1};
    if (panelRecords)
        s.minLine = {panelRecords->left + kPanelMargin, panelRecords->top, panelRecords->bottom - 1};
    else
        s.minLine = {client.left + kDetailsMargin, client.top, client.bottom - kButtonStrip - 1};
    return s;
}

SplitterLimits PanelSplitterLimits(const ViewRect& client, const ViewRect& panelRecords)
{
    SplitterLimits s;
    s.clip = {client.left, client.top, client.right, client.bottom - kButtonStrip};
    s.line = {panelRecords.left - 4, panelRecords.top, panelRecords.bottom};
    s.maxLine = {panelRecords.right - kPanelMargin, panelRecords.top, panelRecords.bottom};
    s.minLine = {client.left + kPanelMargin, client.top, client.bottom - kButtonStrip};
    return s;
}

PanelPane NextPanelPane(PanelPane from, bool forward)
{
    if (from == kPaneNone) from = forward ? kPaneSmartLists : kPaneRecords;
    switch (from) {
    case kPaneTypes: return forward ? kPaneRecords : kPaneSmartLists;
    case kPaneRecords: return forward ? kPaneSmartLists : kPaneTypes;
    default: return forward ? kPaneTypes : kPaneRecords;
    }
}
