#pragma once
// The small dialogs of the export command: which records to export or
// e-mail (CExportRecordsDlg), the name of a folder export or backup
// (CGetFileNameDlg) and the tip shown before a folder export or import, a
// backup or a restore (CExportImportTipDlg).
#include <functional>

#include "framework/Dialog.h"

class CExportRecordsDlg : public CDialog {
public:
    enum Kind { kExport = 0, kEmail = 1 };
    // hasAttachmentInScope: whether scope 0 (all), 1 (current view) or 2
    // (selected) holds a record with an attachment. The e-mail form also
    // asks for the name of what is sent.
    CExportRecordsDlg(CWnd* pParent, std::function<bool(int)> hasAttachmentInScope, int kind = kExport);

    int m_nScope = 2;
    int m_bWithAttachments = FALSE;
    bool m_bHasAttachments = false;
    // Set by the caller: only a folder export (5) carries attachments.
    int m_nFormat = 0;
    // The e-mail form's "Zkv Name:".
    CString m_strName;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnScopeClicked(UINT nID);
    int m_nKind;
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
    enum Kind { kExport = 0, kImport = 1, kBackup = 2, kRestore = 3 };
    // user: whose hint the check box "Don't show this again" clears: the
    // kind's half of "ExportImportHint" (export: low, import: high) or of
    // "BackupRestoreHint" (backup: low, restore: high).
    CExportImportTipDlg(CWnd* pParent, int kind, CUserItem* user);

    BOOL OnInitDialog() override;
    // Button 1, captioned for the kind.
    void OnOK() override;

protected:
    // The texts stand on a white panel framed by a sunken edge, above a
    // strip of the dialog's own colour with the check box and the button.
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    int m_nKind;
    CUserItem* m_pUser;

    DECLARE_MESSAGE_MAP()
};
