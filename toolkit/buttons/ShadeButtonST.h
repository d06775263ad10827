#pragma once
// CShadeButtonST: a CButtonST whose background is a shaded 8-bit face image,
// a lighter one while the mouse is over it. The faces are made once, for the
// button's size at the time of SetShade.
#include "toolkit/buttons/ButtonST.h"
#include "toolkit/buttons/CeXDib.h"

class CShadeButtonST : public CButtonST {
    DECLARE_DYNAMIC(CShadeButtonST)
public:
    // The program calls it with (7, 8, 10, 0, 0): a bump with bevelled ends.
    void SetShade(UINT shadeID = 0, BYTE granularity = 8, BYTE highlight = 10, BYTE coloring = 0, COLORREF color = 0);
    DWORD DrawButtonBackground(CDC* pDC, const RECT& rect) override;
    DWORD DrawButtonBorder(CDC* pDC, const RECT& rect) override;
    const CCeXDib& GetNormalFace() const { return m_dNormal; }
    const CCeXDib& GetHoverFace() const { return m_dh; }

protected:
    CCeXDib m_dNormal;  // the face at rest
    CCeXDib m_dh;       // the face under the mouse
};
