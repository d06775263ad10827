#pragma once
// CButtonST: an owner-drawn flat push button that follows the mouse (a
// border while hovered or pressed), shows an icon left of its caption (or
// centred without one) and a tool tip. A dialog subclasses a push button of
// its template with it; the button then draws itself in every state.
#include <windows.h>

#include "framework/CommonControls.h"
#include "framework/Controls.h"
#include "framework/DC.h"

class CButtonST : public CButton {
    DECLARE_DYNAMIC(CButtonST)
public:
    CButtonST();
    ~CButtonST() override;

    // ---- Overridables ---------------------------------------------------
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    virtual DWORD DrawButtonBackground(CDC* pDC, const RECT& rect);
    virtual DWORD DrawButtonBorder(CDC* pDC, const RECT& rect);
    virtual void DrawButtonIcon(CDC* pDC, BOOL hasTitle, const RECT& item, RECT& caption, BOOL pressed, BOOL disabled);
    virtual void DrawButtonText(CDC* pDC, const char* text, const RECT& item, RECT& caption, BOOL pressed,
                                BOOL disabled);
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- Operations -----------------------------------------------------
    // Icons from the resource module; out id 0: none, -2: a grey copy of
    // the in-icon. 0 on success, 1 when the in-icon cannot be described.
    DWORD SetIcon(int nIconIn, int cxIn, int cyIn, int nIconOut, int cxOut, int cyOut);
    DWORD SetIcon(HICON hIconIn, HICON hIconOut);
    static HICON MakeGrayIcon(HICON hIcon);

    // The icon drawn (null: none).
    HICON GetIcon() const { return m_iconIn.hIcon; }
    BOOL IsMouseOver() const { return m_bMouseOnButton; }
    BOOL IsDefault() const { return m_bIsDefault; }
    BOOL IsCheckBox() const { return m_bIsCheckBox; }
    int GetCheck() const { return m_nCheck; }
    UINT GetTypeStyle() const { return m_nTypeStyle; }

protected:
    struct IconSlot {
        HICON hIcon = nullptr;
        DWORD width = 0;
        DWORD height = 0;
    };
    void LoadColours();
    void FreeIcons();
    void EndHover();

    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    UINT OnGetDlgCode();
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnKillFocus(CWnd* pNewWnd);
    void OnSysColorChange();
    BOOL OnClicked();

    BOOL m_bMouseOnButton = FALSE;
    BOOL m_bIsPressed = FALSE;
    BOOL m_bIsFocused = FALSE;
    BOOL m_bIsDisabled = FALSE;
    UINT m_nTypeStyle = 0x1F;
    BOOL m_bIsDefault = FALSE;
    BOOL m_bIsCheckBox = FALSE;
    int m_nCheck = 0;
    // Look, fixed at construction.
    BOOL m_bIsFlat = TRUE;
    BOOL m_bAlwaysTrack = TRUE;
    BOOL m_bDrawBorder = TRUE;
    BOOL m_bDrawFlatFocus = FALSE;
    POINT m_ptImageOrg{3, 3};
    POINT m_ptPressedOffset{1, 1};
    // Background and text for "in" (hover or pressed), "out" and "focus".
    COLORREF m_crBkIn = 0, m_crBkOut = 0, m_crBkFocus = 0;
    COLORREF m_crFgIn = 0, m_crFgOut = 0, m_crFgFocus = 0;
    IconSlot m_iconIn, m_iconOut;
    CToolTipCtrl m_toolTip;

    DECLARE_MESSAGE_MAP()
};
