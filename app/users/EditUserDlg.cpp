#include "app/users/EditUserDlg.h"

#include "app/res/ShellDialogsRes.h"
#include "framework/DataExchange.h"

CEditUserDlg::CEditUserDlg(CWnd* pParent) : CDialog(IDD_EDIT_USER, pParent) {}

void CEditUserDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_USER_NAME, m_strName);
}
