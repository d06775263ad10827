#pragma once
// CShowColumnsDlg: the column chooser ("Show Columns"): one check box for
// each record-list column but the icon column, over a column set that it
// changes in place only on OK. The field check boxes are named after the
// chosen type's labels when it is given some.
#include "framework/CArray.h"
#include "framework/Dialog.h"

class CShowColumns;

class CShowColumnsDlg : public CDialog {
public:
    // labels: up to ten field labels; an empty one keeps the resource's
    // caption of its check box.
    CShowColumnsDlg(CWnd* pParent, CShowColumns& columns, const CStringArray& labels);

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CShowColumns& m_columns;
    CStringArray m_labels;
    // The check boxes' states, column 1 to 14.
    int m_visible[14] = {};
};
