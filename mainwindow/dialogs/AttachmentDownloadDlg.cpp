// The attachment download.
#include "mainwindow/dialogs/AttachmentDownloadDlg.h"

#include <windows.h>
#include <shellapi.h>

#include "app/res/RecordDialogsRes.h"
#include "core/items/Record.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/AttachmentCrypter.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "mainwindow/details/AttachmentFileName.h"

BEGIN_MESSAGE_MAP(CAttachmentDownloadDlg, CDialog)
    ON_BN_CLICKED(IDOK, &CAttachmentDownloadDlg::OnDownload)
END_MESSAGE_MAP()

CAttachmentDownloadDlg::CAttachmentDownloadDlg(CWnd* pParent) : CDialog(IDD_ATTACHMENT_DOWNLOAD, pParent) {}

CAttachmentDownloadDlg::~CAttachmentDownloadDlg() { RemoveTemporaryFolder(); }

void CAttachmentDownloadDlg::RemoveTemporaryFolder()
{
    const CString folder = CAppPrefMgr::GetTempDirectory();
    if (!folder.IsEmpty() && PathExists(folder)) DeletePathSilently(folder, nullptr);
}

void CAttachmentDownloadDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_DOWNLOAD_OPEN, m_choice);
}

BOOL CAttachmentDownloadDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_choice = 0;
    UpdateData(FALSE);
    return TRUE;
}

void CAttachmentDownloadDlg::Launch(LPCSTR verb, const CString& path)
{
    ::ShellExecuteA(m_hWnd, verb, path, nullptr, nullptr, SW_SHOW);
}

void CAttachmentDownloadDlg::OnDownload()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
    m_writtenPath.Empty();
    if (!m_record || !m_record->HasAttachment()) return;
    const bool open = m_choice == 0;
    CString folder;
    if (open) {
        folder = CAppPrefMgr::GetTempDirectory();
    } else {
        CString title;
        title.LoadString(IDS_DOWNLOAD_LOCATION);
        if (!AfxGetModalSeam().BrowseForFolder(m_hWnd, title, nullptr, folder) || folder.IsEmpty()) return;
    }
    // The stored name may hold a folder part: only a plain name joins.
    const CString name = SafeAttachmentFileName(m_record->GetAttachmentName());
    const CString target = JoinPath(folder, name);
    if (!open && FileExists(target)) {
        CString question;
        question.Format(IDS_DOWNLOAD_REPLACE_ASK, (LPCSTR)name);
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    }
    CAttachmentCrypter crypter(m_record->GetAttachmentKey(), m_record->GetAttachmentFileName(), m_attachmentsFolder);
    const int result = crypter.DecryptToFile(target);
    if (result != 0) {
        CString text;
        text.Format(IDS_DOWNLOAD_FAILED, (LPCSTR)target, result);
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
        return;
    }
    m_writtenPath = target;
    if (open)
        Launch("open", target);
    else
        Launch("explore", folder);
}
