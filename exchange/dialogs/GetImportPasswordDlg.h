#pragma once
// CGetImportPasswordDlg: the password of a protected exchange file. OK
// keeps the dialog open until the typed password opens the file; the caller
// then takes the key. Cancel gives no key.
#include <string>

#include "core/crypto/BlowfishKey.h"
#include "core/crypto/SecretString.h"
#include "framework/Dialog.h"

class CGetImportPasswordDlg : public CDialog {
public:
    // text: the whole file, which the password must open.
    CGetImportPasswordDlg(CWnd* pParent, const std::string& text);
    ~CGetImportPasswordDlg() override;

    // After IDOK: the key the password gave.
    BlowfishKeyPtr m_cipher;

    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    const std::string& m_text;
    CSecretString m_strPassword;  // control 1042
};
