// The main view's geometry: display and details areas, the button strips,
// the splitters, background and the mouse on the view itself.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "mainwindow/MainWindowIds.h"

void CZorvikanDesktopView::OnSize(UINT nType, int cx, int cy) { CView::OnSize(nType, cx, cy); }

BOOL CZorvikanDesktopView::OnEraseBkgnd(CDC* pDC) { return CView::OnEraseBkgnd(pDC); }

void CZorvikanDesktopView::OnMouseMove(UINT nFlags, CPoint point) { CView::OnMouseMove(nFlags, point); }

void CZorvikanDesktopView::OnLButtonDown(UINT nFlags, CPoint point) { CView::OnLButtonDown(nFlags, point); }

void CZorvikanDesktopView::OnLButtonUp(UINT nFlags, CPoint point) { CView::OnLButtonUp(nFlags, point); }

void CZorvikanDesktopView::OnLButtonDblClk(UINT nFlags, CPoint point) { CView::OnLButtonDblClk(nFlags, point); }

LRESULT CZorvikanDesktopView::OnListExSelect(WPARAM, LPARAM) { return 0; }

CRect CZorvikanDesktopView::GetListRect() const
{
    CRect r;
    ::GetClientRect(m_hWnd, &r);
    return r;
}

CRect CZorvikanDesktopView::GetDetailsRect() const { return CRect(); }

void CZorvikanDesktopView::SetMaskButtonText(const CString&) {}

void CZorvikanDesktopView::FillSmartListEntries() {}
