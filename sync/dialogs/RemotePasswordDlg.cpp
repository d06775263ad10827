#include "sync/dialogs/RemotePasswordDlg.h"

#include <windows.h>

#include "app/res/SyncFilesRes.h"
#include "framework/DataExchange.h"
#include "toolkit/SecretDataExchange.h"

CRemotePasswordDlg::CRemotePasswordDlg(CWnd* pParent) : CDialog(IDD_REMOTE_FILE_PASSWORD, pParent) {}

CRemotePasswordDlg::~CRemotePasswordDlg() { m_strPassword.Empty(); }

void CRemotePasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_REMOTE_PASSWORD, m_strPassword);
}

bool CRemotePasswordDlgPrompt::Ask(const CString& /*remotePath*/, CSecretString& password)
{
    CRemotePasswordDlg dlg(m_pParent);
    if (dlg.DoModal() != IDOK) return false;
    password = dlg.m_strPassword;
    return true;
}
