#include "framework/DC.h"

#include "framework/CString.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

CDC::~CDC()
{
    if (m_hDC && CHandleMap<CDC>::FromHandlePermanent(m_hDC) == this) ::DeleteDC(Detach());
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC) return FALSE;
    m_hDC = hDC;
    CHandleMap<CDC>::SetPermanent(hDC, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (h) CHandleMap<CDC>::RemoveHandle(h);
    m_hDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) { return CHandleMap<CDC>::FromHandle(hDC); }

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const
{
    SIZE size{};
    ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) const
{
    return ::DrawTextA(m_hDC, str, str.GetLength(), lpRect, nFormat);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) const
{
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) const
{
    CRect rc(x, y, x + cx, y + cy);
    FillSolidRect(&rc, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) const
{
    const int x = lpRect->left, y = lpRect->top;
    const int cx = lpRect->right - lpRect->left, cy = lpRect->bottom - lpRect->top;
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

CPoint CDC::MoveTo(int x, int y) const
{
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
