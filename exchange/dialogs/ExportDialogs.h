#pragma once
// The small dialogs of the export command: which records to export
// (CExportRecordsDlg), the name of a folder export (CGetFileNameDlg) and the
// tip shown before a folder export or import (CExportImportTipDlg).
#include <functional>

#include "framework/Dialog.h"

class CExportRecordsDlg : public CDialog {
public:
    // hasAttachmentInScope: whether scope 0 (all), 1 (current view) or 2
    // (selected) holds a record with an attachment.
    CExportRecordsDlg(CWnd* pParent, std::function<bool(int)> hasAttachmentInScope);

    int m_nScope = 2;
    int m_bWithAttachments = FALSE;
    bool m_bHasAttachments = false;
    // Set by the caller: only a folder export (5) carries attachments.
    int m_nFormat = 0;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnScopeClicked(UINT nID);
    // Asks the scope, sets the check box from the answer.
    void FollowScope(int scope);

    std::function<bool(int)> m_hasAttachmentInScope;

    DECLARE_MESSAGE_MAP()
};

class CGetFileNameDlg : public CDialog {
public:
    explicit CGetFileNameDlg(CWnd* pParent);

    CString m_strName;
    // Set to the chosen folder by the caller; after IDOK the full path of
    // the export folder.
    CString m_strPath;

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CUserItem;

class CExportImportTipDlg : public CDialog {
public:
    enum Kind { kExport = 0, kImport = 1 };
    // user: whose "ExportImportHint" the check box "Don't show this again"
    // clears (its low half for imports, its high half for exports).
    CExportImportTipDlg(CWnd* pParent, int kind, CUserItem* user);

    BOOL OnInitDialog() override;
    // Button 1, captioned for the kind.
    void OnOK() override;

protected:
    int m_nKind;
    CUserItem* m_pUser;
};
