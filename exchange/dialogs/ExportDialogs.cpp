#include "exchange/dialogs/ExportDialogs.h"

#include <windows.h>

#include "app/res/ExchangeRes.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/DC.h"
#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
#include "framework/ModalSeam.h"

namespace {
const int kFolderFormat = 5;
// The tip dialogs' strip below the white panel.
const int kTipStripHeight = 36;
}  // namespace

// ---- CExportRecordsDlg ---------------------------------------------------------------

BEGIN_MESSAGE_MAP(CExportRecordsDlg, CDialog)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_EXPORT_ALL, IDC_EXPORT_SELECTED, &CExportRecordsDlg::OnScopeClicked)
END_MESSAGE_MAP()

CExportRecordsDlg::CExportRecordsDlg(CWnd* pParent, std::function<bool(int)> hasAttachmentInScope, int kind)
    : CDialog(kind == kEmail ? IDD_EMAIL_RECORDS : IDD_EXPORT_RECORDS, pParent),
      m_hasAttachmentInScope(std::move(hasAttachmentInScope)), m_nKind(kind)
{}

void CExportRecordsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_EXPORT_ALL, m_nScope);
    DDX_Check(pDX, IDC_WITH_ATTACHMENTS, m_bWithAttachments);
    if (m_nKind == kEmail) DDX_Text(pDX, IDC_ZKV_NAME, m_strName);
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

namespace {

UINT TipTemplate(int kind)
{
    switch (kind) {
    case CExportImportTipDlg::kExport: return IDD_EXPORT_TIP;
    case CExportImportTipDlg::kBackup: return IDD_BACKUP_TIP;
    default:  // import and restore read the same kind of folder
        return IDD_IMPORT_TIP;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CExportImportTipDlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CExportImportTipDlg::CExportImportTipDlg(CWnd* pParent, int kind, CUserItem* user)
    : CDialog(TipTemplate(kind), pParent), m_nKind(kind), m_pUser(user)
{}

BOOL CExportImportTipDlg::OnInitDialog()
{
    static const char* const kButtons[] = {"Export", "Import", "Backup", "Restore"};
    static const char* const kTitles[] = {"Zorvikan Export tip", "Zorvikan Import tip", "Zorvikan Backup tip",
                                          "Zorvikan Restore tip"};
    CDialog::OnInitDialog();
    const int kind = (m_nKind >= kExport && m_nKind <= kRestore) ? m_nKind : kExport;
    SetDlgItemText(IDC_TIP_BUTTON, kButtons[kind]);
    SetWindowText(kTitles[kind]);
    return TRUE;
}

BOOL CExportImportTipDlg::OnEraseBkgnd(CDC* pDC)
{
    const HDC dc = pDC->GetSafeHdc();
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_3DFACE));
    RECT panel = client;
    panel.bottom = client.bottom - kTipStripHeight > client.top ? client.bottom - kTipStripHeight : client.top;
    ::FillRect(dc, &panel, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::DrawEdge(dc, &panel, EDGE_SUNKEN, BF_RECT);
    return TRUE;
}

HBRUSH CExportImportTipDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT)
{
    const HDC dc = pDC->GetSafeHdc();
    const int id = pWnd ? ::GetDlgCtrlID(pWnd->m_hWnd) : 0;
    if (id >= IDC_TIP_TEXT_FIRST && id <= IDC_TIP_TEXT_LAST) {
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::SetTextColor(dc, RGB(0, 0, 0));
        return (HBRUSH)::GetStockObject(WHITE_BRUSH);
    }
    ::SetBkColor(dc, ::GetSysColor(COLOR_3DFACE));
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    return ::GetSysColorBrush(COLOR_3DFACE);
}

void CExportImportTipDlg::OnOK()
{
    if (::IsDlgButtonChecked(m_hWnd, IDC_DONT_SHOW_AGAIN) == BST_CHECKED && m_pUser) {
        std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
        // Each kind clears its own half: imports and restores the high one,
        // exports and backups the low one.
        const bool clearsHigh = m_nKind == kImport || m_nKind == kRestore;
        const unsigned keep = clearsHigh ? 0xFFFFu : 0xFFFF0000u;
        if (m_nKind == kBackup || m_nKind == kRestore)
            prefs->SetBackupRestoreHint(m_pUser, (int)((unsigned)prefs->GetBackupRestoreHint(m_pUser) & keep));
        else
            prefs->SetExportImportHint(m_pUser, (int)((unsigned)prefs->GetExportImportHint(m_pUser) & keep));
    }
    EndDialog(IDOK);
}
