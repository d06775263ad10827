#pragma once
// CDetailsPainter: draws the selected record into the details pane: a
// heading band with its icon and field 1, then the category, the non-empty
// fields 2 to 10 under their labels, the attachment with its size and the
// notes, word-wrapped. Addresses are drawn as links; each drawing rebuilds
// the list of their hot spots, which the pane asks for under the mouse.
// Windows build only.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/CString.h"

class CDatabaseObj;
class CRecord;

struct DetailsStyle {
    COLORREF rowColour = RGB(255, 255, 255);
    HFONT listFont = nullptr;
    HFONT boldFont = nullptr;
    HFONT linkFont = nullptr;
    HFONT boldLinkFont = nullptr;
    int headingHeight = 24;
};

struct LinkHotSpot {
    RECT rect;
    CString address;
};

class CDetailsPainter {
public:
    // Draws an icon into the rectangle; false when it has none to draw.
    using IconDrawer = std::function<bool(HDC, const RECT&, int)>;

    // rect: the pane's client rectangle in document coordinates; scrollY the
    // pane's scroll position (hot spots are kept in client coordinates).
    void Draw(HDC dc, const RECT& rect, const CRecord* record, const CDatabaseObj& database, bool reveal,
              const CString& attachmentsFolder, int scrollY, const DetailsStyle& style, const IconDrawer& drawIcon);

    const std::vector<LinkHotSpot>& HotSpots() const { return m_hotSpots; }
    // The address of the link under the point (client coordinates), when it
    // is one that may be opened; null otherwise.
    const CString* LinkAt(POINT point) const;
    // The bottom of the last text drawn: how far the pane scrolls.
    int Extent() const { return m_extent; }
    int LineHeight() const { return m_lineHeight; }

private:
    void DrawHeading(HDC dc, RECT rect, const CRecord* record, bool reveal, const DetailsStyle& style,
                     const IconDrawer& drawIcon);
    void DrawNotes(HDC dc, const RECT& area, const CString& notes, const DetailsStyle& style);
    void AddHotSpot(HDC dc, const CString& text, const CString& address, int left, int top);

    std::vector<LinkHotSpot> m_hotSpots;
    int m_extent = 0;
    int m_lineHeight = 16;
    int m_scrollY = 0;
};
