#include "exchange/dialogs/ConfirmationDlg.h"

#include <windows.h>

#include "app/res/ExchangeRes.h"
#include "core/items/BaseItem.h"
#include "exchange/ExchangeIds.h"

namespace {

// Moves a child down by dy pixels.
void MoveDown(HWND dialog, int id, int dy)
{
    const HWND child = ::GetDlgItem(dialog, id);
    RECT r;
    if (!child || !::GetWindowRect(child, &r)) return;
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    ::SetWindowPos(child, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CConfirmationDlg::CConfirmationDlg(CWnd* pParent) : CDialog(IDD_CONFIRMATION, pParent) {}

BOOL CConfirmationDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const int count = (int)m_items.size();
    CString text;
    if (m_bImportMode) {
        SetWindowText("Import Confirmation");
        text.Format(kTextImportedItems, count);
        if (!m_strLeftOut.IsEmpty()) text += "\r\n" + m_strLeftOut;
        if (CWnd* yes = GetDlgItem(IDOK)) yes->ShowWindow(SW_HIDE);
        SetDlgItemText(IDCANCEL, "OK");
    } else {
        text.Format("%d duplicate item(s) found. Do you want to delete these item(s)?", count);
    }
    SetDlgItemText(IDC_CONFIRMATION_TEXT, text);
    FitText(text);
    const HWND list = ::GetDlgItem(m_hWnd, IDC_CONFIRMATION_LIST);
    for (CBaseItem* item : m_items)
        if (item) ::SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)item->GetField(0));
    return TRUE;
}

void CConfirmationDlg::FitText(const CString& text)
{
    const HWND label = ::GetDlgItem(m_hWnd, IDC_CONFIRMATION_TEXT);
    RECT r;
    if (!label || !::GetWindowRect(label, &r)) return;
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    RECT need = {0, 0, r.right - r.left, 0};
    const HDC dc = ::GetDC(label);
    const HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)::SendMessageA(label, WM_GETFONT, 0, 0));
    ::DrawTextA(dc, text, text.GetLength(), &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    // A report of lines left out may need more lines than the template
    // gives: the text grows, and the list, the buttons and the dialog move
    // down with it.
    const int dy = need.bottom - (r.bottom - r.top);
    if (dy <= 0) return;
    ::SetWindowPos(label, nullptr, 0, 0, r.right - r.left, need.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {IDC_CONFIRMATION_LIST, IDOK, IDCANCEL}) MoveDown(m_hWnd, id, dy);
    RECT frame;
    ::GetWindowRect(m_hWnd, &frame);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
