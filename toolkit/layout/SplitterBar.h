#pragma once
// CSplitterBar: a splitter line without a window of its own. Its owner
// tells it where the line, its left and right limits and the drag area are
// (client co-ordinates of the owner's view), asks whether the cursor is on
// the line, and lets it run a modal drag in which the line follows the mouse
// horizontally as an inverted dashed line until the left button is released.
#include <windows.h>

#include "framework/Wnd.h"
#include "toolkit/layout/SplitterGeometry.h"

class CSplitterBar {
public:
    CSplitterBar();

    void SetLine(POINT start, POINT end);
    void GetLine(POINT& start, POINT& end) const;
    void SetMinLine(POINT start, POINT end);
    void SetMaxLine(POINT start, POINT end);
    void SetClipRect(const RECT& rect);

    // 1 when the point lies on the line, else 0.
    int HitTest(int x, int y) const;
    // On the line (client area only): the west-east cursor, TRUE.
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest);
    // Runs a drag when (x, y), in the view's client co-ordinates, is on the
    // line. TRUE when the drag completed; FALSE when there was none or it was
    // cancelled (Escape, right button), which puts the line back.
    BOOL OnLButtonDown(CWnd* pCaptureWnd, CWnd* pView, int x, int y);

protected:
    BOOL TrackDrag(CWnd* pCaptureWnd, CWnd* pView, int x, int y, int hit);
    void DrawLine(HDC hdc, const SplitLine& line) const;

    SplitLine m_line;
    SplitLine m_savedLine;
    SplitLine m_minLine;
    SplitLine m_maxLine;
    int m_nPenWidth = 1;
    int m_nHitHalfWidth = 10;
    COLORREF m_crColor = RGB(255, 255, 255);
    RECT m_rcClip{};
};

// Moves several child windows in one deferred batch.
class CDeferWindowPos {
public:
    explicit CDeferWindowPos(int nWindows = 0) { Begin(nWindows); }
    ~CDeferWindowPos() = default;
    CDeferWindowPos(const CDeferWindowPos&) = delete;
    CDeferWindowPos& operator=(const CDeferWindowPos&) = delete;

    BOOL Begin(int nWindows);
    // After a failed step every later one does nothing and returns FALSE.
    BOOL Move(CWnd* pWnd, int x, int y, int cx, int cy, BOOL bRedraw = TRUE);
    BOOL Move(HWND hWnd, int x, int y, int cx, int cy, BOOL bRedraw = TRUE);
    BOOL End();

private:
    HDWP m_hdwp = nullptr;
};
