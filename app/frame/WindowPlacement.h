#pragma once
// The main window's saved placement, "Winpos": left, top, right and bottom of
// the restored rectangle and the maximised flag, each as "%04d", separated by
// single blanks ("0100 0100 0900 0700 0001"). Portable: the windows part
// (work area, placement record) lives with the application object.
#include "framework/CString.h"

struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct SavedPlacement {
    PlacementRect rect;
    int maximized = 0;
};

// The text the main frame stores.
CString FormatWindowPos(const PlacementRect& rect, bool maximized);

// Reads five decimal numbers separated by single blanks, each with the
// run-time's decimal conversion (the last one is the rest of the text); a
// missing number reads as 0. False for an empty text: nothing to restore.
bool ParseWindowPos(const CString& text, SavedPlacement& placement);

// Swaps left/right and top/bottom when they are the wrong way round.
PlacementRect NormalizePlacementRect(const PlacementRect& rect);

// Moves a rectangle into the work area: shifted right when it starts left of
// it, then left when it ends right of it, then cut at the work area's left
// when still too wide; the same for top and bottom. A rectangle wholly inside
// is returned unchanged, and so is every rectangle after one pass. A
// rectangle that does not meet the work area at all is pulled in the same
// way, so the window never opens off the screen.
PlacementRect FitIntoWorkArea(const PlacementRect& rect, const PlacementRect& workArea);

// "/rl" moves the restored window 30 pixels right and down.
const int kShiftedPlacementOffset = 30;
PlacementRect ShiftPlacement(const PlacementRect& rect, int offset);
