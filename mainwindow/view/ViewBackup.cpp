// The main view's backup and restore commands and its backup when the
// program ends. The work is the backup service's (app/services/
// BackupService.h); the view asks the user and shows the outcome.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "app/logon/GetExportPasswordDlg.h"
#include "app/services/BackupService.h"
#include "app/services/ExchangeService.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/Record.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/CommonDialogs.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"

namespace {

// The backup folder's prompt; the other texts are the string table's
// (string ids in MainWindowIds.h).
const char kTextBackupFolderPrompt[] = "Choose the location...";
// The tips' kinds (the export's tip dialog serves all four).
const int kTipBackup = 2;
const int kTipRestore = 3;

CString TableText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

// The folder without a closing backslash (a drive's root keeps it).
CString WithoutClosingBackslash(CString folder)
{
    while (folder.GetLength() > 3 && folder[folder.GetLength() - 1] == '\\') folder.Truncate(folder.GetLength() - 1);
    return folder;
}

}  // namespace

void CZorvikanDesktopView::OnBackup()
{
    IBackupService* service = GetBackupService();
    if (!service) return;
    CUserItem* user = CurrentUser();
    if (user && (CAppPrefMgr::GetInstance()->GetPrefs()->GetBackupRestoreHint(user) & 0xFFFF) != 0 &&
        !service->ShowTip(this, user, kTipBackup))
        return;
    CString folder;
    if (!AfxBrowseForFolder(this, kTextBackupFolderPrompt, nullptr, folder) || folder.IsEmpty()) return;
    // The backup's name, in the chosen folder: the folder export's name.
    CString path;
    if (!service->AskBackupName(this, WithoutClosingBackslash(folder), path) || path.IsEmpty()) return;
    CGetExportPasswordDlg passwordDialog(this);
    if (passwordDialog.DoModal() != IDOK) return;
    const BlowfishKeyPtr cipher =
        passwordDialog.m_strPassword.IsEmpty() ? nullptr : MakeBlowfishKey(passwordDialog.m_strPassword);
    if (service->WriteBackup(m_database, user, path, cipher.get()) != 0)
        AfxMessageBox(IDS_EXPORT_WRITE_FAILED, MB_OK | MB_ICONEXCLAMATION);
    else
        AfxMessageBox(IDS_BACKUP_DONE, MB_OK);
}

void CZorvikanDesktopView::OnRestoreZkvFolder()
{
    IBackupService* service = GetBackupService();
    CUserItem* user = CurrentUser();
    if (service && user && ((unsigned)CAppPrefMgr::GetInstance()->GetPrefs()->GetBackupRestoreHint(user) >> 16) != 0 &&
        !service->ShowTip(this, user, kTipRestore))
        return;
    CString folder;
    if (!AfxBrowseForFolder(this, TableText(IDS_ZKV_FOLDER_PROMPT), nullptr, folder)) return;
    folder = WithoutClosingBackslash(folder);
    // The exchange file inside the folder bears the folder's name.
    const CString path = folder.IsEmpty() ? CString() : JoinPath(folder, GetFileNameOfPath(folder));
    if (path.IsEmpty()) return;
    RestoreFromFile(path);
}

void CZorvikanDesktopView::OnRestoreZkvFile()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY,
                       TableText(IDS_ZKV_FILE_FILTER), this);
    const CString title = TableText(IDS_RESTORE_TITLE);
    dialog.m_ofn.lpstrTitle = title;
    const CString start =
        CurrentUser() ? CAppPrefMgr::GetInstance()->GetBackupFolderOrDocuments(CurrentUser()) : CString();
    if (!start.IsEmpty()) dialog.m_ofn.lpstrInitialDir = start.GetString();
    if (dialog.DoModal() != IDOK || dialog.GetPathName().IsEmpty()) return;
    RestoreFromFile(dialog.GetPathName());
}

void CZorvikanDesktopView::RestoreFromFile(const CString& path)
{
    IBackupService* service = GetBackupService();
    if (!service) return;
    if (AfxMessageBox(IDS_RESTORE_CONFIRM, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) return;
    CUserItem* user = CurrentUser();
    IBackupService::RestoreOutcome outcome =
        service->Restore(m_database, user, path, [this](const std::string& text) { return AskRestorePassword(text); });
    if (outcome.cancelled) return;
    if (!outcome.restored) {
        if (!outcome.messageText.IsEmpty()) AfxMessageBox(outcome.messageText, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The rows and the details pane show records that are about to be freed.
    if (m_recordList.m_hWnd) m_recordList.DeleteAllItems();
    ShowDetails(nullptr);
    // The records the database held are gone: the event log and the smart
    // lists hear of each before they are freed.
    CZorvikanDesktopApp* app = App();
    if (app && outcome.previous) {
        CRecordList& old = outcome.previous->GetRecords();
        for (POSITION pos = old.GetHeadPosition(); pos;) {
            CRecord* record = static_cast<CRecord*>(old.GetNext(pos));
            if (!record->IsDeleted()) app->OnRecordDeleted(record);
        }
    }
    outcome.previous.reset();
    ReloadAndRefresh(user, false);
    m_pluginLink.SignalDatabaseChange();
}

BlowfishKeyPtr CZorvikanDesktopView::AskRestorePassword(const std::string& text)
{
    // The import's password prompt, asked until the password opens the
    // file or the user cancels.
    IExchangeService* exchange = GetExchangeService();
    if (!exchange) return nullptr;
    m_pluginLink.SetBusy(1);
    BlowfishKeyPtr key = exchange->AskImportPassword(this, text);
    m_pluginLink.SetBusy(0);
    return key;
}

void CZorvikanDesktopView::BackupOnExit()
{
    IBackupService* service = GetBackupService();
    CUserItem* user = CurrentUser();
    if (service && user) service->BackupOnExit(m_database, user);
}
