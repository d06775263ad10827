#include "toolkit/layout/SplitterBar.h"

#include <algorithm>

namespace {
SplitPoint ToSplit(POINT p) { return {p.x, p.y}; }
POINT ToPoint(SplitPoint p) { return {p.x, p.y}; }
}  // namespace

CSplitterBar::CSplitterBar() = default;

void CSplitterBar::SetLine(POINT start, POINT end)
{
    m_line = {ToSplit(start), ToSplit(end)};
    m_savedLine = m_line;
}

void CSplitterBar::GetLine(POINT& start, POINT& end) const
{
    start = ToPoint(m_line.start);
    end = ToPoint(m_line.end);
}

void CSplitterBar::SetMinLine(POINT start, POINT end) { m_minLine = {ToSplit(start), ToSplit(end)}; }
void CSplitterBar::SetMaxLine(POINT start, POINT end) { m_maxLine = {ToSplit(start), ToSplit(end)}; }

void CSplitterBar::SetClipRect(const RECT& rect)
{
    m_rcClip = {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
                std::max(rect.top, rect.bottom)};
}

int CSplitterBar::HitTest(int x, int y) const { return SplitterHitTest(m_line, m_nHitHalfWidth, x, y); }

BOOL CSplitterBar::OnSetCursor(CWnd* pWnd, UINT nHitTest)
{
    if (nHitTest != HTCLIENT || !pWnd) return FALSE;
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(pWnd->GetSafeHwnd(), &pt);
    if (!HitTest(pt.x, pt.y)) return FALSE;
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
    return TRUE;
}

BOOL CSplitterBar::OnLButtonDown(CWnd* pCaptureWnd, CWnd* pView, int x, int y)
{
    return TrackDrag(pCaptureWnd, pView, x, y, HitTest(x, y));
}

void CSplitterBar::DrawLine(HDC hdc, const SplitLine& line) const
{
    ::MoveToEx(hdc, line.start.x, line.start.y, nullptr);
    ::LineTo(hdc, line.end.x, line.end.y);
}

BOOL CSplitterBar::TrackDrag(CWnd* pCaptureWnd, CWnd* pView, int x, int y, int hit)
{
    if (hit != 1 || !pCaptureWnd || !pView) return FALSE;
    HWND capture = pCaptureWnd->GetSafeHwnd();
    HWND view = pView->GetSafeHwnd();
    RECT client{};
    ::GetClientRect(capture, &client);
    const SplitRect area = SplitterDragArea({m_rcClip.left, m_rcClip.top, m_rcClip.right, m_rcClip.bottom},
                                            {client.left, client.top, client.right, client.bottom}, m_line, x, y);
    if (area.IsEmpty()) return FALSE;
    // The stored area and the line are the view's; an empty stored area
    // stands for the capture window's client, which is the capture window's.
    RECT confine{area.left, area.top, area.right, area.bottom};
    const bool storedArea = !(m_rcClip.right <= m_rcClip.left || m_rcClip.bottom <= m_rcClip.top);
    ::MapWindowPoints(storedArea ? view : capture, nullptr, reinterpret_cast<POINT*>(&confine), 2);
    ::ClipCursor(&confine);
    ::SetCapture(capture);

    // From here on everything is in the capture window's client
    // co-ordinates, where the mouse messages arrive: map by the windows' real
    // positions, whatever lies between them (tool bar, borders).
    POINT offset{0, 0};
    ::MapWindowPoints(view, capture, &offset, 1);
    const SplitLine starting = m_line;
    SplitLine present = m_line.Offset(offset.x, offset.y);
    const SplitLine minLine = m_minLine.Offset(offset.x, offset.y);
    const SplitLine maxLine = m_maxLine.Offset(offset.x, offset.y);
    const SplitLine origin = present;
    const int clickX = x + offset.x;
    const int clickY = y + offset.y;

    HDC hdc = ::GetDC(capture);
    HPEN pen = ::CreatePen(PS_DASH, m_nPenWidth, RGB(255, 255, 255));
    HGDIOBJ oldPen = ::SelectObject(hdc, pen);
    const int oldRop = ::SetROP2(hdc, R2_XORPEN);
    DrawLine(hdc, present);

    bool cancelled = false, released = false;
    SplitLine last = present;
    MSG msg;
    while (::GetCapture() == capture && ::GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            const int mx = (short)LOWORD(msg.lParam), my = (short)HIWORD(msg.lParam);
            POINT mouse{mx, my};
            if (msg.hwnd != capture) ::MapWindowPoints(msg.hwnd, capture, &mouse, 1);
            const SplitLine candidate = origin.Offset(mouse.x - clickX, mouse.y - clickY);
            const SplitterStep step = SplitterDragStep(present, candidate, minLine, maxLine);
            if (step.draw) {
                DrawLine(hdc, step.kept);
                DrawLine(hdc, present);
            }
            present = step.kept;
            last = step.final;
            if (msg.message == WM_LBUTTONUP) {
                released = true;
                break;
            }
        } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) {
            cancelled = true;
            break;
        } else if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) {
            // Other keys are swallowed while dragging.
        } else {
            ::DispatchMessageA(&msg);
        }
    }

    ::SetROP2(hdc, oldRop);
    ::SelectObject(hdc, oldPen);
    ::DeleteObject(pen);
    ::ReleaseDC(capture, hdc);
    ::ClipCursor(nullptr);
    if (::GetCapture() == capture) ::ReleaseCapture();

    if (cancelled) {
        m_line = starting;
        return FALSE;
    }
    // Released, or the capture was lost: the last x values back in the
    // view's co-ordinates, with the y values the line had when it was set.
    (void)released;
    m_line.start = {last.start.x - offset.x, m_savedLine.start.y};
    m_line.end = {last.end.x - offset.x, m_savedLine.end.y};
    return TRUE;
}

BOOL CDeferWindowPos::Begin(int nWindows)
{
    m_hdwp = ::BeginDeferWindowPos(std::max(nWindows, 1));
    return m_hdwp != nullptr;
}

BOOL CDeferWindowPos::Move(CWnd* pWnd, int x, int y, int cx, int cy, BOOL bRedraw)
{
    return Move(pWnd ? pWnd->GetSafeHwnd() : nullptr, x, y, cx, cy, bRedraw);
}

BOOL CDeferWindowPos::Move(HWND hWnd, int x, int y, int cx, int cy, BOOL bRedraw)
{
    if (!m_hdwp) return FALSE;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (!bRedraw) flags |= SWP_NOREDRAW;
    m_hdwp = ::DeferWindowPos(m_hdwp, hWnd, nullptr, x, y, cx, cy, flags);
    return m_hdwp != nullptr;
}

BOOL CDeferWindowPos::End()
{
    if (!m_hdwp) return FALSE;
    HDWP hdwp = m_hdwp;
    m_hdwp = nullptr;
    return ::EndDeferWindowPos(hdwp);
}
