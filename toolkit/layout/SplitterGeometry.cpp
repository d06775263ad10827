#include "toolkit/layout/SplitterGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

SplitRect Normalized(const SplitRect& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

bool Contains(const SplitRect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

SplitRect Intersect(const SplitRect& a, const SplitRect& b)
{
    SplitRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    if (r.IsEmpty()) return {};
    return r;
}

SplitRect Moved(const SplitRect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace

int SplitterHitTest(const SplitLine& line, int halfWidth, int x, int y)
{
    const SplitRect span = Normalized({line.start.x, line.start.y, line.end.x, line.end.y});
    const SplitRect wide{span.left - halfWidth, span.top, span.right + halfWidth, span.bottom};
    const SplitRect tall{span.left, span.top - halfWidth, span.right, span.bottom + halfWidth};
    if (!Contains(wide, x, y) && !Contains(tall, x, y)) return 0;
    const double dx = line.end.x - line.start.x;
    const double dy = line.end.y - line.start.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0.0) return 0;
    const double px = x - line.start.x;
    const double py = y - line.start.y;
    const double along = (px * dx + py * dy) / length;
    const double across = (-px * dy + py * dx) / length;
    return along >= 0 && along <= length && across >= -halfWidth && across <= halfWidth ? 1 : 0;
}

SplitterStep SplitterDragStep(const SplitLine& present, const SplitLine& candidate, const SplitLine& minLine,
                              const SplitLine& maxLine)
{
    SplitterStep step;
    step.kept = present;
    step.final = candidate;
    if (candidate == present) return step;
    if (candidate.start.x > maxLine.start.x) {
        step.final = maxLine;
    } else if (candidate.start.x < minLine.start.x) {
        step.final = minLine;
    } else {
        step.kept = candidate;
        step.draw = true;
    }
    return step;
}

SplitRect SplitterDragArea(const SplitRect& stored, const SplitRect& client, const SplitLine& line, int clickX,
                           int clickY)
{
    const SplitRect area = Normalized(stored);
    if (area.IsEmpty()) return client;
    const SplitRect byStart = Normalized(Moved(area, clickX - line.start.x, clickY - line.start.y));
    const SplitRect byEnd = Normalized(Moved(area, clickX - line.end.x, clickY - line.end.y));
    return Intersect(Intersect(area, byStart), byEnd);
}
