#include "toolkit/buttons/ButtonST.h"

#include "framework/ResourceModuleWin.h"

IMPLEMENT_DYNAMIC(CButtonST, CButton)

BEGIN_MESSAGE_MAP(CButtonST, CButton)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_GETDLGCODE()
    ON_MESSAGE(BM_SETSTYLE, &CButtonST::OnSetStyle)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_KILLFOCUS()
    ON_WM_SYSCOLORCHANGE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CButtonST::OnClicked)
END_MESSAGE_MAP()

namespace {
const UINT kTypeMask = 0x1F;

void IconSize(HICON hIcon, DWORD& width, DWORD& height, bool& ok)
{
    ICONINFO info{};
    ok = hIcon && ::GetIconInfo(hIcon, &info);
    width = ok ? info.xHotspot * 2 : 0;
    height = ok ? info.yHotspot * 2 : 0;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
}
}  // namespace

CButtonST::CButtonST() { LoadColours(); }

CButtonST::~CButtonST() { FreeIcons(); }

void CButtonST::LoadColours()
{
    m_crBkIn = m_crBkOut = m_crBkFocus = ::GetSysColor(COLOR_BTNFACE);
    m_crFgIn = m_crFgOut = m_crFgFocus = ::GetSysColor(COLOR_BTNTEXT);
}

void CButtonST::FreeIcons()
{
    if (m_iconIn.hIcon) ::DestroyIcon(m_iconIn.hIcon);
    if (m_iconOut.hIcon && m_iconOut.hIcon != m_iconIn.hIcon) ::DestroyIcon(m_iconOut.hIcon);
    m_iconIn = IconSlot{};
    m_iconOut = IconSlot{};
}

void CButtonST::PreSubclassWindow()
{
    const UINT style = (UINT)GetStyle();
    m_nTypeStyle = style & kTypeMask;
    if (style & BS_CHECKBOX) m_bIsCheckBox = TRUE;
    if (m_nTypeStyle == BS_DEFPUSHBUTTON) {
        m_bIsDefault = TRUE;
        m_nTypeStyle = BS_PUSHBUTTON;
    }
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)((style & ~kTypeMask) | BS_OWNERDRAW));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CButtonST::PreTranslateMessage(MSG* pMsg)
{
    if (!m_toolTip.m_hWnd && m_hWnd) {
        m_toolTip.Create(this, 0);
        m_toolTip.Activate(FALSE);
        m_toolTip.SetMaxTipWidth(400);
    }
    if (m_toolTip.m_hWnd) m_toolTip.RelayEvent(pMsg);
    // A quick second click is a click, not a double click.
    if (pMsg->message == WM_LBUTTONDBLCLK) pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

HBRUSH CButtonST::CtlColor(CDC*, UINT) { return (HBRUSH)::GetStockObject(NULL_BRUSH); }

UINT CButtonST::OnGetDlgCode()
{
    const UINT code = (UINT)Default();
    return code | (m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT CButtonST::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    const UINT type = (UINT)wParam & kTypeMask;
    if (type == BS_DEFPUSHBUTTON)
        m_bIsDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        m_bIsDefault = FALSE;
    return ::DefWindowProcA(m_hWnd, BM_SETSTYLE, ((UINT)wParam & ~kTypeMask) | BS_OWNERDRAW, lParam);
}

void CButtonST::EndHover()
{
    if (!m_bMouseOnButton) return;
    m_bMouseOnButton = FALSE;
    Invalidate();
}

void CButtonST::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    HWND under = ::WindowFromPoint(screen);
    // Dragging in with the button held does not start the hover look.
    if ((nFlags & MK_LBUTTON) && !m_bMouseOnButton) return;
    if (under == m_hWnd) {
        if (m_bMouseOnButton) return;
        m_bMouseOnButton = TRUE;
        Invalidate();
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        ::TrackMouseEvent(&track);
        return;
    }
    EndHover();
}

void CButtonST::OnMouseLeave() { EndHover(); }

void CButtonST::OnKillFocus(CWnd*)
{
    Default();
    EndHover();
}

void CButtonST::OnSysColorChange()
{
    Default();
    LoadColours();
    Invalidate();
}

BOOL CButtonST::OnClicked()
{
    SetFocus();
    if (m_bIsCheckBox) {
        m_nCheck = !m_nCheck;
        Invalidate();
    }
    return FALSE;
}

DWORD CButtonST::SetIcon(int nIconIn, int cxIn, int cyIn, int nIconOut, int cxOut, int cyOut)
{
    HINSTANCE module = AfxGetResourceHandle();
    HICON in = (HICON)::LoadImageA(module, MAKEINTRESOURCEA(nIconIn), IMAGE_ICON, cxIn, cyIn, 0);
    HICON out = nullptr;
    if (nIconOut == -2)
        out = (HICON)(INT_PTR)-2;
    else if (nIconOut != 0)
        out = (HICON)::LoadImageA(module, MAKEINTRESOURCEA(nIconOut), IMAGE_ICON, cxOut, cyOut, 0);
    return SetIcon(in, out);
}

DWORD CButtonST::SetIcon(HICON hIconIn, HICON hIconOut)
{
    FreeIcons();
    if (!hIconIn) {
        if (m_hWnd) Invalidate();
        return 0;
    }
    bool ok = false;
    m_iconIn.hIcon = hIconIn;
    IconSize(hIconIn, m_iconIn.width, m_iconIn.height, ok);
    if (!ok) {
        if (hIconOut && hIconOut != (HICON)(INT_PTR)-2) ::DestroyIcon(hIconOut);
        FreeIcons();
        return 1;
    }
    if (hIconOut == (HICON)(INT_PTR)-2) hIconOut = MakeGrayIcon(hIconIn);
    if (hIconOut) {
        m_iconOut.hIcon = hIconOut;
        IconSize(hIconOut, m_iconOut.width, m_iconOut.height, ok);
        if (!ok) {
            FreeIcons();
            return 1;
        }
    }
    if (m_hWnd) Invalidate();
    return 0;
}

HICON CButtonST::MakeGrayIcon(HICON hIcon)
{
    ICONINFO info{};
    if (!hIcon || !::GetIconInfo(hIcon, &info)) return nullptr;
    const int cx = (int)info.xHotspot * 2, cy = (int)info.yHotspot * 2;
    HICON result = nullptr;
    BITMAP colourInfo{};
    if (info.hbmColor && ::GetObjectA(info.hbmColor, sizeof(colourInfo), &colourInfo) && cx > 0 && cy > 0) {
        HDC screen = ::GetDC(nullptr);
        HDC srcDC = ::CreateCompatibleDC(screen);
        HDC dstDC = ::CreateCompatibleDC(screen);
        HBITMAP grey = ::CreateBitmap(cx, cy, colourInfo.bmPlanes, colourInfo.bmBitsPixel, nullptr);
        HGDIOBJ oldSrc = ::SelectObject(srcDC, info.hbmColor);
        HGDIOBJ oldDst = ::SelectObject(dstDC, grey);
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) {
                const COLORREF c = ::GetPixel(srcDC, x, y);
                COLORREF out = RGB(0, 0, 0);
                if (c != RGB(0, 0, 0)) {
                    const BYTE g = (BYTE)(GetRValue(c) * 0.299 + GetGValue(c) * 0.587 + GetBValue(c) * 0.114);
                    out = RGB(g, g, g);
                }
                ::SetPixel(dstDC, x, y, out);
            }
        }
        ::SelectObject(srcDC, oldSrc);
        ::SelectObject(dstDC, oldDst);
        ICONINFO made = info;
        made.hbmColor = grey;
        result = ::CreateIconIndirect(&made);
        ::DeleteObject(grey);
        ::DeleteDC(srcDC);
        ::DeleteDC(dstDC);
        ::ReleaseDC(nullptr, screen);
    }
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return result;
}

void CButtonST::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC dc;
    dc.Attach(lpDIS->hDC);
    m_bIsPressed = (lpDIS->itemState & ODS_SELECTED) != 0 || (m_bIsCheckBox && m_nCheck != 0);
    m_bIsFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bIsDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    const RECT item = lpDIS->rcItem;
    dc.SetBkMode(TRANSPARENT);
    DrawButtonBackground(&dc, item);
    DrawButtonBorder(&dc, item);
    CString title;
    GetWindowText(title);
    RECT caption = item;
    if (m_iconIn.hIcon) DrawButtonIcon(&dc, !title.IsEmpty(), item, caption, m_bIsPressed, m_bIsDisabled);
    if (!title.IsEmpty()) DrawButtonText(&dc, title, item, caption, m_bIsPressed, m_bIsDisabled);
    dc.Detach();
}

DWORD CButtonST::DrawButtonBackground(CDC* pDC, const RECT& rect)
{
    COLORREF colour = m_crBkOut;
    if (m_bMouseOnButton || m_bIsPressed)
        colour = m_crBkIn;
    else if (m_bIsFocused)
        colour = m_crBkFocus;
    pDC->FillSolidRect(&rect, colour);
    return 0;
}

DWORD CButtonST::DrawButtonBorder(CDC* pDC, const RECT& rect)
{
    if (m_bIsPressed)
        pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHILIGHT));
    else if (m_bMouseOnButton && m_bDrawBorder)
        pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    return 0;
}

void CButtonST::DrawButtonIcon(CDC* pDC, BOOL hasTitle, const RECT& item, RECT& caption, BOOL pressed, BOOL disabled)
{
    const IconSlot& slot = (m_iconOut.hIcon && !pressed && (m_bIsCheckBox || !m_bMouseOnButton)) ? m_iconOut : m_iconIn;
    const int width = (int)slot.width, height = (int)slot.height;
    int x = 0;
    if (hasTitle) {
        x = item.left + m_ptImageOrg.x;
        caption.left += width + m_ptImageOrg.x;
    } else {
        x = item.left + ((item.right - item.left) - width) / 2;
    }
    int y = item.top + ((item.bottom - item.top) - height) / 2;
    if (pressed && !m_bIsCheckBox) {
        x += m_ptPressedOffset.x;
        y += m_ptPressedOffset.y;
    }
    ::DrawStateA(*pDC, nullptr, nullptr, (LPARAM)slot.hIcon, 0, x, y, width, height,
                 DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

void CButtonST::DrawButtonText(CDC* pDC, const char* text, const RECT&, RECT& caption, BOOL pressed, BOOL disabled)
{
    if (pressed && !m_bIsCheckBox) ::OffsetRect(&caption, m_ptPressedOffset.x, m_ptPressedOffset.y);
    RECT measured = caption;
    pDC->DrawText(text, -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    const int w = measured.right - measured.left, h = measured.bottom - measured.top;
    RECT centred{caption.left + ((caption.right - caption.left) - w) / 2,
                 caption.top + ((caption.bottom - caption.top) - h) / 2, 0, 0};
    centred.right = centred.left + w;
    centred.bottom = centred.top + h;
    if (disabled) {
        RECT moved = centred;
        ::OffsetRect(&moved, 1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
        pDC->DrawText(text, -1, &moved, DT_WORDBREAK | DT_CENTER);
        pDC->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
        pDC->DrawText(text, -1, &centred, DT_WORDBREAK | DT_CENTER);
        return;
    }
    COLORREF colour = m_crFgOut;
    if (m_bMouseOnButton || pressed)
        colour = m_crFgIn;
    else if (m_bIsFocused)
        colour = m_crFgFocus;
    pDC->SetTextColor(colour);
    pDC->DrawText(text, -1, &centred, DT_WORDBREAK | DT_CENTER);
}
