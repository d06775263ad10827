#pragma once
// CConfirmationDlg: a list of records by their first field with a question
// or a report: the records an import added ("Import Confirmation", one "OK"
// button, with what the import left out below the count) or the duplicates
// found ("Yes" deletes them). The caller fills the items and sets the import
// mode before DoModal; IDOK means "Yes".
#include <vector>

#include "framework/Dialog.h"

class CBaseItem;

class CConfirmationDlg : public CDialog {
public:
    explicit CConfirmationDlg(CWnd* pParent);

    std::vector<CBaseItem*> m_items;
    bool m_bImportMode = false;
    // Import mode: the lines the import left out, one sentence a line.
    CString m_strLeftOut;

    BOOL OnInitDialog() override;

private:
    // Makes the text as tall as it needs.
    void FitText(const CString& text);
};
