#pragma once
// CPasswordDlg: the "Security Option" dialog (resource 212) in which the
// user types the master password and chooses after how many minutes the
// plug-in forgets it. OK is taken only with the right password; otherwise
// "Password mismatch" is drawn and the dialog stays. Windows build only.
#include "core/crypto/SecretString.h"
#include "framework/CString.h"
#include "framework/Dialog.h"

class CDesktopData;

class CPasswordDlg : public CDialog {
public:
    CPasswordDlg();

    void SetUserName(const CString& name) { m_userName = name; }
    void SetPasswordText(const CSecretString& password) { m_password = password; }
    void SetDesktopData(CDesktopData* data) { m_data = data; }
    void SetTimeout(int enabled, int minutes);
    const CSecretString& GetPassword() const { return m_password; }
    bool IsTimeoutEnabled() const { return m_timeoutEnabled != 0; }
    int GetMinutes() const { return m_minutes; }
    // A desktop data is set, the password is not empty and it is right.
    bool IsPasswordCorrect();

    BOOL OnInitDialog() override;
    void OnOK() override;

    // The spin's step: down from 1 or less gives 999, up from 999 gives 1.
    static int StepMinutes(int minutes, int delta);

protected:
    void OnDeltaPosSpin(NMHDR* header, LRESULT* result);

private:
    // Controls to members, and back.
    void ReadControls();
    void ShowMembers();
    void ShowMismatch();

    CString m_userName;
    CSecretString m_password;
    int m_timeoutEnabled = 0;
    int m_minutes = 0;
    CDesktopData* m_data = nullptr;

    DECLARE_MESSAGE_MAP()
};
