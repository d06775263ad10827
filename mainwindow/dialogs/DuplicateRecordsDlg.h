#pragma once
// CDuplicateRecordsDlg: how many duplicates were found, their titles, and
// Yes to delete them or No.
#include <vector>

#include "framework/CString.h"
#include "framework/Dialog.h"

class CDuplicateRecordsDlg : public CDialog {
public:
    CDuplicateRecordsDlg(const std::vector<CString>& titles, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

private:
    std::vector<CString> m_titles;
};
