#pragma once
// The splitter line's arithmetic: whether a point lies on the line, and
// where a dragged line goes within its left and right limits.
struct SplitPoint {
    int x = 0;
    int y = 0;
    bool operator==(const SplitPoint& o) const { return x == o.x && y == o.y; }
};

struct SplitLine {
    SplitPoint start;
    SplitPoint end;
    bool operator==(const SplitLine& o) const { return start == o.start && end == o.end; }
    SplitLine Offset(int dx, int dy) const { return {{start.x + dx, start.y + dy}, {end.x + dx, end.y + dy}}; }
};

struct SplitRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// 1 when (x, y) lies within halfWidth of the line between its ends (a line
// of length 0 is never hit), else 0.
int SplitterHitTest(const SplitLine& line, int halfWidth, int x, int y);

// Where a drag step leaves the line. candidate is the starting line moved by
// the mouse. Within the limits (by start x) it becomes the line and is drawn;
// beyond them the line stays where it was, and the limit line is what a
// release there keeps.
struct SplitterStep {
    SplitLine kept;   // the line after this step
    SplitLine final;  // what a release at this point keeps
    bool draw = false;
};
SplitterStep SplitterDragStep(const SplitLine& present, const SplitLine& candidate, const SplitLine& minLine,
                              const SplitLine& maxLine);

// The area the cursor may move in during a drag: the stored area kept so
// that both ends of the moved line stay inside it (empty stored area: the
// whole client). Empty result: no drag.
SplitRect SplitterDragArea(const SplitRect& stored, const SplitRect& client, const SplitLine& line, int clickX,
                           int clickY);
