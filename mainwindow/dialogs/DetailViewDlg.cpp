// The record editor: its controls, labels, type and category, and the
// buttons that open other dialogs.
#include "mainwindow/dialogs/DetailViewDlg.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "app/AppIds.h"
#include "app/res/RecordDialogsRes.h"
#include "app/res/Resource.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueKey.h"
#include "core/items/UniqueList.h"
#include "core/store/DatabaseObj.h"
#include "framework/DC.h"
#include "framework/DataExchange.h"
#include "mainwindow/dialogs/CustomRecordDlg.h"
#include "mainwindow/dialogs/GeneratePasswordDlg.h"
#include "mainwindow/dialogs/RecordEditorHost.h"
#include "mainwindow/icons/IconList.h"
#include "mainwindow/models/FilterComboModel.h"

namespace {

const int kEditIds[kItemFieldCount] = {1006, 1007, 1008, 1009, 1010, 1011, 1014, 1015, 1016, 1017};
const int kLabelIds[kItemFieldCount] = {1029, 1028, 1027, 1026, 1025, 1024, 1030, 1031, 1032, 1034};
const int kPickerIds[kItemFieldCount - 1] = {1104, 1105, 1108, 1109, 1110, 1111, 1112, 1113, 1115};
const int kMaxNotes = 4096;
const WORD kNoTypeIcon = 24;
// The built-in "Web Logins" type: the only one the browser can fill.
const uint8_t kWebLoginsKey[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0, 0x12};

int FieldOfPicker(UINT id)
{
    for (int i = 0; i < kItemFieldCount - 1; ++i)
        if (kPickerIds[i] == (int)id) return i;
    return -1;
}

// Items of the list not deleted, before "Unfiled" in collation order, each
// with its item as data; the entry of that key selected ("Unfiled" for the
// zero key or a key no item has).
void FillItemCombo(CComboBox& combo, const CObjectList& items, const uint8_t key[kUniqueKeySize], bool types)
{
    combo.ResetContent();
    combo.AddString(CFilterComboModel::UnfiledText());
    combo.AddString(CFilterComboModel::EditText(types ? CFilterComboModel::kTypes : CFilterComboModel::kCategories));
    int selected = -1;
    for (POSITION pos = items.GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(items.GetNext(pos));
        if (!item || item->IsDeleted()) continue;
        const CString name = item->GetName();
        int at = 0;
        const int named = combo.GetCount() - 2;
        while (at < named) {
            CString other;
            combo.GetLBText(at, other);
            if (::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name, -1, other, -1) == CSTR_LESS_THAN) break;
            ++at;
        }
        combo.InsertString(at, name);
        combo.SetItemData(at, reinterpret_cast<DWORD_PTR>(item));
        if (selected >= at) ++selected;
        if (std::memcmp(item->GetKey(), key, kUniqueKeySize) == 0 && !IsNullUniqueKey(key)) selected = at;
    }
    combo.SetCurSel(selected >= 0 ? selected : combo.GetCount() - 2);
}

// The item behind an entry; null for "Unfiled", the edit entry and none.
const CBaseItem* ItemOf(const CComboBox& combo, int index)
{
    if (index < 0) return nullptr;
    const DWORD_PTR data = combo.GetItemData(index);
    return data == 0 || data == static_cast<DWORD_PTR>(CB_ERR) ? nullptr : reinterpret_cast<const CBaseItem*>(data);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDetailViewDlg, CDialog)
    ON_BN_CLICKED(IDC_DV_DUPLICATE, &CDetailViewDlg::OnDuplicate)
    ON_BN_CLICKED(IDC_DV_DELETE, &CDetailViewDlg::OnDeleteRecord)
    ON_CBN_SELCHANGE(IDC_DV_TYPE, &CDetailViewDlg::OnTypeSelChange)
    ON_CBN_SELCHANGE(IDC_DV_CATEGORY, &CDetailViewDlg::OnCategorySelChange)
    ON_BN_CLICKED(IDC_DV_ICON_BUTTON, &CDetailViewDlg::OnChooseIcon)
    ON_STN_CLICKED(IDC_DV_ICON, &CDetailViewDlg::OnChooseIcon)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_DV_CUSTOM, &CDetailViewDlg::OnCustom)
    ON_REGISTERED_MESSAGE(WM_Corvantide_Zorvikan_EndSelChange, &CDetailViewDlg::OnEndSelChange)
    ON_BN_CLICKED(IDC_DV_PASSWORD, &CDetailViewDlg::OnPassword)
    ON_BN_CLICKED(IDC_DV_AUTOFILL, &CDetailViewDlg::OnAutofill)
    ON_NOTIFY_RANGE(DTN_DATETIMECHANGE, 1104, 1115, &CDetailViewDlg::OnDateChange)
    ON_CONTROL_RANGE(EN_KILLFOCUS, 1006, 1011, &CDetailViewDlg::OnFieldKillFocus)
    ON_CONTROL_RANGE(EN_KILLFOCUS, 1014, 1017, &CDetailViewDlg::OnFieldKillFocus)
    ON_BN_CLICKED(IDC_DV_PRINT, &CDetailViewDlg::OnPrintRecord)
    ON_WM_GETMINMAXINFO()
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_DV_ATTACHMENT, &CDetailViewDlg::OnAttachment)
END_MESSAGE_MAP()

CDetailViewDlg::CDetailViewDlg(IRecordEditorHost& host, CDatabaseObj& database, CWnd* pParent)
    : CDialog(IDD_DETAIL_VIEW, pParent), m_host(host), m_database(database), m_lastFieldEdit(kEditIds[0])
{}

CDetailViewDlg::~CDetailViewDlg() = default;

int CDetailViewDlg::FieldEditId(int field) { return kEditIds[field]; }
int CDetailViewDlg::LabelId(int field) { return kLabelIds[field]; }
int CDetailViewDlg::DatePickerId(int field) { return field < kItemFieldCount - 1 ? kPickerIds[field] : 0; }

void CDetailViewDlg::SetTypeKey(const uint8_t key[kUniqueKeySize])
{
    std::memcpy(m_edits.typeKey, key, kUniqueKeySize);
}

void CDetailViewDlg::SetCategoryKey(const uint8_t key[kUniqueKeySize])
{
    std::memcpy(m_edits.categoryKey, key, kUniqueKeySize);
}

void CDetailViewDlg::SetAttachment(const CString& name, const CString& key, const CString& storedFileName)
{
    m_edits.attachmentName = name;
    m_edits.attachmentKey = key;
    m_duplicatedStoredFile = storedFileName;
}

void CDetailViewDlg::SetAttachmentPlaces(const CString& attachmentsFolder, const CString& databasePath)
{
    m_attachmentsFolder = attachmentsFolder;
    m_databasePath = databasePath;
}

void CDetailViewDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DV_TYPE, m_typeCombo);
    DDX_Control(pDX, IDC_DV_CATEGORY, m_categoryCombo);
    for (int i = 0; i < kItemFieldCount; ++i) {
        DDX_Text(pDX, kEditIds[i], m_edits.values[i]);
        DDX_Text(pDX, kLabelIds[i], m_labelTexts[i]);
    }
    for (int i = 0; i < kItemFieldCount - 1; ++i) DDX_Control(pDX, kPickerIds[i], m_datePickers[i]);
    DDX_Check(pDX, IDC_DV_AUTOFILL_ALLOWED, m_allowAutoFill);
    DDX_Text(pDX, IDC_DV_NOTES, m_edits.notes);
    DDV_MaxChars(pDX, m_edits.notes, kMaxNotes);
}

const CTypeItem* CDetailViewDlg::CurrentType() const
{
    return static_cast<const CTypeItem*>(m_database.GetTypes().FindByKey(m_edits.typeKey));
}

BOOL CDetailViewDlg::OnInitDialog()
{
    ModifyStyle(0, WS_THICKFRAME);
    CDialog::OnInitDialog();
    if (m_addMode && !m_record) {
        m_ownedRecord = std::make_unique<CRecord>();
        m_record = m_ownedRecord.get();
        m_record->SetType(CurrentType());
        m_record->SetCategoryKey(m_edits.categoryKey);
    } else if (m_record) {
        std::memcpy(m_edits.typeKey, m_record->GetTypeKey(), kUniqueKeySize);
    }
    if (!m_record) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    if (!m_edits.attachmentName.IsEmpty()) SetDlgItemText(IDC_DV_ATTACHMENT_NAME, m_edits.attachmentName);
    LoadRecordEdits(m_edits, *m_record, CurrentType());
    // The attachment shown is the one handed in; the record's own is loaded
    // only when the caller gave none.
    if (m_edits.attachmentName.IsEmpty() && !m_addMode) {
        m_edits.attachmentName = m_record->GetAttachmentName();
        m_edits.attachmentKey = m_record->GetAttachmentKey();
    }
    SetDlgItemText(IDC_DV_ATTACHMENT_NAME, m_edits.attachmentName);
    FillTypeCombo();
    FillCategoryCombo();
    ShowLabels();
    ShadeButtons();
    CRect window;
    GetWindowRect(&window);
    m_initialSize = CSize(window.Width(), window.Height());
    if (m_addMode) GetDlgItem(IDC_DV_DELETE)->EnableWindow(FALSE);
    ShowAttachmentButton();
    UpdateData(FALSE);
    UpdateAutofillButton();
    if (m_addMode && !m_ownedRecord) {
        // Duplicate: a new record with the source's own labels and masking
        // and the attachment handed in.
        CRecord* source = m_record;
        m_ownedRecord = std::make_unique<CRecord>();
        m_record = m_ownedRecord.get();
        m_record->SetTypeKey(source->GetTypeKey());
        m_record->CopyCustomLabels(*source);
        m_record->SetHiddenMask(source->GetHiddenMask());
        m_edits.values[0] += " Copy";
        UpdateData(FALSE);
        CWnd* first = GetDlgItem(kEditIds[0]);
        first->SetFocus();
        first->SendMessage(EM_SETSEL, 0, -1);
        first->SendMessage(EM_SCROLLCARET);
        return FALSE;
    }
    return TRUE;
}

void CDetailViewDlg::ShadeButtons()
{
    static const struct {
        int control;
        int icon;
    } kButtons[] = {{IDOK, IDI_DV_OK},
                    {IDCANCEL, IDI_DV_CANCEL},
                    {IDC_DV_DUPLICATE, IDI_DV_DUPLICATE},
                    {IDC_DV_DELETE, IDI_DV_DELETE},
                    {IDC_DV_CUSTOM, IDI_DV_CUSTOM},
                    {IDC_DV_PASSWORD, IDI_DV_PASSWORD},
                    {IDC_DV_AUTOFILL, IDI_DV_AUTOFILL},
                    {IDC_DV_PRINT, IDI_DV_PRINT},
                    {IDC_DV_ATTACHMENT, 0}};
    static_assert(sizeof kButtons / sizeof kButtons[0] == sizeof m_buttons / sizeof m_buttons[0], "one per button");
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; ++i) {
        if (!GetDlgItem(kButtons[i].control) || !m_buttons[i].SubclassDlgItem(kButtons[i].control, this)) continue;
        m_buttons[i].SetShade(7, 8, 10, 0, 0);
        if (kButtons[i].icon) m_buttons[i].SetIcon(kButtons[i].icon, 16, 16, 0, 0, 0);
    }
}

void CDetailViewDlg::FillTypeCombo() { FillItemCombo(m_typeCombo, m_database.GetTypes(), m_edits.typeKey, true); }

void CDetailViewDlg::FillCategoryCombo()
{
    FillItemCombo(m_categoryCombo, m_database.GetCategories(), m_edits.categoryKey, false);
}

void CDetailViewDlg::ShowLabels()
{
    for (int i = 0; i < kItemFieldCount; ++i) {
        const CString& label = m_edits.labels[i];
        if (i < kItemFieldCount - 1 && m_datePickers[i].m_hWnd)
            m_datePickers[i].ShowWindow(LabelNamesDate(label) ? SW_SHOW : SW_HIDE);
        if (!label.IsEmpty()) m_labelTexts[i] = LabelWithColon(label);
    }
}

void CDetailViewDlg::UpdateAutofillButton()
{
    // Only a saved web login can be filled: the browser reads it from the
    // database file.
    const bool webLogin = std::memcmp(m_edits.typeKey, kWebLoginsKey, kUniqueKeySize) == 0;
    if (CWnd* button = GetDlgItem(IDC_DV_AUTOFILL)) button->EnableWindow(webLogin && !m_addMode);
}

void CDetailViewDlg::OnTypeSelChange()
{
    UpdateData(TRUE);
    const int selected = m_typeCombo.GetCurSel();
    if (selected == m_typeCombo.GetCount() - 1) {
        m_host.EditItemList(true, this);
        std::memcpy(m_edits.typeKey, m_record->GetTypeKey(), kUniqueKeySize);
        FillTypeCombo();
        PostMessage(WM_Corvantide_Zorvikan_EndSelChange);
        return;
    }
    uint8_t key[kUniqueKeySize] = {};
    if (const CBaseItem* item = ItemOf(m_typeCombo, selected)) std::memcpy(key, item->GetKey(), kUniqueKeySize);
    if (std::memcmp(key, m_edits.typeKey, kUniqueKeySize) == 0) return;
    std::memcpy(m_edits.typeKey, key, kUniqueKeySize);
    CStringArray labels;
    m_database.GetTypes().GetFieldLabels(key, labels);
    for (int i = 0; i < kItemFieldCount; ++i) m_edits.labels[i] = i < labels.GetSize() ? labels[i] : CString();
    m_edits.mask = m_database.GetTypes().GetHiddenMask(key);
    for (CDateTimeCtrl& picker : m_datePickers)
        if (picker.m_hWnd) picker.ShowWindow(SW_HIDE);
    ShowLabels();
    const CTypeItem* type = CurrentType();
    m_edits.icon = type ? type->GetIcon() : kNoTypeIcon;
    UpdateAutofillButton();
    Invalidate();
    UpdateData(FALSE);
}

void CDetailViewDlg::OnCategorySelChange()
{
    UpdateData(TRUE);
    const int selected = m_categoryCombo.GetCurSel();
    if (selected == m_categoryCombo.GetCount() - 1) {
        m_host.EditItemList(false, this);
        FillCategoryCombo();
        PostMessage(WM_Corvantide_Zorvikan_EndSelChange);
        return;
    }
    // The key of the item chosen: two categories may share a name.
    uint8_t key[kUniqueKeySize] = {};
    if (const CBaseItem* item = ItemOf(m_categoryCombo, selected)) std::memcpy(key, item->GetKey(), kUniqueKeySize);
    std::memcpy(m_edits.categoryKey, key, kUniqueKeySize);
}

LRESULT CDetailViewDlg::OnEndSelChange(WPARAM, LPARAM)
{
    UpdateData(FALSE);
    return 0;
}

void CDetailViewDlg::OnChooseIcon()
{
    int icon = m_edits.icon;
    if (!m_host.ChooseIcon(icon, this)) return;
    m_edits.icon = static_cast<WORD>(icon);
    Invalidate();
}

void CDetailViewDlg::OnCustom()
{
    UpdateData(TRUE);
    CCustomRecordDlg dlg(this);
    dlg.m_labels.SetSize(kItemFieldCount);
    for (int i = 0; i < kItemFieldCount; ++i) dlg.m_labels[i] = m_edits.labels[i];
    dlg.m_mask = m_edits.mask;
    m_database.GetTypes().GetFieldLabels(m_edits.typeKey, dlg.m_typeLabels);
    dlg.m_typeMask = m_database.GetTypes().GetHiddenMask(m_edits.typeKey);
    if (dlg.DoModal() != IDOK) return;
    for (int i = 0; i < kItemFieldCount; ++i) m_edits.labels[i] = dlg.m_labels[i];
    m_edits.mask = dlg.m_mask;
    ShowLabels();
    for (int i = 0; i < kItemFieldCount; ++i)
        if (CWnd* mark = GetDlgItem(IDC_DV_MARK_FIRST + i)) {
            CRect rect;
            mark->GetWindowRect(&rect);
            ScreenToClient(&rect);
            InvalidateRect(&rect, TRUE);
        }
    UpdateData(FALSE);
}

void CDetailViewDlg::OnFieldKillFocus(UINT nID) { m_lastFieldEdit = (int)nID; }

void CDetailViewDlg::OnPassword()
{
    if (!m_lastFieldEdit) return;
    CWnd* edit = GetDlgItem(m_lastFieldEdit);
    if (!edit) return;
    CString text;
    edit->GetWindowText(text);
    CGeneratePasswordDlg dlg(this);
    dlg.SetPassword(text);
    if (dlg.DoModal() != IDOK) return;
    edit->SetWindowText(dlg.GetPassword().c_str());
    edit->SetFocus();
    edit->SendMessage(EM_SETSEL, 0, -1);
    UpdateData(TRUE);
}

void CDetailViewDlg::OnAutofill()
{
    // The editor's own record, and only one that is saved.
    if (!m_addMode && m_record) m_host.AutoFillRecord(m_record);
}

void CDetailViewDlg::OnDateChange(UINT nID, NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const int field = FieldOfPicker(nID);
    if (field < 0) return;
    UpdateData(TRUE);
    SYSTEMTIME when{};
    if (m_datePickers[field].GetTime(&when) != GDT_VALID) return;
    char text[80] = {};
    if (::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text, sizeof text) > 0)
        m_edits.values[field] = text;
    UpdateData(FALSE);
}

void CDetailViewDlg::OnPrintRecord()
{
    CRecord* record = m_record;
    OnOK();
    if (m_nModalResult == IDOK && record == m_record && m_record) m_host.PrintRecord(m_record);
}

void CDetailViewDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    if (m_initialSize.cx <= 0) return;
    lpMMI->ptMinTrackSize.x = m_initialSize.cx + 5;
    lpMMI->ptMaxTrackSize.x = m_initialSize.cx + 5;
    lpMMI->ptMinTrackSize.y = m_initialSize.cy;
}

void CDetailViewDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CWnd* notes = GetDlgItem(IDC_DV_NOTES);
    if (!notes) return;
    CRect rect;
    notes->GetWindowRect(&rect);
    ScreenToClient(&rect);
    CRect window;
    GetWindowRect(&window);
    ScreenToClient(&window);
    notes->MoveWindow(rect.left, rect.top, rect.Width(), window.bottom - 20 - rect.top);
}

void CDetailViewDlg::OnPaint()
{
    CPaintDC dc(this);
    // Masked fields get a mark beside them, the strip loaded when painted.
    CIconList marks;
    marks.Load(IDB_MASK_MARK, 1, 2, 12, 13, 1, RGB(0xFF, 0x99, 0x33), 0);
    for (int i = 0; i < kItemFieldCount; ++i) {
        if (!((m_edits.mask >> i) & 1)) continue;
        CWnd* mark = GetDlgItem(IDC_DV_MARK_FIRST + i);
        if (!mark) continue;
        CRect rect;
        mark->GetWindowRect(&rect);
        ScreenToClient(&rect);
        marks.DrawCentered(dc.GetSafeHdc(), 0, rect);
    }
    if (CWnd* icon = GetDlgItem(IDC_DV_ICON)) {
        CRect rect;
        icon->GetWindowRect(&rect);
        ScreenToClient(&rect);
        rect.DeflateRect(6, 6);
        m_host.DrawRecordIcon(&dc, rect, m_edits.icon);
    }
}
