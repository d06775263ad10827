#pragma once
// CDefineTypeDlg edits one type: name, ten field labels, masking and icon;
// on OK the values go into the type (and, for an existing type, the records
// of that type follow its changed labels, masks and icon). The caller saves
// and tells the others, using GetChange. CDefineCategoryDlg asks for one
// category's name.
#include "framework/Dialog.h"
#include "mainwindow/editors/TypeEdits.h"

class CDatabaseObj;
class CTypeItem;
class IItemEditorHost;

class CDefineTypeDlg : public CDialog {
public:
    CDefineTypeDlg(CWnd* pParent, CDatabaseObj& database, CTypeItem& type, IItemEditorHost& host);

    void SetNew(bool isNew) { m_isNew = isNew; }
    // What OK changed.
    const TypeChange& GetChange() const { return m_change; }

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnChooseIcon();
    void OnPaint();

    CDatabaseObj& m_database;
    CTypeItem& m_type;
    IItemEditorHost& m_host;
    bool m_isNew = false;
    TypeEdits m_edits;
    int m_masked[kItemFieldCount] = {};
    TypeChange m_change;

    DECLARE_MESSAGE_MAP()
};

class CDefineCategoryDlg : public CDialog {
public:
    explicit CDefineCategoryDlg(CWnd* pParent = nullptr);

    CString m_name;

    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
