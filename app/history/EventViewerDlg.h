#pragma once
// CEventViewerDlg: every event of the process-wide log in a sortable list,
// the latest first, and a button that clears the log.
#include "framework/Dialog.h"
#include "toolkit/lists/SortListCtrl.h"

class CEventViewerDlg : public CDialog {
public:
    explicit CEventViewerDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnClearLog();

    CSortListCtrl m_list;

    DECLARE_MESSAGE_MAP()
};
