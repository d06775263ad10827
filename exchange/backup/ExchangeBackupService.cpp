// Backup and restore with the user's folders and keys.
#include "exchange/backup/ExchangeBackupService.h"

#include "core/os/ChangeNotify.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "exchange/ExchangeIds.h"
#include "exchange/backup/BackupRotation.h"
#include "exchange/backup/DatabaseRestore.h"
#include "exchange/dialogs/ExchangeMessages.h"
#include "exchange/dialogs/ExportDialogs.h"

unsigned CExchangeBackupService::WriteBackup(const CDatabaseObj& db, CUserItem* user, const CString& path,
                                             const BlowfishContext* cipher)
{
    const CString attachments = user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString();
    return WriteBackupFolder(db, path, cipher, attachments);
}

void CExchangeBackupService::BackupOnExit(const CDatabaseObj& db, CUserItem* user)
{
    if (!user) return;
    std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
    std::shared_ptr<CAppPrefs> prefs = manager->GetPrefs();
    int counter = prefs->GetBackupFileCounter(user);
    const int before = counter;
    const BlowfishKeyPtr key = GetMasterPwdMgr()->GetKey();
    WriteAutomaticBackup(db, manager->GetUserBackupDirectory(user), counter, key.get(),
                         manager->GetAttachmentsDirectory(user));
    if (counter != before) prefs->SetBackupFileCounter(user, counter);
}

CString CExchangeBackupService::MessageText(unsigned messageId) const { return ExchangeMessageText(messageId); }

IBackupService::RestoreOutcome CExchangeBackupService::Restore(CDatabaseObj& db, CUserItem* user, const CString& path,
                                                               const PasswordAsk& askPassword)
{
    const CString attachments = user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString();
    RestoreResult result = RestoreFromFile(db, path, GetMasterPwdMgr()->GetKey(), askPassword, attachments);
    RestoreOutcome outcome;
    outcome.restored = result.outcome == RestoreResult::kRestored;
    outcome.cancelled = result.outcome == RestoreResult::kCancelled;
    if (result.outcome == RestoreResult::kSaveFailed) {
        outcome.messageText = kTextRestoreSaveFailed;
    } else {
        outcome.messageId = result.messageId;
        outcome.messageText = ExchangeMessageText(result.messageId);
    }
    outcome.previous = std::move(result.previous);
    if (outcome.restored && result.notices) result.notices->PostAll(user);
    return outcome;
}

bool CExchangeBackupService::ShowTip(CWnd* parent, CUserItem* user, int kind)
{
    CExportImportTipDlg dlg(parent, kind, user);
    return dlg.DoModal() == IDOK;
}

bool CExchangeBackupService::AskBackupName(CWnd* parent, const CString& folder, CString& path)
{
    CGetFileNameDlg dlg(parent);
    dlg.m_strPath = folder;
    if (dlg.DoModal() != IDOK) return false;
    path = dlg.m_strPath;
    return true;
}
