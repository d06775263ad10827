#pragma once
// CEditUsersDlg: lists the stand-alone users other than the current one and
// adds, renames and deletes them, with their preferences and folders. Each
// command takes effect at once.
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CUserItem;
class CUserList;

class CEditUsersDlg : public CDialog {
public:
    CEditUsersDlg(CUserList& users, CUserItem* currentUser, CWnd* pParent);

    BOOL OnInitDialog() override;

    void OnNew();
    void OnEdit();
    void OnDelete();
    void OnSelChange();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Edit and Delete are enabled exactly when a row is selected.
    void UpdateButtons();
    // Refuses a blank or taken name with its message; the trimmed name when
    // it may be used.
    bool CheckNewName(const CString& typed, const CUserItem* except, CString& name);

    CListBox m_list;
    CUserList& m_users;
    CUserItem* m_pCurrentUser;

    DECLARE_MESSAGE_MAP()
};
