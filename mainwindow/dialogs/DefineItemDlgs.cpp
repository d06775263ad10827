// The type and category definition dialogs.
#include "mainwindow/dialogs/DefineItemDlgs.h"

#include <ctime>

#include "app/res/RecordDialogsRes.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "core/store/DatabaseObj.h"
#include "framework/DC.h"
#include "framework/DataExchange.h"
#include "framework/ModalSeam.h"
#include "mainwindow/dialogs/ItemEditorHost.h"

namespace {

const int kMaxNameChars = 31;

bool RefusedName(int check)
{
    if (check == 0) return false;
    AfxMessageBox(check == kNameMissing ? IDS_TYPE_NAME_MISSING : IDS_TYPE_NAME_TAKEN, MB_OK);
    return true;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDefineTypeDlg, CDialog)
    ON_STN_CLICKED(IDC_TYPE_ICON, &CDefineTypeDlg::OnChooseIcon)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDefineTypeDlg::CDefineTypeDlg(CWnd* pParent, CDatabaseObj& database, CTypeItem& type, IItemEditorHost& host)
    : CDialog(IDD_DEFINE_TYPE, pParent), m_database(database), m_type(type), m_host(host)
{}

void CDefineTypeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ITEM_NAME, m_edits.name);
    DDV_MaxChars(pDX, m_edits.name, kMaxNameChars);
    for (int i = 0; i < kItemFieldCount; ++i) {
        DDX_Text(pDX, IDC_TYPE_LABEL_FIRST + i, m_edits.labels[i]);
        DDV_MaxChars(pDX, m_edits.labels[i], kMaxNameChars);
        DDX_Check(pDX, IDC_TYPE_MASK_FIRST + i, m_masked[i]);
    }
}

BOOL CDefineTypeDlg::OnInitDialog()
{
    m_edits = LoadTypeEdits(m_type);
    for (int i = 0; i < kItemFieldCount; ++i) m_masked[i] = m_edits.masked[i] ? 1 : 0;
    CDialog::OnInitDialog();
    return TRUE;
}

void CDefineTypeDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    for (int i = 0; i < kItemFieldCount; ++i) m_edits.masked[i] = m_masked[i] != 0;
    if (RefusedName(CheckItemName(m_edits.name, &m_database.GetTypes(), m_isNew ? nullptr : &m_type))) return;
    m_change = ApplyTypeEdits(m_type, m_edits, m_isNew);
    if (!m_isNew && (m_change.labelsChanged || m_change.masksChanged || m_change.iconChanged)) {
        // Records of this type in every category follow it.
        m_database.GetRecords().ApplyTypeChanges(m_type, m_change.labelsChanged, m_change.masksChanged,
                                                 m_change.iconChanged);
    }
    // Stamped before the caller saves, so the file holds it.
    if (m_change.changed) m_type.SetModifiedTime(static_cast<int32_t>(std::time(nullptr)));
    EndDialog(IDOK);
}

void CDefineTypeDlg::OnChooseIcon()
{
    // The chooser starts from the icon stored in the type.
    int icon = m_type.GetIcon();
    if (!m_host.ChooseIcon(icon)) return;
    m_edits.icon = static_cast<WORD>(icon);
    Invalidate();
}

void CDefineTypeDlg::OnPaint()
{
    CPaintDC dc(this);
    CWnd* frame = GetDlgItem(IDC_TYPE_ICON);
    if (!frame) return;
    CRect rect;
    frame->GetWindowRect(&rect);
    ScreenToClient(&rect);
    rect.DeflateRect(6, 6);
    m_host.DrawItemIcon(&dc, rect, m_edits.icon);
}

CDefineCategoryDlg::CDefineCategoryDlg(CWnd* pParent) : CDialog(IDD_DEFINE_CATEGORY, pParent) {}

void CDefineCategoryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ITEM_NAME, m_name);
    DDV_MaxChars(pDX, m_name, kMaxNameChars);
}

void CDefineCategoryDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    // Two categories may share a name; only none and "Unfiled" are refused.
    if (RefusedName(CheckItemName(m_name, nullptr, nullptr))) return;
    EndDialog(IDOK);
}
