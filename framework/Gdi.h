#pragma once
// GDI object wrappers: each owns its handle and deletes it when destroyed,
// unless Detach was called. FromHandle gives a temporary wrapper for a handle
// nobody owns (deleted at idle time, never deleting the handle).

#include <windows.h>

#include "framework/CObject.h"
#include "framework/HandleMap.h"

class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();  // deletes the handle now

    static CGdiObject* FromHandle(HGDIOBJ hObject);
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    int GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }
    operator HGDIOBJ() const { return m_hObject; }  // NOLINT

    HGDIOBJ m_hObject = nullptr;
};

template <> struct ZvHandleTraits<CGdiObject> {
    using Handle = HGDIOBJ;
    static HGDIOBJ& Of(CGdiObject& o) { return o.m_hObject; }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    static CPen* FromHandle(HPEN h) { return static_cast<CPen*>(CGdiObject::FromHandle(h)); }
    operator HPEN() const { return (HPEN)m_hObject; }  // NOLINT
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    BOOL CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }
    BOOL CreatePatternBrush(HBITMAP hBitmap) { return Attach(::CreatePatternBrush(hBitmap)); }
    static CBrush* FromHandle(HBRUSH h) { return static_cast<CBrush*>(CGdiObject::FromHandle(h)); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }  // NOLINT
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, HDC hDC = nullptr);
    int GetLogFont(LOGFONTA* pLogFont) const { return ::GetObjectA(m_hObject, sizeof(LOGFONTA), pLogFont); }
    static CFont* FromHandle(HFONT h) { return static_cast<CFont*>(CGdiObject::FromHandle(h)); }
    operator HFONT() const { return (HFONT)m_hObject; }  // NOLINT
};

class CBitmap : public CGdiObject {
public:
    // From the resource module.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    BOOL CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight)
    {
        return Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
    }
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
    {
        return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
    }
    int GetBitmap(BITMAP* pBitMap) const { return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitMap); }
    static CBitmap* FromHandle(HBITMAP h) { return static_cast<CBitmap*>(CGdiObject::FromHandle(h)); }
    operator HBITMAP() const { return (HBITMAP)m_hObject; }  // NOLINT
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
    {
        return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
    }
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) const
    {
        return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgn1->m_hObject, pRgn2 ? (HRGN)pRgn2->m_hObject : nullptr,
                            nCombineMode);
    }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    static CRgn* FromHandle(HRGN h) { return static_cast<CRgn*>(CGdiObject::FromHandle(h)); }
    operator HRGN() const { return (HRGN)m_hObject; }  // NOLINT
};

// Loads a 16-colour bitmap resource with its black, dark grey, light grey
// and white mapped to the system's button text, shadow, face and highlight
// colours, so that it matches the current colour scheme. Null when the
// resource is not a bitmap of at most 8 bits per pixel.
HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono = FALSE);
