// The meter's drawing with GDI+. Each meter starts GDI+ for itself, so a
// dialog's meter works whoever else uses the library.
#include "app/logon/PasswordStrengthMeter.h"

#include <windows.h>

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

#include "framework/DC.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"

CPasswordStrengthMeter::CPasswordStrengthMeter()
{
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) m_gdiplusToken = token;
}

CPasswordStrengthMeter::~CPasswordStrengthMeter()
{
    if (m_gdiplusToken != 0) Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

void CPasswordStrengthMeter::DrawBackground(CDC* pDC, const CRect& rect)
{
    if (!pDC || m_gdiplusToken == 0) return;
    Gdiplus::Graphics graphics(pDC->GetSafeHdc());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::Rect area(rect.left, rect.top, rect.Width(), rect.Height());
    Gdiplus::LinearGradientBrush brush(area, Gdiplus::Color(0xFFFFFFFF), Gdiplus::Color(0xFF808080),
                                       Gdiplus::LinearGradientModeVertical);
    brush.SetWrapMode(Gdiplus::WrapModeTile);
    graphics.FillRectangle(&brush, area);
}

void CPasswordStrengthMeter::DrawBar(CDC* pDC, const CRect& rect)
{
    if (!pDC) return;
    if (m_barWidth > rect.Width()) m_barWidth = rect.Width();
    if (m_gdiplusToken != 0 && m_barWidth > 0) {
        Gdiplus::Graphics graphics(pDC->GetSafeHdc());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        // The gradient spans the whole meter, so a short bar stays red.
        Gdiplus::LinearGradientBrush brush(Gdiplus::Point(rect.left, rect.top), Gdiplus::Point(rect.right, rect.bottom),
                                           Gdiplus::Color(0xFFFF0000), Gdiplus::Color(0xFF008000));
        brush.SetWrapMode(Gdiplus::WrapModeTile);
        graphics.FillRectangle(&brush, Gdiplus::Rect(rect.left, rect.top, m_barWidth, rect.Height()));
    }
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(rect.left + 5, rect.top + 3, m_label, m_label.GetLength());
    pDC->SetBkMode(oldMode);
}

bool CPasswordStrengthMeter::CreateLabelFont(CFont& font)
{
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = 17;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "Arial");
    return font.CreateFontIndirect(&lf) != FALSE;
}
