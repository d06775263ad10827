#include "framework/Controls.h"

#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

namespace {
BOOL CreateControl(CWnd& wnd, LPCSTR className, LPCSTR text, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                   UINT nID)
{
    return wnd.CreateEx(0, className, text, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

// An owner-drawn list or combo box gets the parent's WM_DRAWITEM and
// WM_MEASUREITEM back as its DrawItem and MeasureItem.
template <class Box> BOOL OwnerDrawNotify(Box& box, UINT message, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM)
        box.DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    else if (message == WM_MEASUREITEM)
        box.MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    else
        return FALSE;
    if (pResult) *pResult = TRUE;
    return TRUE;
}

// The text of a list or combo box item, through the box's length and text messages.
void ItemText(const CWnd& box, UINT lengthMessage, UINT textMessage, int nIndex, CString& rString)
{
    const int n = (int)box.SendMessage(lengthMessage, (WPARAM)nIndex);
    if (n < 0) {
        rString.Empty();
        return;
    }
    char* buf = rString.GetBuffer(n + 1);
    box.SendMessage(textMessage, (WPARAM)nIndex, (LPARAM)buf);
    rString.ReleaseBuffer();
}
}  // namespace

BOOL CStatic::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateControl(*this, "STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateControl(*this, "BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult)) return TRUE;
    if (message != WM_DRAWITEM) return FALSE;
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult) *pResult = TRUE;
    return TRUE;
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateControl(*this, "EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) const
{
    SendMessage(EM_SETSEL, (WPARAM)nStartChar, nEndChar);
    if (!bNoScroll) SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD start = 0, end = 0;
    SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    nStartChar = (int)start;
    nEndChar = (int)end;
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateControl(*this, "LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return CWnd::OnChildNotify(message, wParam, lParam, pResult) || OwnerDrawNotify(*this, message, lParam, pResult);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    ItemText(*this, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString);
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateControl(*this, "COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return CWnd::OnChildNotify(message, wParam, lParam, pResult) || OwnerDrawNotify(*this, message, lParam, pResult);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    ItemText(*this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxInitCommonControls(ICC_PROGRESS_CLASS);
    return CreateControl(*this, PROGRESS_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxInitCommonControls(ICC_UPDOWN_CLASS);
    return CreateControl(*this, UPDOWN_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}
