#include "toolkit/editors/ACListWnd.h"

#include <algorithm>

#include "toolkit/ToolkitIds.h"
#include "toolkit/editors/EditWithButton.h"

IMPLEMENT_DYNAMIC(CACListWnd, CWnd)

namespace {

const UINT kRowTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

CACListWnd::~CACListWnd()
{
    m_words.RemoveAll();
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL CACListWnd::CreateFor(CEditWithButton* pEdit)
{
    if (m_hWnd) return TRUE;
    LPCSTR cls = RegisterWndClass(CS_CLASSDC | CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW, nullptr, (HBRUSH)(UINT_PTR)5);
    RECT box{};
    ::GetWindowRect(pEdit->GetSafeHwnd(), &box);
    return CreateEx(WS_EX_TOOLWINDOW, cls, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_THICKFRAME, box.left,
                    box.top + 20, 200, 180, ::GetDesktopWindow(), (HMENU)(UINT_PTR)ZV_IDC_AUTOCOMPLETE_LIST);
}

void CACListWnd::Attach(CEditWithButton* pEdit)
{
    m_pEdit = pEdit;
    if (!m_scroll.m_hWnd) {
        RECT rc{0, 0, ::GetSystemMetrics(SM_CXVSCROLL), 100};
        m_scroll.CreateEx(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT | SBS_LEFTALIGN, rc, this, 0);
    }
    PlaceScrollBar();
    m_scroll.SetScrollPos(0);
    UpdateScrollInfo();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    ::GetTextExtentPoint32A(dc, "Hg", 2, &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    // A font that measures nothing would leave rows of height 0 to divide by.
    m_nRowHeight = std::max(1, (int)size.cy);
}

void CACListWnd::PlaceScrollBar()
{
    if (!m_scroll.m_hWnd) return;
    RECT client{};
    GetClientRect(&client);
    const int width = ::GetSystemMetrics(SM_CYVSCROLL);
    m_scroll.MoveWindow(client.right - width, -1, width, client.bottom - ::GetSystemMetrics(SM_CYHSCROLL) + 1);
}

void CACListWnd::UpdateScrollInfo()
{
    const int shown = m_words.GetShownCount();
    if (shown == 0 || !m_hWnd) return;
    RECT window{};
    GetWindowRect(&window);
    m_nRowsPerPage = std::max(1, (int)(window.bottom - window.top) / std::max(1, m_nRowHeight));
    if (m_scroll.m_hWnd) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_PAGE | SIF_RANGE;
        info.nMin = 0;
        info.nMax = shown - 1;
        info.nPage = (UINT)m_nRowsPerPage;
        ::SetScrollInfo(m_scroll.m_hWnd, SB_CTL, &info, FALSE);
        m_scroll.ShowWindow(shown - 1 >= m_nRowsPerPage ? SW_SHOW : SW_HIDE);
    }
    if (m_words.GetFirstRow() + m_nRowsPerPage > shown) m_words.SetFirstRow(std::max(0, shown - m_nRowsPerPage));
}

void CACListWnd::ShowBelowBox()
{
    PlaceScrollBar();
    UpdateScrollInfo();
    RECT box{};
    if (m_pEdit) ::GetWindowRect(m_pEdit->GetSafeHwnd(), &box);
    const int rows = CAutoCompleteWords::VisibleRows(m_words.GetShownCount());
    int width = box.right - box.left;
    int height = rows * m_nRowHeight + 2 * ::GetSystemMetrics(SM_CYBORDER);
    if (!IsEmptyRect(m_rcLastSize)) {
        width = m_rcLastSize.right - m_rcLastSize.left;
        height = m_rcLastSize.bottom - m_rcLastSize.top;
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, box.left, box.bottom, width, height, SWP_NOACTIVATE);
    UpdateScrollInfo();
    ShowWindow(SW_SHOWNORMAL);
    Invalidate();
}

int CACListWnd::FilterAndShow(int, const CString& text, BOOL bShowAll)
{
    if (!bShowAll) {
        if (!m_pEdit || text.IsEmpty()) {
            Hide();
            return -1;
        }
        m_words.Filter(text, m_cPrefix);
    } else {
        m_words.ShowAll();
    }
    if (m_words.GetShownCount() == 0) {
        Hide();
        return 1;
    }
    ShowBelowBox();
    return 1;
}

void CACListWnd::ShowAllWords()
{
    if (m_words.GetWords().GetSize() == 0) return;
    FilterAndShow(0, CString(), TRUE);
}

void CACListWnd::Hide()
{
    if (m_hWnd && IsWindowVisible()) ShowWindow(SW_HIDE);
}

CString CACListWnd::StepSelection(UINT nKey)
{
    const CString word = m_words.StepSelection(nKey, m_nRowsPerPage);
    if (m_words.GetShownCount() > 0) ScrollToShow(m_words.GetSelection(), m_words.GetShownCount() <= 50);
    return word;
}

void CACListWnd::PumpPaint()
{
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
}

void CACListWnd::SetScrollPosition()
{
    if (m_scroll.m_hWnd) m_scroll.SetScrollPos(m_words.GetFirstRow());
}

BOOL CACListWnd::ScrollToShow(int nRow, BOOL bAnimate)
{
    const int target = m_words.FirstRowToShow(nRow, m_nRowsPerPage);
    if (target == m_words.GetFirstRow()) return FALSE;
    while (m_words.GetFirstRow() != target) {
        m_words.SetFirstRow(m_words.GetFirstRow() + (target > m_words.GetFirstRow() ? 1 : -1));
        if (bAnimate && m_hWnd) {
            SetScrollPosition();
            Invalidate();
            PumpPaint();
            ::Sleep(10);
            PumpPaint();
        }
    }
    SetScrollPosition();
    if (m_hWnd) {
        Invalidate();
        PumpPaint();
    }
    return TRUE;
}

int CACListWnd::RowAt(POINT pt) const
{
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int right = client.right;
    if (IsScrollBarVisible()) right -= ::GetSystemMetrics(SM_CXVSCROLL);
    if (pt.x < 2 || pt.x >= right || pt.y < 0) return -1;
    const int row = m_words.GetFirstRow() + pt.y / std::max(1, m_nRowHeight);
    return row < m_words.GetShownCount() ? row : -1;
}

void CACListWnd::DrawRow(HDC hdc, int nRow, int y, int width)
{
    RECT rc{0, y, width, y + m_nRowHeight};
    ::SetTextColor(hdc, ::GetSysColor(COLOR_WINDOWTEXT));
    if (nRow == m_words.GetSelection()) {
        ::FillRect(hdc, &rc, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        ::SetTextColor(hdc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    rc.left = 2;
    const CString& word = m_words.GetShown()[nRow];
    ::DrawTextA(hdc, word, word.GetLength(), &rc, kRowTextFormat);
}

void CACListWnd::DrawSizeGrip(HDC hdc, const RECT& client)
{
    const int cx = ::GetSystemMetrics(SM_CXHSCROLL);
    const int cy = ::GetSystemMetrics(SM_CYVSCROLL);
    const RECT corner{client.right - cx, client.bottom - cy, client.right, client.bottom};
    const int colours[] = {COLOR_WINDOW, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNSHADOW};
    for (int k = 0; k < 20; ++k) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(colours[k % 4]));
        HGDIOBJ old = ::SelectObject(hdc, pen);
        ::MoveToEx(hdc, corner.left + k - 1, client.bottom, nullptr);
        ::LineTo(hdc, corner.left + k + cx, client.bottom - cx - 1);
        ::SelectObject(hdc, old);
        ::DeleteObject(pen);
    }
}

void CACListWnd::Paint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    RECT client{};
    GetClientRect(&client);
    const bool barShown = IsScrollBarVisible() != FALSE;
    const int width = std::max(1, (int)client.right - (barShown ? ::GetSystemMetrics(SM_CXVSCROLL) : 0));
    const int height = std::max(1, (int)client.bottom);
    HDC mem = ::CreateCompatibleDC(hdc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, width, height);
    HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
    RECT all{0, 0, width, height};
    ::FillRect(mem, &all, ::GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ oldFont = ::SelectObject(mem, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(mem, TRANSPARENT);
    const int shown = m_words.GetShownCount();
    for (int row = m_words.GetFirstRow(), y = 0; row < shown && y < height; ++row, y += m_nRowHeight)
        DrawRow(mem, row, y, width);
    if (barShown) {
        const int cx = ::GetSystemMetrics(SM_CXHSCROLL), cy = ::GetSystemMetrics(SM_CYVSCROLL);
        RECT corner{client.right - cx, client.bottom - cy, client.right, client.bottom};
        ::FillRect(hdc, &corner, ::GetSysColorBrush(COLOR_BTNFACE));
        DrawSizeGrip(hdc, client);
    } else {
        DrawSizeGrip(mem, client);
    }
    ::BitBlt(hdc, 0, 0, width, height, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, oldFont);
    ::SelectObject(mem, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
    ::EndPaint(m_hWnd, &ps);
}

void CACListWnd::OnLButtonDown(POINT pt)
{
    RECT client{};
    GetClientRect(&client);
    if (!::PtInRect(&client, pt)) {
        Hide();
        return;
    }
    const int row = RowAt(pt);
    if (row < 0) return;
    if (!ScrollToShow(row, TRUE)) Invalidate();
    m_words.SetSelection(row);
    if (m_pEdit && m_pEdit->m_hWnd)
        m_pEdit->SendMessage(WM_SEARCHBOX_UPDATE, ZV_SEARCHBOX_COMMIT, ZV_IDC_AUTOCOMPLETE_LIST);
    PumpPaint();
    ::Sleep(500);
    Hide();
}

void CACListWnd::OnTick()
{
    if (!m_pEdit || !m_pEdit->m_hWnd) return;
    HWND parent = ::GetParent(m_pEdit->m_hWnd);
    RECT now{};
    if (parent) ::GetWindowRect(parent, &now);
    if (!::EqualRect(&now, &m_rcParent)) Hide();
}

LRESULT CACListWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_NCCALCSIZE: {
        auto* rc = reinterpret_cast<RECT*>(lParam);
        ::InflateRect(rc, -1, -1);  // one border on each side
        return 0;
    }
    case WM_NCPAINT: {
        HDC dc = ::GetWindowDC(m_hWnd);
        RECT rc{};
        GetWindowRect(&rc);
        ::OffsetRect(&rc, -rc.left, -rc.top);
        HBRUSH brush = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOWTEXT));
        ::FrameRect(dc, &rc, brush);
        ::DeleteObject(brush);
        ::ReleaseDC(m_hWnd, dc);
        return 0;
    }
    case WM_NCHITTEST: {
        RECT rc{};
        GetWindowRect(&rc);
        const POINT pt{(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (pt.x >= rc.right - ::GetSystemMetrics(SM_CYVSCROLL) && pt.y >= rc.bottom - ::GetSystemMetrics(SM_CXVSCROLL))
            return HTBOTTOMRIGHT;
        return HTCLIENT;
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == HTBOTTOMRIGHT) GetWindowRect(&m_rcLastSize);
        break;
    case WM_SIZE: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        PlaceScrollBar();
        UpdateScrollInfo();
        if (!IsEmptyRect(m_rcLastSize)) GetWindowRect(&m_rcLastSize);
        return result;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        RECT box{};
        if (m_pEdit) ::GetWindowRect(m_pEdit->GetSafeHwnd(), &box);
        info->ptMinTrackSize.x = m_pEdit ? box.right - box.left : 4 * ::GetSystemMetrics(SM_CXHSCROLL);
        const int shown = m_words.GetShownCount();
        const int rowsHeight = shown * m_nRowHeight + 2 * ::GetSystemMetrics(SM_CYBORDER);
        const int floor =
            ::GetSystemMetrics(SM_CYFRAME) + 2 * ::GetSystemMetrics(SM_CYHSCROLL) + ::GetSystemMetrics(SM_CXHTHUMB);
        info->ptMinTrackSize.y = (shown - 1 < m_nRowsPerPage && rowsHeight < floor) ? rowsHeight : floor;
        return 0;
    }
    case WM_MOUSEMOVE: {
        const int row = RowAt({(short)LOWORD(lParam), (short)HIWORD(lParam)});
        if (row >= 0) {
            m_words.SetSelection(row);
            Invalidate();
        }
        return 0;
    }
    case WM_LBUTTONDOWN: OnLButtonDown({(short)LOWORD(lParam), (short)HIWORD(lParam)}); return 0;
    case WM_RBUTTONDOWN: Hide(); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            Hide();
            return 0;
        }
        break;
    case WM_ACTIVATEAPP: Hide(); break;
    case WM_VSCROLL: {
        const int shown = m_words.GetShownCount();
        int first = m_words.GetFirstRow();
        switch (LOWORD(wParam)) {
        case SB_LINEUP: --first; break;
        case SB_LINEDOWN: ++first; break;
        case SB_PAGEUP: first -= m_nRowsPerPage; break;
        case SB_PAGEDOWN: first += m_nRowsPerPage; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: first = (short)HIWORD(wParam); break;
        default: break;
        }
        first = std::max(0, std::min(first, shown - m_nRowsPerPage));
        if (first != m_words.GetFirstRow()) {
            m_words.SetFirstRow(first);
            SetScrollPosition();
            Invalidate();
        }
        return 0;
    }
    case WM_SHOWWINDOW:
        if (wParam) {
            m_nTimer = SetTimer(ZV_TIMER_AUTOCOMPLETE_WATCH, ZV_AUTOCOMPLETE_WATCH_MS);
            if (m_pEdit && m_pEdit->m_hWnd) {
                if (HWND parent = ::GetParent(m_pEdit->m_hWnd)) ::GetWindowRect(parent, &m_rcParent);
            }
        } else {
            if (m_nTimer) KillTimer(m_nTimer);
            m_nTimer = 0;
            m_words.OnHidden();
        }
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        break;
    case WM_TIMER:
        if (wParam == ZV_TIMER_AUTOCOMPLETE_WATCH) {
            OnTick();
            return 0;
        }
        break;
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
