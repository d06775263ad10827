#pragma once
// CHintDlg: asks a user's hint question and, given the right answer, shows
// the hint. The opener sets the hint object.
#include "core/crypto/SecretString.h"
#include "framework/Dialog.h"

class CPasswordHint;

class CHintDlg : public CDialog {
public:
    explicit CHintDlg(CWnd* pParent);

    CPasswordHint* m_pHint = nullptr;  // not owned
    CSecretString m_strAnswer;         // control 1213, at most 16 characters

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
