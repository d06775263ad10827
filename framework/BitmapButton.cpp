#include "framework/BitmapButton.h"

#include "framework/DC.h"

IMPLEMENT_DYNAMIC(CBitmapButton, CButton)

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel, UINT nIDBitmapResourceFocus,
                                UINT nIDBitmapResourceDisabled)
{
    m_bitmap.DeleteObject();
    m_bitmapSel.DeleteObject();
    m_bitmapFocus.DeleteObject();
    m_bitmapDisabled.DeleteObject();
    if (!m_bitmap.LoadBitmap(nIDBitmapResource)) return FALSE;
    BOOL ok = TRUE;
    if (nIDBitmapResourceSel && !m_bitmapSel.LoadBitmap(nIDBitmapResourceSel)) ok = FALSE;
    if (nIDBitmapResourceFocus && !m_bitmapFocus.LoadBitmap(nIDBitmapResourceFocus)) ok = FALSE;
    if (nIDBitmapResourceDisabled && !m_bitmapDisabled.LoadBitmap(nIDBitmapResourceDisabled)) ok = FALSE;
    return ok;
}

void CBitmapButton::SizeToContent() const
{
    BITMAP bm{};
    if (!m_bitmap.m_hObject || !m_bitmap.GetBitmap(&bm)) return;
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const CBitmap* bitmap = &m_bitmap;
    const UINT state = lpDrawItemStruct->itemState;
    if ((state & ODS_SELECTED) && m_bitmapSel.m_hObject)
        bitmap = &m_bitmapSel;
    else if ((state & ODS_FOCUS) && m_bitmapFocus.m_hObject)
        bitmap = &m_bitmapFocus;
    else if ((state & ODS_DISABLED) && m_bitmapDisabled.m_hObject)
        bitmap = &m_bitmapDisabled;
    if (!bitmap->m_hObject) return;

    HDC memDC = ::CreateCompatibleDC(lpDrawItemStruct->hDC);
    HGDIOBJ old = ::SelectObject(memDC, bitmap->m_hObject);
    const RECT& rc = lpDrawItemStruct->rcItem;
    ::BitBlt(lpDrawItemStruct->hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, memDC, 0, 0, SRCCOPY);
    ::SelectObject(memDC, old);
    ::DeleteDC(memDC);
}
