#pragma once
// CEditItemsDlg: the types or the categories of the database in a list,
// with New, Edit and Delete. Every change is stored, saved and told to the
// others (through the host) as it is made.
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CBaseItem;
class CDatabaseObj;
class CUniqueList;
class IItemEditorHost;

class CEditItemsDlg : public CDialog {
public:
    CEditItemsDlg(CWnd* pParent, CDatabaseObj& database, CUniqueList& list, IItemEditorHost& host);

    BOOL OnInitDialog() override;
    void OnOK() override { EndDialog(IDOK); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnNew();
    void OnEdit();
    void OnDelete();
    void OnSelChangeList();

    bool EditsTypes() const;
    CBaseItem* Selected() const;
    // Adds the entry and, when select, selects it.
    void AddEntry(CBaseItem* item, bool select);
    void LogEvent(const char* name, const char* action, const CString& description, const CString& oldValue,
                  const CString& newValue);

    CDatabaseObj& m_database;
    CUniqueList& m_list;
    IItemEditorHost& m_host;
    CListBox m_listBox;

    DECLARE_MESSAGE_MAP()
};
