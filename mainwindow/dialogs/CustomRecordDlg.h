#pragma once
// CCustomRecordDlg: one record's own ten field labels and masking, over
// those of its type. It edits copies the caller hands in and reads back
// after OK; Reset shows the type's own labels and mask again.
#include "framework/CArray.h"
#include "framework/Dialog.h"

class CCustomRecordDlg : public CDialog {
public:
    explicit CCustomRecordDlg(CWnd* pParent = nullptr);

    // In and out: the labels (a trailing ':' is not shown) and the mask.
    CStringArray m_labels;
    WORD m_mask = 0;
    // In, for Reset.
    CStringArray m_typeLabels;
    WORD m_typeMask = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnReset();

    CString m_edits[10];
    int m_checks[10] = {};

    DECLARE_MESSAGE_MAP()
};
