// Custom labels and masking of one record.
#include "mainwindow/dialogs/CustomRecordDlg.h"

#include "app/res/RecordDialogsRes.h"
#include "framework/DataExchange.h"

namespace {

const int kFields = 10;

CString LabelAt(const CStringArray& labels, int i) { return i < labels.GetSize() ? labels[i] : CString(); }

}  // namespace

BEGIN_MESSAGE_MAP(CCustomRecordDlg, CDialog)
    ON_BN_CLICKED(IDC_CUSTOM_RESET, &CCustomRecordDlg::OnReset)
END_MESSAGE_MAP()

CCustomRecordDlg::CCustomRecordDlg(CWnd* pParent) : CDialog(IDD_CUSTOM_RECORD, pParent)
{
    m_labels.SetSize(kFields);
    m_typeLabels.SetSize(kFields);
}

void CCustomRecordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < kFields; ++i) {
        DDX_Text(pDX, IDC_CUSTOM_LABEL_FIRST + i, m_edits[i]);
        DDX_Check(pDX, IDC_CUSTOM_MASK_FIRST + i, m_checks[i]);
    }
}

BOOL CCustomRecordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < kFields; ++i) {
        CString label = LabelAt(m_labels, i);
        if (!label.IsEmpty() && label[label.GetLength() - 1] == ':') label = label.Left(label.GetLength() - 1);
        m_edits[i] = label;
        m_checks[i] = (m_mask >> i) & 1;
    }
    UpdateData(FALSE);
    return TRUE;
}

void CCustomRecordDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    m_labels.SetSize(kFields);
    WORD mask = 0;
    for (int i = 0; i < kFields; ++i) {
        m_labels[i] = m_edits[i];
        if (m_checks[i]) mask |= static_cast<WORD>(1u << i);
    }
    m_mask = mask;
    EndDialog(IDOK);
}

void CCustomRecordDlg::OnReset()
{
    for (int i = 0; i < kFields; ++i) {
        m_edits[i] = LabelAt(m_typeLabels, i);
        m_checks[i] = (m_typeMask >> i) & 1;
    }
    UpdateData(FALSE);
}
