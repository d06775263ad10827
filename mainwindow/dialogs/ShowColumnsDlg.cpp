#include "mainwindow/dialogs/ShowColumnsDlg.h"

#include "app/res/RecordListRes.h"
#include "core/items/ShowColumns.h"
#include "framework/DataExchange.h"

namespace {

// The check box of columns 1 to 14, in column order.
const int kColumnBoxes[14] = {IDC_SHOW_TYPE_COLUMN, IDC_SHOW_CATEGORY_COLUMN,  IDC_SHOW_COLUMN_1, IDC_SHOW_COLUMN_2,
                              IDC_SHOW_COLUMN_3,    IDC_SHOW_COLUMN_4,         IDC_SHOW_COLUMN_5, IDC_SHOW_COLUMN_6,
                              IDC_SHOW_COLUMN_7,    IDC_SHOW_COLUMN_8,         IDC_SHOW_COLUMN_9, IDC_SHOW_DATE_COLUMN,
                              IDC_SHOW_NOTE_COLUMN, IDC_SHOW_ATTACHMENT_COLUMN};
// The field columns' boxes start at column 3.
constexpr int kFirstFieldBox = 2;
constexpr int kFieldBoxes = 10;

}  // namespace

CShowColumnsDlg::CShowColumnsDlg(CWnd* pParent, CShowColumns& columns, const CStringArray& labels)
    : CDialog(IDD_SHOW_COLUMNS, pParent), m_columns(columns)
{
    m_labels.Append(labels);
}

void CShowColumnsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < 14; ++i) DDX_Check(pDX, kColumnBoxes[i], m_visible[i]);
}

BOOL CShowColumnsDlg::OnInitDialog()
{
    for (int i = 0; i < kFieldBoxes && i < m_labels.GetSize(); ++i) {
        if (m_labels[i].IsEmpty()) continue;
        CString caption;
        caption.Format("Show %s", (LPCSTR)m_labels[i]);
        SetDlgItemText(kColumnBoxes[kFirstFieldBox + i], caption);
    }
    for (int i = 0; i < 14; ++i) m_visible[i] = m_columns.IsColumnVisible((uint16_t)(i + 1)) ? 1 : 0;
    CDialog::OnInitDialog();
    return TRUE;
}

void CShowColumnsDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    for (int i = 0; i < 14; ++i) m_columns.SetColumnVisible((uint16_t)(i + 1), m_visible[i] ? 1 : 0);
    EndDialog(IDOK);
}
