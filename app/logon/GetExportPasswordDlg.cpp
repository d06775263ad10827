#include "app/logon/GetExportPasswordDlg.h"

#include <windows.h>

#include "app/logon/LogonRes.h"
#include "app/logon/PasswordRules.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "toolkit/SecretDataExchange.h"

CGetExportPasswordDlg::CGetExportPasswordDlg(CWnd* pParent) : CDialog(IDD_GETEXPORTPASSWORD, pParent) {}

void CGetExportPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, 32);
    DDX_Text(pDX, IDC_CONFIRM_PASSWORD, m_strConfirmation);
    DDV_MaxChars(pDX, m_strConfirmation, 32);
}

void CGetExportPasswordDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_strPassword.Compare(m_strConfirmation) != 0) {
        AfxMessageBox(IDS_PASSWORDS_DONT_MATCH, MB_OK);
        return;
    }
    if (IsAcceptablePassword(m_strPassword))
        EndDialog(IDOK);
    else
        AfxMessageBox(IDS_PASSWORD_TOO_SIMPLE, MB_OK);
}
