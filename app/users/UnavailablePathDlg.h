#pragma once
// CUnavailablePathDlg: the user's database folder cannot be reached. Shows
// where the database was expected; Retry (result 1087) asks the caller to
// test again, Change... (result 3) picks another folder and stores it as
// the user's folder, Cancel (2) gives up. The database is neither moved
// nor created here.
#include "framework/CString.h"
#include "framework/Dialog.h"

class CUserItem;

class CUnavailablePathDlg : public CDialog {
public:
    enum { kRetry = 1087, kChanged = 3, kCancelled = IDCANCEL };

    CUnavailablePathDlg(CWnd* pParent, CUserItem* pUser, const CString& path);

    // The unreachable path; after a successful Change... the chosen folder.
    CString m_strPath;  // control 1089

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnRetry();
    void OnChange();

    CUserItem* m_pUser;  // not owned

    DECLARE_MESSAGE_MAP()
};
