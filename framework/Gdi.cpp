#include "framework/Gdi.h"

#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject || m_hObject) return FALSE;
    m_hObject = hObject;
    CHandleMap<CGdiObject>::SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h) CHandleMap<CGdiObject>::RemoveHandle(h);
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return CHandleMap<CGdiObject>::FromHandle(hObject); }

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, HDC hDC)
{
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    HDC dc = hDC ? hDC : ::GetDC(nullptr);
    // Tenths of a point to pixels of the device.
    POINT pt{0, ::MulDiv(::GetDeviceCaps(dc, LOGPIXELSY), nPointSize, 720)};
    ::DPtoLP(dc, &pt, 1);
    POINT origin{0, 0};
    ::DPtoLP(dc, &origin, 1);
    lf.lfHeight = -abs(pt.y - origin.y);
    if (!hDC) ::ReleaseDC(nullptr, dc);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    HBITMAP h = ::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName);
    if (!h) h = ::LoadBitmapA(AfxGetInstanceHandle(), lpszResourceName);
    return Attach(h);
}
