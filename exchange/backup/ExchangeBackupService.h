#pragma once
// CExchangeBackupService: the backup service of the import and export,
// with the user's folders and backup counter from the preferences and the
// master key from the master-password manager.
#include "app/services/BackupService.h"

class CExchangeBackupService : public IBackupService {
public:
    unsigned WriteBackup(const CDatabaseObj& db, CUserItem* user, const CString& path,
                         const BlowfishContext* cipher) override;
    void BackupOnExit(const CDatabaseObj& db, CUserItem* user) override;
    CString MessageText(unsigned messageId) const override;
    bool ShowTip(CWnd* parent, CUserItem* user, int kind) override;
    bool AskBackupName(CWnd* parent, const CString& folder, CString& path) override;
    RestoreOutcome Restore(CDatabaseObj& db, CUserItem* user, const CString& path,
                           const PasswordAsk& askPassword) override;
};

// Installs a service for its lifetime, and puts the previous one back.
class CScopedBackupService {
public:
    explicit CScopedBackupService(IBackupService* service) : m_previous(SetBackupService(service)) {}
    ~CScopedBackupService() { SetBackupService(m_previous); }
    CScopedBackupService(const CScopedBackupService&) = delete;
    CScopedBackupService& operator=(const CScopedBackupService&) = delete;

private:
    IBackupService* m_previous;
};
