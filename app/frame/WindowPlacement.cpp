#include "app/frame/WindowPlacement.h"

#include <cstdio>
#include <cstdlib>
#include <string>

CString FormatWindowPos(const PlacementRect& rect, bool maximized)
{
    CString text;
    text.Format("%04d %04d %04d %04d %04d", rect.left, rect.top, rect.right, rect.bottom, maximized ? 1 : 0);
    return text;
}

bool ParseWindowPos(const CString& text, SavedPlacement& placement)
{
    if (text.IsEmpty()) return false;
    const std::string all((LPCSTR)text);
    int values[5] = {0, 0, 0, 0, 0};
    size_t pos = 0;
    for (int i = 0; i < 5 && pos <= all.size(); ++i) {
        size_t end = i < 4 ? all.find(' ', pos) : std::string::npos;
        if (end == std::string::npos) end = all.size();
        values[i] = std::atoi(all.substr(pos, end - pos).c_str());
        pos = end + 1;
    }
    placement.rect.left = values[0];
    placement.rect.top = values[1];
    placement.rect.right = values[2];
    placement.rect.bottom = values[3];
    placement.maximized = values[4];
    return true;
}

PlacementRect NormalizePlacementRect(const PlacementRect& rect)
{
    PlacementRect r = rect;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

namespace {

// One axis of FitIntoWorkArea. Wide sums are kept in long long so that
// absurd stored numbers cannot overflow.
void FitAxis(int& low, int& high, int workLow, int workHigh)
{
    long long lo = low, hi = high;
    if (lo < workLow) {
        hi += workLow - lo;
        lo = workLow;
    }
    if (hi > workHigh) {
        lo -= hi - workHigh;
        hi = workHigh;
    }
    if (lo < workLow) lo = workLow;
    low = (int)lo;
    high = (int)hi;
}

}  // namespace

PlacementRect FitIntoWorkArea(const PlacementRect& rect, const PlacementRect& workArea)
{
    PlacementRect r = rect;
    FitAxis(r.left, r.right, workArea.left, workArea.right);
    FitAxis(r.top, r.bottom, workArea.top, workArea.bottom);
    return r;
}

PlacementRect ShiftPlacement(const PlacementRect& rect, int offset)
{
    PlacementRect r = rect;
    r.left += offset;
    r.top += offset;
    r.right += offset;
    r.bottom += offset;
    return r;
}
