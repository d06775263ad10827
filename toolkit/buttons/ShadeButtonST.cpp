#include "toolkit/buttons/ShadeButtonST.h"

#include <cstdlib>

#include "toolkit/buttons/ShadeFaces.h"

IMPLEMENT_DYNAMIC(CShadeButtonST, CButtonST)

void CShadeButtonST::SetShade(UINT shadeID, BYTE granularity, BYTE highlight, BYTE coloring, COLORREF color)
{
    RECT rc{};
    GetWindowRect(&rc);
    const ShadeColours colours{::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE),
                               ::GetSysColor(COLOR_BTNHIGHLIGHT)};
    MakeShadeFaces(m_dNormal, m_dh, rc.right - rc.left, rc.bottom - rc.top, (int)shadeID, granularity, highlight,
                   coloring, color, colours, [] { return rand(); });
}

DWORD CShadeButtonST::DrawButtonBackground(CDC* pDC, const RECT&)
{
    if (!m_bMouseOnButton)
        m_dNormal.Draw(pDC, 0, 0);
    else if (m_bIsPressed)
        m_dh.Draw(pDC, 1, 1);
    else
        m_dh.Draw(pDC, 0, 0);
    return 0;
}

DWORD CShadeButtonST::DrawButtonBorder(CDC* pDC, const RECT& rect) { return CButtonST::DrawButtonBorder(pDC, rect); }
