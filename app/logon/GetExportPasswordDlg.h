#pragma once
// CGetExportPasswordDlg: the optional password of an export, backup or
// e-mailed file, asked twice. No requirements apply to file passwords.
#include "core/crypto/SecretString.h"
#include "framework/Dialog.h"

class CGetExportPasswordDlg : public CDialog {
public:
    explicit CGetExportPasswordDlg(CWnd* pParent);

    CSecretString m_strPassword;      // control 1042, at most 32 characters
    CSecretString m_strConfirmation;  // control 1043, at most 32 characters

    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
