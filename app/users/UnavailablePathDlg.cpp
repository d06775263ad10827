#include "app/users/UnavailablePathDlg.h"

#include "app/res/ShellDialogsRes.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"

namespace {
const char kDatabaseFileName[] = "ZorvikanDatabase.zdb";
}

BEGIN_MESSAGE_MAP(CUnavailablePathDlg, CDialog)
    ON_BN_CLICKED(IDC_UNAVAILABLE_RETRY, &CUnavailablePathDlg::OnRetry)
    ON_BN_CLICKED(IDC_UNAVAILABLE_CHANGE, &CUnavailablePathDlg::OnChange)
END_MESSAGE_MAP()

CUnavailablePathDlg::CUnavailablePathDlg(CWnd* pParent, CUserItem* pUser, const CString& path)
    : CDialog(IDD_UNAVAILABLE_PATH, pParent), m_strPath(path), m_pUser(pUser)
{}

void CUnavailablePathDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_UNAVAILABLE_PATH, m_strPath);
}

void CUnavailablePathDlg::OnRetry() { EndDialog(kRetry); }

void CUnavailablePathDlg::OnChange()
{
    CString title;
    title.LoadString(IDS_CHOOSE_DATABASE_FOLDER);
    CString folder;
    if (!AfxGetModalSeam().BrowseForFolder(m_hWnd, title, nullptr, folder) || folder.IsEmpty()) return;
    // The key name goes into the path as it is.
    const CString keyName = m_pUser ? m_pUser->GetKeyName() : CString();
    if (FileExists(JoinPath(JoinPath(folder, keyName), kDatabaseFileName))) {
        AfxMessageBox(IDS_DATABASE_EXISTS_THERE, MB_OK);
        return;
    }
    m_strPath = folder;
    UpdateData(FALSE);
    if (m_pUser) CAppPrefMgr::GetInstance()->GetPrefs()->SetUserDirectory(m_pUser, JoinPath(folder, keyName));
    EndDialog(kChanged);
}
