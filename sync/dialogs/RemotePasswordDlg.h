#pragma once
// The prompt for the password of a remote database file protected by
// another password than the current one: "OK" takes the typed password,
// "Skip File.." skips the file.
#include "core/crypto/SecretString.h"
#include "framework/Dialog.h"
#include "sync/files/SyncDatabase.h"

class CRemotePasswordDlg : public CDialog {
public:
    explicit CRemotePasswordDlg(CWnd* pParent);
    ~CRemotePasswordDlg() override;

    CSecretString m_strPassword;  // control 1140

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// The sync job's prompt through that dialog.
class CRemotePasswordDlgPrompt : public CRemotePasswordPrompt {
public:
    explicit CRemotePasswordDlgPrompt(CWnd* pParent) : m_pParent(pParent) {}
    bool Ask(const CString& remotePath, CSecretString& password) override;

private:
    CWnd* m_pParent;
};
