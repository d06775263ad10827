#pragma once
// CGetPasswordDlg: asks for a user's master password before that user's
// records are shown. Counts failed attempts per user across runs, warns
// from five attempts left, and on the tenth failure in a row deletes the
// user's database, attachments and custom icons. On success it keys the
// process-wide master password with the typed text.
#include "core/crypto/SecretString.h"
#include "framework/CString.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CUserItem;
class CUserList;

class CGetPasswordDlg : public CDialog {
public:
    // Template 174 (with the user choice) when severalUsers, else 212.
    CGetPasswordDlg(CWnd* pParent, bool severalUsers);

    CWnd m_userCombo;             // control 1043
    CSecretString m_strPassword;  // control 1042, at most 32 characters
    // Preselected by the opener; after OK, the user who logged on.
    CUserItem* m_pUser = nullptr;
    // The user choice is disabled.
    bool m_bLockUser = false;
    // Button 2 reads "Cancel" instead of "Quit".
    bool m_bCancelCaption = false;
    int m_nAttemptCount = 0;
    int m_nAttemptsLeft = 0;
    // The users offered by the choice (the application's list); without one
    // only the preselected user is offered.
    CUserList* m_pUsers = nullptr;

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSelChangeUser();
    void OnHint();

private:
    CUserItem* SelectedUser() const;
    void ReadAttemptCount();
    void ShowAttemptsLabel(bool show);
    void LockOut(CUserItem* user);

    CFont m_labelFont;

    DECLARE_MESSAGE_MAP()
};

// The lock-out's deletion: the files lying directly in the user's data
// folder (the database among them) and its "Files" and "Icons" folders.
// Nothing is deleted when the user has no folder or the folder is the data
// root, lies above it or is one of its fixed folders. Failures are ignored.
void DeleteLockedOutUserData(CUserItem* user);
