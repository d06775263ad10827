#include "framework/Gdi.h"

#include <cstring>
#include <vector>

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

HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono)
{
    HGLOBAL data = hRsrc ? ::LoadResource(hInst, hRsrc) : nullptr;
    const auto* header = data ? static_cast<const BITMAPINFOHEADER*>(::LockResource(data)) : nullptr;
    const DWORD size = hRsrc ? ::SizeofResource(hInst, hRsrc) : 0;
    if (!header || size < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER) ||
        header->biBitCount > 8 || header->biCompression != BI_RGB)
        return nullptr;
    const DWORD colours = header->biClrUsed ? header->biClrUsed : (1u << header->biBitCount);
    const size_t tableEnd = header->biSize + colours * sizeof(RGBQUAD);
    const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    const size_t stride = ((size_t)header->biWidth * header->biBitCount + 31) / 32 * 4;
    if (colours > 256 || tableEnd + stride * (size_t)height > size) return nullptr;  // a damaged resource

    // A private copy of header and colour table, with the four greys mapped.
    std::vector<BYTE> info(tableEnd);
    memcpy(info.data(), header, tableEnd);
    auto* table = reinterpret_cast<RGBQUAD*>(info.data() + header->biSize);
    const struct {
        COLORREF from;
        int sysColor;
    } map[] = {{RGB(0, 0, 0), COLOR_BTNTEXT},
               {RGB(128, 128, 128), COLOR_BTNSHADOW},
               {RGB(192, 192, 192), COLOR_BTNFACE},
               {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT}};
    for (DWORD i = 0; i < colours; ++i) {
        const COLORREF c = RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
        for (const auto& m : map) {
            if (c != m.from) continue;
            const COLORREF sys = ::GetSysColor(m.sysColor);
            table[i].rgbRed = GetRValue(sys);
            table[i].rgbGreen = GetGValue(sys);
            table[i].rgbBlue = GetBValue(sys);
            break;
        }
    }
    const BYTE* bits = reinterpret_cast<const BYTE*>(header) + tableEnd;
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
    HDC screen = ::GetDC(nullptr);
    HBITMAP result;
    if (bMono) {
        result = ::CreateBitmap(header->biWidth, height, 1, 1, nullptr);
        if (result) ::SetDIBits(screen, result, 0, (UINT)height, bits, bmi, DIB_RGB_COLORS);
    } else {
        result = ::CreateDIBitmap(screen, &bmi->bmiHeader, CBM_INIT, bits, bmi, DIB_RGB_COLORS);
    }
    ::ReleaseDC(nullptr, screen);
    return result;
}
