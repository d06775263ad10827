#pragma once
// Wrappers of the standard controls: each forwards to the control's
// messages. Owner-drawn controls receive their WM_DRAWITEM/WM_MEASUREITEM
// back from the parent (reflection) as the DrawItem/MeasureItem overridables.

#include <windows.h>
#include <commctrl.h>

#include "framework/CString.h"
#include "framework/Wnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    using CWnd::Create;
    BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);
    HICON SetIcon(HICON hIcon) const { return (HICON)SendMessage(STM_SETICON, (WPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON); }
    HBITMAP SetBitmap(HBITMAP hBitmap) const
    {
        return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(STM_GETIMAGE, IMAGE_BITMAP); }
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    // ---- Overridables ---------------------------------------------------
    // Paints an owner-drawn button (BS_OWNERDRAW).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // ---- Operations -----------------------------------------------------
    using CWnd::Create;
    BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int nCheck) const { SendMessage(BM_SETCHECK, (WPARAM)nCheck); }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL bHighlight) const { SendMessage(BM_SETSTATE, (WPARAM)bHighlight); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) const { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
    HICON SetIcon(HICON hIcon) const { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
    HBITMAP SetBitmap(HBITMAP hBitmap) const
    {
        return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE) const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE) const
    {
        SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
    }
    void LimitText(int nChars = 0) const { SendMessage(EM_LIMITTEXT, (WPARAM)nChars); }
    void SetReadOnly(BOOL bReadOnly = TRUE) const { SendMessage(EM_SETREADONLY, bReadOnly); }
    void SetPasswordChar(char ch) const { SendMessage(EM_SETPASSWORDCHAR, (WPARAM)(BYTE)ch); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL bModified = TRUE) const { SendMessage(EM_SETMODIFY, bModified); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }
    void SetMargins(UINT nLeft, UINT nRight) const
    {
        SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight));
    }
    void Clear() const { SendMessage(WM_CLEAR); }
    void Copy() const { SendMessage(WM_COPY); }
    void Cut() const { SendMessage(WM_CUT); }
    void Paste() const { SendMessage(WM_PASTE); }
    BOOL Undo() const { return (BOOL)SendMessage(EM_UNDO); }
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    // ---- Overridables (owner-drawn list boxes) ---------------------------
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // ---- Operations -----------------------------------------------------
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
    int AddString(LPCSTR lpszItem) const { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)lpszItem); }
    int InsertString(int nIndex, LPCSTR lpszItem) const
    {
        return (int)SendMessage(LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszItem);
    }
    int DeleteString(UINT nIndex) const { return (int)SendMessage(LB_DELETESTRING, nIndex); }
    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
    int SetCurSel(int nSelect) const { return (int)SendMessage(LB_SETCURSEL, (WPARAM)nSelect); }
    int GetSel(int nIndex) const { return (int)SendMessage(LB_GETSEL, (WPARAM)nIndex); }
    int SetSel(int nIndex, BOOL bSelect = TRUE) const { return (int)SendMessage(LB_SETSEL, bSelect, nIndex); }
    int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT); }
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)nIndex); }
    DWORD_PTR GetItemData(int nIndex) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, (WPARAM)nIndex); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) const
    {
        return (int)SendMessage(LB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }
    int FindStringExact(int nIndexStart, LPCSTR lpszFind) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX); }
    int SetTopIndex(int nIndex) const { return (int)SendMessage(LB_SETTOPINDEX, (WPARAM)nIndex); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) const
    {
        return (int)SendMessage(LB_SETITEMHEIGHT, (WPARAM)nIndex, MAKELONG(cyItemHeight, 0));
    }
    int GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return (int)SendMessage(LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect);
    }
};

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    // ---- Overridables (owner-drawn combo boxes) ---------------------------
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // ---- Operations -----------------------------------------------------
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int AddString(LPCSTR lpszString) const { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)lpszString); }
    int InsertString(int nIndex, LPCSTR lpszString) const
    {
        return (int)SendMessage(CB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszString);
    }
    int DeleteString(UINT nIndex) const { return (int)SendMessage(CB_DELETESTRING, nIndex); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int nSelect) const { return (int)SendMessage(CB_SETCURSEL, (WPARAM)nSelect); }
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const { return (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)nIndex); }
    DWORD_PTR GetItemData(int nIndex) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)nIndex); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) const
    {
        return (int)SendMessage(CB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }
    int FindStringExact(int nIndexStart, LPCSTR lpszFind) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCSTR lpszString) const
    {
        return (int)SendMessage(CB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString);
    }
    void ShowDropDown(BOOL bShowIt = TRUE) const { SendMessage(CB_SHOWDROPDOWN, bShowIt); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE); }
    BOOL LimitText(int nMaxChars) const { return (BOOL)SendMessage(CB_LIMITTEXT, (WPARAM)nMaxChars); }
    DWORD GetEditSel() const { return (DWORD)SendMessage(CB_GETEDITSEL); }
    BOOL SetEditSel(int nStartChar, int nEndChar) const
    {
        return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELONG(nStartChar, nEndChar));
    }
    int SetItemHeight(int nIndex, UINT cyItemHeight) const
    {
        return (int)SendMessage(CB_SETITEMHEIGHT, (WPARAM)nIndex, MAKELONG(cyItemHeight, 0));
    }
    int SetDroppedWidth(UINT nWidth) const { return (int)SendMessage(CB_SETDROPPEDWIDTH, nWidth); }
};

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) const { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) const
    {
        ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
    }
};

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper) const { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) const { SendMessage(PBM_SETRANGE32, (WPARAM)nLower, nUpper); }
    int SetPos(int nPos) const { return (int)SendMessage(PBM_SETPOS, (WPARAM)nPos); }
    int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
    int OffsetPos(int nPos) const { return (int)SendMessage(PBM_DELTAPOS, (WPARAM)nPos); }
    int SetStep(int nStep) const { return (int)SendMessage(PBM_SETSTEP, (WPARAM)nStep); }
    int StepIt() const { return (int)SendMessage(PBM_STEPIT); }
    BOOL SetMarquee(BOOL fMarqueeMode, int nInterval) const
    {
        return (BOOL)SendMessage(PBM_SETMARQUEE, fMarqueeMode, nInterval);
    }
};

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    // GDT_VALID when a date is set.
    DWORD GetTime(SYSTEMTIME* pTime) const { return (DWORD)SendMessage(DTM_GETSYSTEMTIME, 0, (LPARAM)pTime); }
    BOOL SetTime(const SYSTEMTIME* pTime) const
    {
        return (BOOL)SendMessage(DTM_SETSYSTEMTIME, pTime ? GDT_VALID : GDT_NONE, (LPARAM)pTime);
    }
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper) const { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
    void SetRange32(int nLower, int nUpper) const { SendMessage(UDM_SETRANGE32, (WPARAM)nLower, nUpper); }
    void GetRange32(int& nLower, int& nUpper) const { SendMessage(UDM_GETRANGE32, (WPARAM)&nLower, (LPARAM)&nUpper); }
    int SetPos(int nPos) const { return (int)SendMessage(UDM_SETPOS32, 0, nPos); }
    int GetPos() const { return (int)SendMessage(UDM_GETPOS32); }
    CWnd* SetBuddy(CWnd* pWndBuddy) const
    {
        return FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)(pWndBuddy ? pWndBuddy->m_hWnd : nullptr)));
    }
    CWnd* GetBuddy() const { return FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
};
