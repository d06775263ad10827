// The main view's record commands: new, edit, delete, duplicate, customise
// and the attachment command; a web login from the plug-in becoming a new
// record; and what follows every record change the view makes.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <cstring>
#include <ctime>

#include "app/res/RecordDialogsRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/TypeItem.h"
#include "core/os/ChangeNotify.h"
#include "core/os/PathUtils.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/store/AttachmentCrypter.h"
#include "framework/CommonDialogs.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/dialogs/CustomRecordDlg.h"
#include "mainwindow/dialogs/DetailViewDlg.h"
#include "mainwindow/dialogs/RecordEditorHost.h"
#include "mainwindow/editors/RecordEdits.h"
#include "mainwindow/records/RecordChangeSequence.h"
#include "mainwindow/records/ViewRecordChangeSteps.h"

namespace {

const uint8_t kWebLoginsKey[kUniqueKeySize] = {0, 0, 0, 0, 0, 0, 0, 0x12};

bool SameKey(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, kUniqueKeySize) == 0; }

// The busy flag is set while a dialog of the view is open: the plug-in link
// drops web logins meanwhile.
class BusyScope {
public:
    explicit BusyScope(CPluginLink& link) : m_link(link), m_was(link.GetBusy()) { m_link.SetBusy(1); }
    ~BusyScope() { m_link.SetBusy(m_was); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    CPluginLink& m_link;
    int m_was;
};

// The record editor is an editing dialog: other programs asking whether
// one is open hear yes while it is.
class EditingScope {
public:
    explicit EditingScope(CViewLockState& state) : m_state(state), m_was(state.IsEditingDialogOpen())
    {
        m_state.SetEditingDialogOpen(true);
    }
    ~EditingScope() { m_state.SetEditingDialogOpen(m_was); }
    EditingScope(const EditingScope&) = delete;
    EditingScope& operator=(const EditingScope&) = delete;

private:
    CViewLockState& m_state;
    bool m_was;
};

}  // namespace

// What the record editor asks of the view.
class CViewEditorHost : public IRecordEditorHost {
public:
    explicit CViewEditorHost(CZorvikanDesktopView& view) : m_view(view) {}

    int RecordSaved(CRecord* record, bool added) override
    {
        CRecordChangeSequence change;
        change.Add(added ? NOTIFY_ADDED : NOTIFY_MODIFIED, NOTIFY_ITEM_RECORD, record->GetId(), record);
        const int result = m_view.CommitRecordChange(change);
        if (added)
            m_view.ShowAddedRecord(record, true);
        else
            m_view.ShowUpdatedRecord(record);
        return result;
    }
    void DeleteRecord(CRecord* record) override { m_view.DeleteRecords({record}); }
    void EditItemList(bool types, CWnd* parent) override { m_view.RunItemEditor(types, parent); }
    void AutoFillRecord(CRecord* record) override { m_view.AutoFillRecord(record); }
    // Record printing prints the view's selected record.
    void PrintRecord(CRecord*) override { m_view.OnPrintRecord(); }
    void DrawRecordIcon(CDC* pDC, const CRect& rect, int id) override { m_view.DrawItemIcon(pDC, rect, id); }
    bool ChooseIcon(int& id, CWnd* parent) override { return m_view.ChooseIcon(id, parent); }

private:
    CZorvikanDesktopView& m_view;
};

namespace {

void PlaceAttachments(CDetailViewDlg& dlg, CDatabaseObj& database, CUserItem* user)
{
    const CString folder = user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString();
    dlg.SetAttachmentPlaces(folder, database.GetFilePath());
}

}  // namespace

int CZorvikanDesktopView::CommitRecordChange(const CRecordChangeSequence& change)
{
    CViewRecordChangeSteps steps(m_database, m_pluginLink, App());
    const int result = change.Run(steps);
    if (result != 0 && !m_database.IsReadOnly()) {
        CString text;
        text.Format("The database could not be saved (error %d). The change is kept only until the program ends.",
                    result);
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
    }
    return result;
}

void CZorvikanDesktopView::ShowAddedRecord(CRecord* record, bool select)
{
    if (!record) return;
    // The record list's filter: the list is filled again on a mode switch.
    uint8_t typeFilter[kUniqueKeySize];
    GetListTypeFilter(typeFilter);
    if (!SameKey(typeFilter, KEY_ALL) && !SameKey(typeFilter, record->GetTypeKey())) return;
    const int row = InsertRecordSorted(record);
    RefillCategoryCombo();
    RefillTypeCombo();
    if (select && m_nViewMode == kViewModeList && m_recordList.m_hWnd && row < m_recordList.GetItemCount()) {
        m_recordList.SelectItem(row, TRUE);
        m_recordList.EnsureVisible(row, TRUE);
    }
}

void CZorvikanDesktopView::ShowUpdatedRecord(CRecord* record)
{
    if (!record || !m_recordList.m_hWnd) return;
    const int row = m_recordList.FindRecordRow(record);
    if (row < 0) return;
    m_recordList.RedrawItems(row, row);
    m_recordList.EnsureVisible(row, TRUE);
    ShowDetails(record);
    RefillCategoryCombo();
    RefillTypeCombo();
}

void CZorvikanDesktopView::ShowRemovedRecord(CRecord* record)
{
    if (!record || !m_recordList.m_hWnd) return;
    const int row = m_recordList.FindRecordRow(record);
    if (row < 0) return;
    m_recordList.DeleteItem(row);
    if (m_nViewMode == kViewModeList) {
        m_recordList.Invalidate();
        m_recordList.UpdateWindow();
    }
}

void CZorvikanDesktopView::OnNewItem()
{
    BusyScope busy(m_pluginLink);
    uint8_t category[kUniqueKeySize];
    uint8_t type[kUniqueKeySize];
    GetCategoryFilter(category);
    GetTypeFilter(type);
    RunNewItemDialog(type, category, CString(), CString());
}

void CZorvikanDesktopView::RunNewItemDialog(const uint8_t typeKey[kUniqueKeySize],
                                            const uint8_t categoryKey[kUniqueKeySize], const CString& title,
                                            const CString& address)
{
    CViewEditorHost host(*this);
    CDetailViewDlg dlg(host, m_database, this);
    PlaceAttachments(dlg, m_database, CurrentUser());
    dlg.SetPreset(0, title);
    dlg.SetPreset(3, address);
    dlg.SetAddMode(true);
    const bool anyCategory = SameKey(categoryKey, KEY_ALL) || SameKey(categoryKey, KEY_EDIT_ENTRY);
    dlg.SetCategoryKey(anyCategory ? KEY_UNFILED : categoryKey);
    if (SameKey(typeKey, KEY_ALL) || SameKey(typeKey, KEY_EDIT_ENTRY))
        dlg.SetTypeKey(m_database.GetTypes().ContainsKey(kWebLoginsKey) ? kWebLoginsKey : KEY_UNFILED);
    else
        dlg.SetTypeKey(typeKey);
    BusyScope busy(m_pluginLink);
    EditingScope editing(m_lockState);
    if (dlg.DoModal() == IDCANCEL) return;
    ShowDetails(nullptr);
    if (m_nViewMode == kViewModeTree)
        FillTree(nullptr);
    else if (m_nViewMode == kViewModePanel)
        FillPanelRecords(nullptr);
    else
        SortRecordList();
}

void CZorvikanDesktopView::OnEditItem()
{
    CRecord* record = nullptr;
    if (m_nViewMode == kViewModeList) {
        const std::vector<CRecord*> selected = GetSelectedRecords();
        if (selected.size() != 1) return;
        record = selected[0];
        SortRecordList();
    } else {
        record = GetSelectedRecord();
    }
    EditRecord(record);
}

void CZorvikanDesktopView::EditRecord(CRecord* record)
{
    if (!record) return;
    CViewEditorHost host(*this);
    CDetailViewDlg dlg(host, m_database, this);
    PlaceAttachments(dlg, m_database, CurrentUser());
    dlg.SetRecord(record);
    dlg.SetAttachment(record->GetAttachmentName(), record->GetAttachmentKey(), record->GetAttachmentFileName());
    BusyScope busy(m_pluginLink);
    EditingScope editing(m_lockState);
    if (dlg.DoModal() != IDOK) return;
    if (m_nViewMode == kViewModeTree) {
        FillTree(record);
    } else if (m_nViewMode == kViewModePanel) {
        FillPanelTypes(record);
        FillPanelRecords(record);
    }
    UpdateRecordButtons(record);
    ShowDetails(GetSelectedRecord());
}

void CZorvikanDesktopView::OnUpdateNeedsSelection(CCmdUI* pCmdUI) { pCmdUI->Enable(GetSelectedRecord() != nullptr); }

void CZorvikanDesktopView::OnUpdateDeleteItem(CCmdUI* pCmdUI)
{
    if (m_nViewMode == kViewModeList)
        pCmdUI->Enable(m_recordList.m_hWnd && m_recordList.GetNextItem(-1, LVNI_SELECTED) >= 0);
    else
        pCmdUI->Enable(GetSelectedRecord() != nullptr);
}

void CZorvikanDesktopView::OnDeleteItem()
{
    if (GetSelectedRecords().empty()) return;
    if (AfxMessageBox(IDS_DELETE_ITEMS_ASK, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO) return;
    DeleteSelectedRecords();
    ShowDetails(nullptr);
}

void CZorvikanDesktopView::DeleteSelectedRecords() { DeleteRecords(GetSelectedRecords()); }

void CZorvikanDesktopView::DeleteRecords(const std::vector<CRecord*>& records)
{
    if (records.empty()) return;
    CRecordChangeSequence change;
    for (CRecord* record : records) {
        ShowRemovedRecord(record);
        if (record->HasAttachment()) record->SetAttachmentChanged(1);
        m_database.DeleteRecord(record);
        // Hard deletion frees the record: the notice keeps only its id.
        const bool stillListed = m_database.GetRecords().FindById(record->GetId()) == record;
        change.Add(NOTIFY_DELETED, NOTIFY_ITEM_RECORD, record->GetId(), stillListed ? record : nullptr);
    }
    RefillCategoryCombo();
    if (m_nViewMode == kViewModeList) {
        RefillTypeCombo();
        m_recordList.Invalidate();
        m_recordList.UpdateWindow();
    } else if (m_nViewMode == kViewModeTree) {
        FillTree(nullptr);
    } else {
        ShowDetails(GetSelectedRecord());
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
    }
    CommitRecordChange(change);
}

void CZorvikanDesktopView::OnDuplicateItem()
{
    CRecord* source = nullptr;
    if (m_nViewMode == kViewModeList) {
        const std::vector<CRecord*> selected = GetSelectedRecords();
        if (selected.size() != 1) return;
        source = selected[0];
    } else {
        source = GetSelectedRecord();
    }
    DuplicateRecord(source);
}

void CZorvikanDesktopView::DuplicateRecord(CRecord* source)
{
    if (!source) return;
    CViewEditorHost host(*this);
    CDetailViewDlg dlg(host, m_database, this);
    PlaceAttachments(dlg, m_database, CurrentUser());
    dlg.SetAddMode(true);
    dlg.SetRecord(source);
    dlg.SetAttachment(source->GetAttachmentName(), source->GetAttachmentKey(), source->GetAttachmentFileName());
    {
        BusyScope busy(m_pluginLink);
        EditingScope editing(m_lockState);
        dlg.DoModal();
    }
    if (m_nViewMode == kViewModePanel) {
        FillPanelRecords(nullptr);
        FillPanelTypes(nullptr);
    } else if (m_nViewMode == kViewModeTree) {
        FillTree(nullptr);
    } else {
        m_viewState.sortKey = kDefaultSortKey;
        SortRecordList();
    }
    RefillCategoryCombo();
    ShowDetails(GetSelectedRecord());
}

void CZorvikanDesktopView::OnCustomizeFields() { CustomizeRecord(GetSelectedRecord()); }

void CZorvikanDesktopView::CustomizeRecord(CRecord* record)
{
    if (!record) return;
    BusyScope busy(m_pluginLink);
    const CTypeItem* type = static_cast<const CTypeItem*>(m_database.GetTypes().FindByKey(record->GetTypeKey()));
    CCustomRecordDlg dlg(this);
    record->GetFieldLabels(type, dlg.m_labels);
    dlg.m_mask = record->GetHiddenMask();
    m_database.GetTypes().GetFieldLabels(record->GetTypeKey(), dlg.m_typeLabels);
    dlg.m_typeMask = m_database.GetTypes().GetHiddenMask(record->GetTypeKey());
    if (dlg.DoModal() != IDOK) return;
    record->SetCustomLabels(dlg.m_labels);
    record->SetHiddenMask(dlg.m_mask);
    ShowDetails(record);
    record->SetModified(true);
    // Saved like every other change, so the notice never names a change the
    // file does not hold.
    CRecordChangeSequence change;
    change.Add(NOTIFY_MODIFIED, NOTIFY_ITEM_RECORD, record->GetId(), record);
    CommitRecordChange(change);
}

void CZorvikanDesktopView::OnAttachment()
{
    CRecord* record = GetSelectedRecord();
    if (!record) return;
    const CString date = ModificationDateText(static_cast<int64_t>(std::time(nullptr)));
    if (record->HasAttachment()) {
        if (AfxMessageBox(IDS_DELETE_ATTACHMENT_ASK, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
        record->DeleteAttachmentFile(m_database.GetFilePath());
        record->SetAttachmentChanged(1);
        record->SetField(9, date);
    } else {
        CFileDialog dlg(TRUE, "(*.*)", nullptr, 0, "All Files (*.*)|*.*||", this);
        if (dlg.DoModal() != IDOK) return;
        const CString path = dlg.GetPathName();
        if (CDetailViewDlg::FileSize(path) > CDetailViewDlg::kMaxAttachmentBytes) {
            AfxMessageBox(IDS_ATTACHMENT_TOO_LARGE, MB_OK);
            return;
        }
        const CString key = NewAttachmentKeyText();
        CUserItem* user = CurrentUser();
        const CString folder = user ? CAppPrefMgr::GetInstance()->GetAttachmentsDirectory(user) : CString();
        CAttachmentCrypter crypter(key, record->GetAttachmentFileName(), folder);
        const int result = key.IsEmpty() ? -1 : crypter.EncryptFromFile(path);
        if (result != 0) {
            // Nothing changes: the record never names a file that is not stored.
            CString text;
            text.Format(IDS_ATTACHMENT_NOT_STORED, result);
            AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        record->SetAttachmentName(GetFileNameOfPath(path));
        record->SetAttachmentKey(key);
        record->SetAttachmentChanged(0);
        record->SetField(9, date);
    }
    record->SetModified(true);
    CRecordChangeSequence change;
    change.Add(NOTIFY_MODIFIED, NOTIFY_ITEM_RECORD, record->GetId(), record);
    CommitRecordChange(change);
    if (m_viewState.showingDetails) ShowDetails(record);
    if (m_nViewMode == kViewModeList && m_recordList.m_hWnd) m_recordList.Invalidate();
    UpdateRecordButtons(record);
}

void CZorvikanDesktopView::OnUpdateAttachment(CCmdUI* pCmdUI)
{
    CRecord* record = GetSelectedRecord();
    pCmdUI->Enable(record != nullptr);
    if (record) pCmdUI->SetText(record->HasAttachment() ? "Delete Attachment" : "Add Attachment");
}
