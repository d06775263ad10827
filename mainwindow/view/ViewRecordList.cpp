// The main view's record list: columns, sorting, selection, keys, cut, copy
// and paste.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <cstdint>
#include <cstring>

#include "app/services/RecordClipboardText.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/os/ChangeNotify.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/dialogs/ShowColumnsDlg.h"
#include "mainwindow/models/RecordColumns.h"
#include "mainwindow/records/RecordChangeSequence.h"
#include "mainwindow/records/ViewRecordChangeSteps.h"

namespace {

RecordNames NamesOf(CDatabaseObj& db) { return RecordNames{db.GetTypes(), db.GetCategories()}; }

}  // namespace

// ---- Rows and their order ---------------------------------------------------

// The same search as the tree and the panel: the search box's text, the
// user's options and the searched fields.
RecordSearch CZorvikanDesktopView::GetRecordSearch() { return GetViewSearch(); }

void CZorvikanDesktopView::FillRecordList() { FillRecordListWith(GetRecordSearch(), true); }

void CZorvikanDesktopView::FillRecordListWith(const RecordSearch& search, bool applyFilters)
{
    if (!m_recordList.m_hWnd) return;
    m_recordList.m_crEvenRow = m_viewState.rowColor;
    m_recordList.SendMessage(WM_SETREDRAW, FALSE);
    // The shown records sorted once become the rows in one step.
    std::vector<CRecord*> shown =
        CollectShownRecords(m_database.GetRecords(), applyFilters ? m_viewState.typeFilter : KEY_ALL,
                            applyFilters ? m_viewState.categoryFilter : KEY_ALL, search);
    SortRecords(shown, m_viewState.sortKey, NamesOf(m_database));
    m_recordList.SetRecords(std::move(shown));
    m_recordList.SendMessage(WM_SETREDRAW, TRUE);
    m_recordList.Invalidate();
}

int CZorvikanDesktopView::InsertRecordSorted(CRecord* record)
{
    if (m_nViewMode != kViewModeList || !m_recordList.m_hWnd || !record) return 0;
    const size_t index =
        SortedInsertIndex(m_recordList.GetRecords(), *record, m_viewState.sortKey, NamesOf(m_database));
    return m_recordList.InsertRecord((int)index, record);
}

void CZorvikanDesktopView::SortRecordList()
{
    if (!m_recordList.m_hWnd) return;
    // The records are sorted once, each one's values taken once; selection
    // and focus stay with their records and no row reports a change. Rows
    // without a record go last.
    std::vector<CRecord*> records;
    size_t empty = 0;
    for (CRecord* record : m_recordList.GetRecords()) {
        if (record)
            records.push_back(record);
        else
            ++empty;
    }
    SortRecords(records, m_viewState.sortKey, NamesOf(m_database));
    records.insert(records.end(), empty, nullptr);
    m_recordList.ReorderRecords(std::move(records));
}

// ---- Columns ------------------------------------------------------------------

bool CZorvikanDesktopView::IsTypeFilterAllOrUnfiled() const
{
    return IsSameUniqueKey(m_viewState.typeFilter, KEY_ALL) || IsSameUniqueKey(m_viewState.typeFilter, KEY_UNFILED);
}

CTypeItem* CZorvikanDesktopView::GetChosenType()
{
    if (IsTypeFilterAllOrUnfiled()) return nullptr;
    CBaseItem* item = m_database.GetTypes().FindByKey(m_viewState.typeFilter);
    return item && !item->IsDeleted() ? static_cast<CTypeItem*>(item) : nullptr;
}

void CZorvikanDesktopView::LoadListColumns(bool reload)
{
    CTypeItem* type = GetChosenType();
    if (reload) {
        if (IsTypeFilterAllOrUnfiled()) {
            if (CUserItem* user = CurrentUser())
                m_listColumns = CAppPrefMgr::GetInstance()->GetPrefs()->GetShowColumns(
                    CZorvikanDesktopApp::GetPrefsSection(), user);
        } else if (type) {
            m_listColumns = type->GetColumns();
        }
    }
    if (!m_recordList.m_hWnd) return;
    m_recordList.SendMessage(WM_SETREDRAW, FALSE);
    while (m_recordList.DeleteColumn(0)) {}
    int position = 0;
    for (uint16_t id = 0; id < CShowColumns::kColumns; ++id) {
        if (!m_listColumns.IsColumnVisible(id)) continue;
        int width = m_listColumns.GetColumnWidth(id);
        if (id == kColumnIcon) width = CRecordListCtrl::kIconColumnWidth;
        if (id == kColumnNotes) width = CRecordListCtrl::kNotesColumnWidth;
        if (id == kColumnAttachment) width = CRecordListCtrl::kAttachmentColumnWidth;
        const int index =
            m_recordList.InsertColumn(position, id, (LPCSTR)RecordColumnTitle(id, type), LVCFMT_LEFT, width);
        if (index < 0) continue;
        ++position;
        if (id == kColumnIcon) m_recordList.SetColumnImage(index, CRecordListCtrl::kIconHeaderImage);
        if (id == kColumnNotes) m_recordList.SetColumnImage(index, CRecordListCtrl::kNotesHeaderImage);
        if (id == kColumnAttachment) {
            if (CHeaderCtrl* header = m_recordList.GetHeaderCtrl()) {
                HDITEMA item{};
                item.mask = HDI_FORMAT | HDI_IMAGE;
                item.fmt = HDF_IMAGE | HDF_LEFT;
                item.iImage = CRecordListCtrl::kAttachmentHeaderImage;
                header->SetItem(index, &item);
            }
        }
    }
    m_recordList.SendMessage(WM_SETREDRAW, TRUE);
    m_recordList.Invalidate();
}

void CZorvikanDesktopView::SaveListColumns()
{
    if (IsTypeFilterAllOrUnfiled()) {
        if (CUserItem* user = CurrentUser())
            CAppPrefMgr::GetInstance()->GetPrefs()->SetShowColumns(CZorvikanDesktopApp::GetPrefsSection(), user,
                                                                   m_listColumns);
        return;
    }
    if (CTypeItem* type = GetChosenType()) {
        type->GetColumns() = m_listColumns;
        m_database.Save();
    }
}

void CZorvikanDesktopView::OnColumnChooser()
{
    CStringArray labels;
    if (CTypeItem* type = GetChosenType())
        m_database.GetTypes().GetFieldLabels(type->GetKey(), labels);
    else
        for (int i = 0; i < kItemFieldCount; ++i) labels.Add(CString());
    CShowColumnsDlg dialog(this, m_listColumns, labels);
    m_pluginLink.SetBusy(1);
    const INT_PTR answer = dialog.DoModal();
    m_pluginLink.SetBusy(0);
    if (answer != IDOK) return;
    if (IsSameUniqueKey(m_viewState.typeFilter, KEY_ALL) &&
        AfxMessageBox("Do you want the current column settings to be applied to all views?",
                      MB_YESNO | MB_DEFBUTTON2) == IDYES)
        m_database.SetColumnsForAllTypes(m_listColumns);  // reaches the file with its next save
    SaveListColumns();
    LoadListColumns(true);
}

// ---- Header ---------------------------------------------------------------------

BOOL CZorvikanDesktopView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* nm = reinterpret_cast<const NMHDR*>(lParam);
    // The tree tells of every node it lets go, one notice each when emptied
    // or destroyed: nothing here keeps anything per node, so they end here.
    if (nm && m_tree.m_hWnd && nm->hwndFrom == m_tree.m_hWnd &&
        (nm->code == TVN_DELETEITEMA || nm->code == TVN_DELETEITEMW)) {
        *pResult = 0;
        return TRUE;
    }
    CHeaderCtrl* header = m_recordList.m_hWnd ? m_recordList.GetHeaderCtrl() : nullptr;
    if (nm && header && nm->hwndFrom == header->m_hWnd) {
        // The list passes its header's notices on; the item index and the
        // width lie at the same places in the ANSI and wide forms.
        const NMHEADERA* hd = reinterpret_cast<const NMHEADERA*>(lParam);
        switch (nm->code) {
        case HDN_ITEMCLICKA:
        case HDN_ITEMCLICKW: OnHeaderItemClick(hd->iItem); break;
        case HDN_ENDTRACKA:
        case HDN_ENDTRACKW:
            if (hd->pitem && (hd->pitem->mask & HDI_WIDTH)) OnHeaderEndTrack(hd->iItem, hd->pitem->cxy);
            break;
        case HDN_DIVIDERDBLCLICKA:
        case HDN_DIVIDERDBLCLICKW: OnHeaderDividerDblClick(hd->iItem); break;
        default: break;
        }
    }
    return CMainViewBase::OnNotify(wParam, lParam, pResult);
}

void CZorvikanDesktopView::OnHeaderItemClick(int item)
{
    const int column = m_listColumns.GetVisibleColumnId(item);
    m_viewState.sortKey = SortKeyAfterHeaderClick(m_viewState.sortKey, column);
    if (m_nViewMode == kViewModeList) SortRecordList();
}

void CZorvikanDesktopView::OnHeaderEndTrack(int item, int width)
{
    // The header keeps what was dragged; the set never goes below 24.
    m_listColumns.SetColumnWidth(m_listColumns.GetVisibleColumnId(item), width);
    SaveListColumns();
}

void CZorvikanDesktopView::OnHeaderDividerDblClick(int item)
{
    const uint16_t column = m_listColumns.GetVisibleColumnId(item);
    const int width = m_recordList.GetColumnFitWidth(column);
    m_listColumns.SetColumnWidth(column, width);
    if (CHeaderCtrl* header = m_recordList.GetHeaderCtrl()) {
        HDITEMA hd{};
        hd.mask = HDI_WIDTH;
        hd.cxy = width;
        header->SetItem(item, &hd);
    }
    Invalidate();
}

// ---- Keys and selection -----------------------------------------------------------

void CZorvikanDesktopView::OnPageUp()
{
    if (!m_recordList.m_hWnd || m_recordList.GetItemCount() == 0) return;
    RECT row{};
    m_recordList.GetItemRect(0, &row, LVIR_BOUNDS);
    m_recordList.Scroll(CSize(0, -m_recordList.GetCountPerPage() * (row.bottom - row.top)));
}

void CZorvikanDesktopView::OnPageDown()
{
    if (!m_recordList.m_hWnd || m_recordList.GetItemCount() == 0) return;
    RECT row{};
    m_recordList.GetItemRect(0, &row, LVIR_BOUNDS);
    m_recordList.Scroll(CSize(0, m_recordList.GetCountPerPage() * (row.bottom - row.top)));
}

void CZorvikanDesktopView::OnSelectAll()
{
    if (m_recordList.m_hWnd) m_recordList.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    UpdateRecordButtons(GetSelectedRecord());
}

void CZorvikanDesktopView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_recordList.m_hWnd) m_recordList.OnChar(nChar, nRepCnt, nFlags);
    CView::OnChar(nChar, nRepCnt, nFlags);
}

void CZorvikanDesktopView::OnRecordListItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMLISTVIEW* lv = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (!m_bBatchSelecting && (lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED)) {
        CRecord* record = GetSelectedRecord();
        ShowDetails(record);
        if (record)
            if (CZorvikanDesktopApp* app = App()) app->OnRecordViewed(record);
    }
    *pResult = 0;
}

// The popup comes from the list's own context menu.
void CZorvikanDesktopView::OnRecordListRClick(NMHDR*, LRESULT* pResult) { *pResult = 0; }

// ---- Cut, copy and paste ------------------------------------------------------------

std::vector<CRecord*> CZorvikanDesktopView::GetSelectedRecords()
{
    std::vector<CRecord*> records;
    if (m_nViewMode == kViewModeList) {
        if (!m_recordList.m_hWnd) return records;
        for (int row = m_recordList.GetNextItem(-1, LVNI_SELECTED); row != -1;
             row = m_recordList.GetNextItem(row, LVNI_SELECTED))
            if (CRecord* record = m_recordList.GetRecordAt(row)) records.push_back(record);
    } else if (CRecord* record = GetSelectedRecord()) {
        records.push_back(record);
    }
    return records;
}

int CZorvikanDesktopView::CopySelectionToClipboard()
{
    IRecordClipboardText* exchange = GetRecordClipboardText();
    if (!exchange) return -1;
    const std::vector<CRecord*> selected = GetSelectedRecords();
    const std::string text =
        exchange->WriteRecords(m_database, std::vector<const CRecord*>(selected.begin(), selected.end()));
    // The one way the program's text reaches the clipboard.
    return CopyTextToClipboard(CString(text.c_str())) ? 0 : -1;
}

void CZorvikanDesktopView::OnEditCopy() { CopySelectionToClipboard(); }

void CZorvikanDesktopView::OnEditCut()
{
    // Only records that reached the clipboard are deleted.
    if (CopySelectionToClipboard() == 0) DeleteSelectedRecords();
}

void CZorvikanDesktopView::OnUpdateEditCutCopy(CCmdUI* pCmdUI)
{
    if (m_nViewMode == kViewModeList)
        pCmdUI->Enable(m_recordList.m_hWnd && m_recordList.GetSelectedCount() > 0);
    else
        pCmdUI->Enable(GetSelectedRecord() != nullptr);
}

void CZorvikanDesktopView::OnUpdateEditPaste(CCmdUI* pCmdUI) { pCmdUI->Enable(IsProgramTextOnClipboard()); }

void CZorvikanDesktopView::OnEditPaste()
{
    if (!::OpenClipboard(m_hWnd)) {
        AfxMessageBox("There was an error opening the Windows clipboard.", MB_OK);
        return;
    }
    bool haveText = false;
    std::string text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
            // The text ends at its NUL, and never past its block.
            text.assign(bytes, strnlen(bytes, ::GlobalSize(data)));
            haveText = true;
            ::GlobalUnlock(data);
        }
    }
    // Closed before the import, which may show its own windows.
    ::CloseClipboard();
    if (haveText) ImportClipboardText(text);
    if (m_nViewMode == kViewModePanel) {
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
    } else if (m_nViewMode == kViewModeTree) {
        FillTree(nullptr);
    } else {
        m_viewState.sortKey = kDefaultSortKey;
        SortRecordList();
    }
    ShowDetails(nullptr);
    RefillCategoryCombo();
    RefillTypeCombo();
}

void CZorvikanDesktopView::ImportClipboardText(const std::string& text)
{
    IRecordClipboardText* exchange = GetRecordClipboardText();
    if (!exchange) return;
    if (m_recordList.m_hWnd) m_recordList.SetItemState(-1, 0, LVIS_SELECTED);
    CNotifyProviderList notices;
    std::vector<CRecord*> added;
    exchange->ImportText(m_database, text, &notices, added);
    CZorvikanDesktopApp* app = App();
    const bool allTypes = IsSameUniqueKey(m_viewState.typeFilter, KEY_ALL);
    for (CRecord* record : added) {
        if (!allTypes && !IsSameUniqueKey(m_viewState.typeFilter, record->GetTypeKey())) continue;
        const int row = InsertRecordSorted(record);
        if (app) app->OnRecordAdded(record);
        if (m_nViewMode == kViewModeList && m_recordList.m_hWnd)
            m_recordList.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    // Notices and the plug-in's signal send others to the file: only after
    // it holds the records.
    if (m_database.Save() == 0) {
        notices.PostAll(app ? app->GetCurrentUser() : nullptr);
        m_pluginLink.SignalDatabaseChange();
    }
    RefillTypeCombo();
    SelectTypeInCombo(m_viewState.typeFilter);
    RefillCategoryCombo();
    SelectCategoryInCombo(m_viewState.categoryFilter);
    if (m_recordList.m_hWnd) m_recordList.SetFocus();
}
