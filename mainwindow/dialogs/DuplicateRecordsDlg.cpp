// The duplicate records' confirmation.
#include "mainwindow/dialogs/DuplicateRecordsDlg.h"

#include "app/res/RecordDialogsRes.h"

CDuplicateRecordsDlg::CDuplicateRecordsDlg(const std::vector<CString>& titles, CWnd* pParent)
    : CDialog(IDD_DUPLICATE_RECORDS, pParent), m_titles(titles)
{}

BOOL CDuplicateRecordsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString text;
    text.Format("%d duplicate item(s) found. Do you want to delete these item(s)?", (int)m_titles.size());
    SetDlgItemText(IDC_DUPLICATES_TEXT, text);
    for (const CString& title : m_titles)
        SendDlgItemMessage(IDC_DUPLICATES_LIST, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)title);
    return TRUE;
}
