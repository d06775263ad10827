#include "mainwindow/models/ViewGeometry.h"

ViewRect ViewGeometry::DisplayArea() const
{
    return {client.left + 5, client.top, showingDetails ? client.right - detailsWidth : client.right - 5,
            client.bottom - 30};
}

ViewRect ViewGeometry::DetailsArea() const
{
    return {client.right - detailsWidth, client.top, client.right, client.bottom - 29};
}

ViewRect ViewGeometry::DetailsPane() const
{
    ViewRect r = DetailsArea();
    r.left += kSplitterStripWidth;
    return r;
}

ViewRect ViewGeometry::BottomSlot(int slot) const
{
    const int left = client.left + 5 + kToolSlotPitch * (slot - 1);
    return {left, client.bottom - 24, left + 28, client.bottom};
}

ViewRect ViewGeometry::DetailsSlot(int slot) const
{
    // The slots follow the details area's left edge even while it is hidden.
    const int left = DetailsArea().left + kSplitterStripWidth + kToolSlotPitch * (slot - 1);
    return {left, client.bottom - 24, left + 28, client.bottom};
}

ViewRect ViewGeometry::PanelLeftColumn() const
{
    ViewRect r = DisplayArea();
    r.right = r.right / 2;
    return r;
}

ViewRect ViewGeometry::PanelRightColumn() const
{
    ViewRect r = DisplayArea();
    r.left = r.right / 2 + kSplitterStripWidth;
    return r;
}

ViewRect ViewGeometry::PanelStripSlot(int slot, int descriptionsLeft) const
{
    const int left = descriptionsLeft + kToolSlotPitch * (slot - 1);
    return {left, client.bottom - 24, left + 28, client.bottom};
}

bool ViewGeometry::InDetailsSplitter(int x) const
{
    const int left = DetailsArea().left;
    return x > left && x < left + kSplitterStripWidth;
}

int SmartListTop(int columnBottom, int rowHeight, int rowCount, bool expanded)
{
    return expanded ? columnBottom - (rowCount + 1) * rowHeight : columnBottom - rowHeight;
}

bool InPanelSplitter(int x, int descriptionsLeft)
{
    return x > descriptionsLeft - kSplitterStripWidth && x < descriptionsLeft;
}
