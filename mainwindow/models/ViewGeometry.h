#pragma once
// The main view's geometry, computed on demand from its client rectangle, the
// details pane's width and whether the details are shown: a display area at
// the left (record list, tree or panel lists), a details area at the right
// and a 24-pixel strip of tool buttons along the bottom. Plain rectangles in
// the view's client co-ordinates; nothing is stored.

// A rectangle of pixels, right and bottom exclusive.
struct ViewRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const ViewRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct ViewGeometry {
    ViewRect client;
    int detailsWidth = 250;
    bool showingDetails = true;

    // Right of the details pane, where the splitter line sits.
    ViewRect DisplayArea() const;
    ViewRect DetailsArea() const;
    // The details pane's window: the details area less the splitter strip.
    ViewRect DetailsPane() const;
    // Buttons of the bottom strip (slot 1 to 3) and below the details area
    // (slot 1 on), 28 x 24 pixels, 29 apart.
    ViewRect BottomSlot(int slot) const;
    ViewRect DetailsSlot(int slot) const;
    // The panel's two columns: types and smart lists at the left, the record
    // descriptions at the right, 11 pixels of splitter between them.
    ViewRect PanelLeftColumn() const;
    ViewRect PanelRightColumn() const;
    // In panel mode the strip's buttons sit under the record descriptions:
    // slot 1 at the description list's left edge.
    ViewRect PanelStripSlot(int slot, int descriptionsLeft) const;
    // Whether x lies in the 11-pixel strip left of the details pane.
    bool InDetailsSplitter(int x) const;
};

constexpr int kSplitterStripWidth = 11;
constexpr int kToolSlotPitch = 29;

// Where the panel's smart-list list begins: all its rows and the header row
// when expanded, one row otherwise.
int SmartListTop(int columnBottom, int rowHeight, int rowCount, bool expanded);
// Whether x lies in the strip left of the panel's description list.
bool InPanelSplitter(int x, int descriptionsLeft);
