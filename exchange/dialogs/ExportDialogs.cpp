#include "exchange/dialogs/ExportDialogs.h"

#include <windows.h>

#include "app/res/ExchangeRes.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
#include "framework/ModalSeam.h"

namespace {
const int kFolderFormat = 5;
}  // namespace

// ---- CExportRecordsDlg ---------------------------------------------------------------

BEGIN_MESSAGE_MAP(CExportRecordsDlg, CDialog)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_EXPORT_ALL, IDC_EXPORT_SELECTED, &CExportRecordsDlg::OnScopeClicked)
END_MESSAGE_MAP()

CExportRecordsDlg::CExportRecordsDlg(CWnd* pParent, std::function<bool(int)> hasAttachmentInScope)
    : CDialog(IDD_EXPORT_RECORDS, pParent), m_hasAttachmentInScope(std::move(hasAttachmentInScope))
{}

void CExportRecordsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_EXPORT_ALL, m_nScope);
    DDX_Check(pDX, IDC_WITH_ATTACHMENTS, m_bWithAttachments);
}

void CExportRecordsDlg::FollowScope(int scope)
{
    m_bHasAttachments = m_hasAttachmentInScope && m_hasAttachmentInScope(scope);
    m_bWithAttachments = m_bHasAttachments ? TRUE : FALSE;
    if (CWnd* check = GetDlgItem(IDC_WITH_ATTACHMENTS)) check->EnableWindow(m_bHasAttachments);
}

BOOL CExportRecordsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_nFormat == kFolderFormat) {
        FollowScope(m_nScope);
    } else if (CWnd* check = GetDlgItem(IDC_WITH_ATTACHMENTS)) {
        check->EnableWindow(FALSE);
    }
    UpdateData(FALSE);
    return TRUE;
}

void CExportRecordsDlg::OnScopeClicked(UINT nID)
{
    if (m_nFormat != kFolderFormat) return;
    UpdateData(TRUE);
    FollowScope((int)(nID - IDC_EXPORT_ALL));
    UpdateData(FALSE);
}

// ---- CGetFileNameDlg --------------------------------------------------------------------

CGetFileNameDlg::CGetFileNameDlg(CWnd* pParent) : CDialog(IDD_GET_FILE_NAME, pParent) {}

void CGetFileNameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_FILE_NAME, m_strName);
}

BOOL CGetFileNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HWND name = ::GetDlgItem(m_hWnd, IDC_FILE_NAME);
    ::SetFocus(name);
    ::SendMessageA(name, EM_SETSEL, 0, -1);
    return FALSE;
}

void CGetFileNameDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_strName.IsEmpty()) {
        AfxMessageBox("Please enter valid filename.", MB_OK);
        return;
    }
    // The name stays inside the chosen folder: a typed "..\\x" or "C:\\x"
    // must never name, let alone replace, a folder elsewhere.
    const CString path = JoinPath(m_strPath, MakeSafeFileName(m_strName) + ".zkv");
    if (PathExists(path)) {
        CString question;
        if (!question.LoadString(IDS_REPLACE_EXISTING))
            question = "Filename already exists. Do you want to replace it? ";
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
        DeletePathSilently(path, m_hWnd);
    }
    m_strPath = path;
    EndDialog(IDOK);
}

// ---- CExportImportTipDlg -------------------------------------------------------------

CExportImportTipDlg::CExportImportTipDlg(CWnd* pParent, int kind, CUserItem* user)
    : CDialog(kind == kImport ? IDD_IMPORT_TIP : IDD_EXPORT_TIP, pParent), m_nKind(kind), m_pUser(user)
{}

BOOL CExportImportTipDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_TIP_BUTTON, m_nKind == kImport ? "Import" : "Export");
    SetWindowText(m_nKind == kImport ? "Zorvikan Import tip" : "Zorvikan Export tip");
    return TRUE;
}

void CExportImportTipDlg::OnOK()
{
    if (::IsDlgButtonChecked(m_hWnd, IDC_DONT_SHOW_AGAIN) == BST_CHECKED && m_pUser) {
        std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
        const unsigned hint = (unsigned)prefs->GetExportImportHint(m_pUser);
        prefs->SetExportImportHint(m_pUser, (int)(m_nKind == kImport ? (hint & 0xFFFFu) : (hint & 0xFFFF0000u)));
    }
    EndDialog(IDOK);
}
