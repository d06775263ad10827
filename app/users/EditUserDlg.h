#pragma once
// CEditUserDlg: asks for one user name.
#include "framework/CString.h"
#include "framework/Dialog.h"

class CEditUserDlg : public CDialog {
public:
    explicit CEditUserDlg(CWnd* pParent);

    CString m_strName;  // control 11021

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
