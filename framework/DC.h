#pragma once
// Device contexts. CDC owns its handle when made by CreateCompatibleDC
// (deleted) and forwards drawing calls; CPaintDC, CClientDC and CWindowDC
// acquire a window's DC for their lifetime.

#include <windows.h>

#include "framework/CObject.h"
#include "framework/CString.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"
#include "framework/HandleMap.h"

class CWnd;

class CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    static CDC* FromHandle(HDC hDC);
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }  // NOLINT

    // Selection: returns the previous object (a temporary wrapper).
    CPen* SelectObject(CPen* pPen) const { return CPen::FromHandle((HPEN)::SelectObject(m_hDC, pPen->m_hObject)); }
    CBrush* SelectObject(CBrush* pBrush) const
    {
        return CBrush::FromHandle((HBRUSH)::SelectObject(m_hDC, pBrush->m_hObject));
    }
    CFont* SelectObject(CFont* pFont) const
    {
        return CFont::FromHandle((HFONT)::SelectObject(m_hDC, pFont->m_hObject));
    }
    CBitmap* SelectObject(CBitmap* pBitmap) const
    {
        return CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, pBitmap->m_hObject));
    }
    HGDIOBJ SelectObject(HGDIOBJ hObject) const { return ::SelectObject(m_hDC, hObject); }
    CGdiObject* SelectStockObject(int nIndex) const
    {
        return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
    }
    int SelectClipRgn(CRgn* pRgn) const { return ::SelectClipRgn(m_hDC, pRgn ? (HRGN)pRgn->m_hObject : nullptr); }
    int ExcludeClipRect(LPCRECT lpRect) const
    {
        return ::ExcludeClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int IntersectClipRect(LPCRECT lpRect) const
    {
        return ::IntersectClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int SaveDC() const { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) const { return ::RestoreDC(m_hDC, nSavedDC); }

    COLORREF SetTextColor(COLORREF crColor) const { return ::SetTextColor(m_hDC, crColor); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF crColor) const { return ::SetBkColor(m_hDC, crColor); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int nBkMode) const { return ::SetBkMode(m_hDC, nBkMode); }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }
    BOOL GetTextMetrics(LPTEXTMETRICA lpMetrics) const { return ::GetTextMetricsA(m_hDC, lpMetrics); }
    CSize GetTextExtent(LPCSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const;

    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) const
    {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) const;
    BOOL TextOut(int x, int y, LPCSTR lpszString, int nCount) const
    {
        return ::TextOutA(m_hDC, x, y, lpszString, nCount);
    }
    void FillRect(LPCRECT lpRect, CBrush* pBrush) const { ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->m_hObject); }
    void FillSolidRect(LPCRECT lpRect, COLORREF clr) const;
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) const;
    void FrameRect(LPCRECT lpRect, CBrush* pBrush) const { ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->m_hObject); }
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) const;
    void DrawFocusRect(LPCRECT lpRect) const { ::DrawFocusRect(m_hDC, lpRect); }
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) const { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
    BOOL DrawIcon(int x, int y, HICON hIcon) const { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL Rectangle(LPCRECT lpRect) const
    {
        return ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    BOOL RoundRect(LPCRECT lpRect, POINT point) const
    {
        return ::RoundRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
    }
    CPoint MoveTo(int x, int y) const;
    BOOL LineTo(int x, int y) const { return ::LineTo(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF crColor) const { return ::SetPixel(m_hDC, x, y, crColor); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) const
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
    }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop) const
    {
        return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->m_hDC, xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
    }
    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }

    HDC m_hDC = nullptr;
};

template <> struct ZvHandleTraits<CDC> {
    using Handle = HDC;
    static HDC& Of(CDC& d) { return d.m_hDC; }
};

// BeginPaint/EndPaint around the object's life.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
