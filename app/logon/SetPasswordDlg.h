#pragma once
// The dialogs that set a master password: CSetPasswordDlg changes one (old
// password, new one twice), CSetPasswordNoOldDlg sets one where there is
// none, or in its welcome form makes the user choose one that meets the
// installer's requirements. Both rate the new password as it is typed and
// store the optional hint before closing; the opener stores the password.
#include "app/logon/PasswordStrengthMeter.h"
#include "core/crypto/SecretString.h"
#include "framework/CString.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CUserItem;

// What both dialogs share: the meter, the hint question and answer, and the
// checks of a new password.
class CNewPasswordDlgBase : public CDialog {
public:
    // The user whose hint is stored.
    CUserItem* m_pUser = nullptr;
    // The application section that may hold "Password requirements"; the
    // opener sets it (CZorvikanDesktopApp::GetPrefsSection).
    CString m_strPrefsSection;

    CPasswordStrengthMeter m_meter;
    CFont m_labelFont;
    CWnd m_questionCombo;       // control 1209
    CSecretString m_strAnswer;  // control 1210, at most 16 characters

    BOOL OnInitDialog() override;

protected:
    CNewPasswordDlgBase(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

    void ExchangeHintQuestion(CDataExchange* pDX);
    // Each shows its message and returns false when the dialog stays open.
    bool CheckConfirmation(const CSecretString& password, const CSecretString& confirmation);
    bool CheckAcceptable(const CSecretString& password);
    bool CheckRequirements(const CSecretString& password);
    // Stores (or, for an empty text, removes) the user's hint; false when the
    // question and answer do not go together and the dialog stays open.
    bool StoreHint(const CString& hintText);

    void OnPaint();
    void OnChangeNewPassword();

    DECLARE_MESSAGE_MAP()
};

class CSetPasswordDlg : public CNewPasswordDlgBase {
public:
    explicit CSetPasswordDlg(CWnd* pParent);

    CSecretString m_strNewPassword;   // control 1042; read by the opener after OK
    CSecretString m_strConfirmation;  // control 1043
    CSecretString m_strOldPassword;   // control 1041
    CString m_strHint;                // control 1048

    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CSetPasswordNoOldDlg : public CNewPasswordDlgBase {
public:
    // Template 215 (welcome form) or 176.
    CSetPasswordNoOldDlg(CWnd* pParent, bool welcomeForm);

    CSecretString m_strConfirmation;  // control 1043
    CSecretString m_strNewPassword;   // control 1042; read by the opener after OK
    int m_bDontSet = 0;               // control 1107, welcome form only
    bool m_bWelcome;

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDontSet();

    DECLARE_MESSAGE_MAP()
};
