#include "exchange/dialogs/ConfirmationDlg.h"

#include <windows.h>

#include "app/res/ExchangeRes.h"
#include "core/items/BaseItem.h"

CConfirmationDlg::CConfirmationDlg(CWnd* pParent) : CDialog(IDD_CONFIRMATION, pParent) {}

BOOL CConfirmationDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const int count = (int)m_items.size();
    CString text;
    if (m_bImportMode) {
        SetWindowText("Import Confirmation");
        text.Format("%d item(s) were imported.", count);
        if (CWnd* yes = GetDlgItem(IDOK)) yes->ShowWindow(SW_HIDE);
        SetDlgItemText(IDCANCEL, "OK");
    } else {
        text.Format("%d duplicate item(s) found. Do you want to delete these item(s)?", count);
    }
    SetDlgItemText(IDC_CONFIRMATION_TEXT, text);
    const HWND list = ::GetDlgItem(m_hWnd, IDC_CONFIRMATION_LIST);
    for (CBaseItem* item : m_items)
        if (item) ::SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)item->GetField(0));
    return TRUE;
}
