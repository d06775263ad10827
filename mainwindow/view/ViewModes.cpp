// The main view's list, tree and panel modes: switching, filling, the
// selected record, reload and refresh.
#include <cstring>
#include <utility>
#include <vector>

#include "app/frame/MainFrm.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/items/DefaultItems.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "app/res/Resource.h"
#include "core/items/TypeItem.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/models/FilterComboModel.h"
#include "mainwindow/models/FrontInsertOrder.h"
#include "mainwindow/models/RecordGroups.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

namespace {

// The image of the "Unfiled" node and row.
constexpr int kUnfiledImage = 24;

// Stops a control's drawing for the length of a fill.
class NoRedraw {
public:
    explicit NoRedraw(CWnd& wnd) : m_wnd(wnd) { m_wnd.SendMessage(WM_SETREDRAW, FALSE); }
    ~NoRedraw()
    {
        m_wnd.SendMessage(WM_SETREDRAW, TRUE);
        m_wnd.Invalidate();
    }
    NoRedraw(const NoRedraw&) = delete;
    NoRedraw& operator=(const NoRedraw&) = delete;

private:
    CWnd& m_wnd;
};

// Clears the selection row by selected row: the list is not walked for the
// one or few rows selected among thousands.
void DeselectRows(CListCtrl& list)
{
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED))
        list.SetItemState(row, 0, LVIS_SELECTED);
}

void SelectListRow(CListCtrl& list, int row)
{
    list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0) return;
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SendMessage(LVM_SETSELECTIONMARK, 0, row);
    list.EnsureVisible(row, FALSE);
}

HTREEITEM InsertTreeNode(CTreeCtrl& tree, const CString& text, int image, LPARAM data, HTREEITEM parent)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<LPSTR>((LPCSTR)text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = data;
    return tree.InsertItem(&insert);
}

}  // namespace

RecordSearch CZorvikanDesktopView::GetViewSearch()
{
    RecordSearch search;
    if (CMainFrame* frame = Frame())
        if (frame->GetDialogToolbar().m_edSearch.m_hWnd)
            frame->GetDialogToolbar().m_edSearch.GetWindowText(search.text);
    if (CUserItem* user = CurrentUser()) {
        std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
        search.caseSensitive = prefs->GetCaseSensitive(user);
        search.wholeWord = prefs->GetWholeWord(user);
    }
    search.fieldMask = m_nSearchColumns == 1 ? (WORD)1 : (WORD)0xFFFF;
    return search;
}

// ---- Switching -------------------------------------------------------------

void CZorvikanDesktopView::DestroyModeControls()
{
    if (m_tree.m_hWnd) m_tree.DestroyWindow();
    for (CListCtrlEx* list : {&m_panelTypes, &m_panelRecords, &m_panelSmartLists})
        if (list->m_hWnd) list->DestroyWindow();
}

void CZorvikanDesktopView::SetFrameForMode(int mode)
{
    CMainFrame* frame = Frame();
    if (!frame || !frame->GetDialogToolbar().m_hWnd) return;
    CDialogToolbar& bar = frame->GetDialogToolbar();
    const std::pair<CBitmapButton*, int> buttons[] = {{&bar.m_btnListView, kViewModeList},
                                                      {&bar.m_btnTreeView, kViewModeTree},
                                                      {&bar.m_btnPanelView, kViewModePanel}};
    for (const auto& button : buttons) {
        if (!button.first->m_hWnd) continue;
        button.first->EnableWindow(button.second != mode);
        button.first->Invalidate();
    }
    // The tree and the panel group by type themselves.
    const int show = mode == kViewModeList ? SW_SHOW : SW_HIDE;
    if (bar.m_cbTypes.m_hWnd) bar.m_cbTypes.ShowWindow(show);
    if (bar.m_stTypes.m_hWnd) bar.m_stTypes.ShowWindow(show);
}

void CZorvikanDesktopView::StoreViewMode(int mode)
{
    m_viewState.viewMode = mode;
    if (CUserItem* user = CurrentUser()) CAppPrefMgr::GetInstance()->GetPrefs()->SetLatestView(user, mode);
}

void CZorvikanDesktopView::ShowDetailsPaneByFlag()
{
    if (m_detailsPane.m_hWnd) m_detailsPane.ShowWindow(m_viewState.showingDetails ? SW_SHOW : SW_HIDE);
}

void CZorvikanDesktopView::OnListView()
{
    if (CBitmapButton* autoFill = GetToolButton(ID_AUTO_FILL)) autoFill->EnableWindow(FALSE);
    DestroyModeControls();
    m_nViewMode = kViewModeList;
    if (CBitmapButton* newType = GetToolButton(ID_NEW_TYPE)) newType->ShowWindow(SW_HIDE);

    PlaceStripButtons();
    FillRecordList();
    const CRect display = GetListRect();
    m_recordList.MoveWindow(&display, TRUE);
    m_recordList.ShowWindow(SW_SHOW);
    m_recordList.Invalidate();
    ShowDetailsPaneByFlag();
    SetFrameForMode(kViewModeList);

    StoreViewMode(kViewModeList);
    m_recordList.SelectItem(0, TRUE);
    UpdateRecordButtons(m_recordList.GetItemCount() > 0 ? reinterpret_cast<CRecord*>(m_recordList.GetItemData(0))
                                                        : nullptr);
    RefillTypeCombo();
    m_recordList.SetFocus();
}

void CZorvikanDesktopView::OnTreeView()
{
    if (CBitmapButton* autoFill = GetToolButton(ID_AUTO_FILL)) autoFill->EnableWindow(FALSE);
    if (CBitmapButton* newType = GetToolButton(ID_NEW_TYPE)) newType->ShowWindow(SW_HIDE);
    if (m_nViewMode == kViewModeTree) return;

    m_recordList.SetItemState(-1, 0, LVIS_SELECTED);
    m_recordList.ShowWindow(SW_HIDE);
    ShowDetailsPaneByFlag();
    DestroyModeControls();
    m_nViewMode = kViewModeTree;
    PlaceStripButtons();
    SetFrameForMode(kViewModeTree);

    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                        TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_TRACKSELECT;
    m_tree.Create(style, GetListRect(), this, IDC_CATEGORY_TREE);
    m_tree.SetFont(&m_listFont);
    COLORREF back = (COLORREF)m_viewState.rowColor;
    if (CUserItem* user = CurrentUser()) back = (COLORREF)CAppPrefMgr::GetInstance()->GetPrefs()->GetRowColor(user);
    m_tree.SetBkColor(back);
    m_tree.SetImageList(&m_smallIcons, TVSIL_NORMAL);

    FillTree(nullptr);
    if (!m_tree.GetSelectedItem()) m_tree.SelectItem(m_tree.GetNextItem(nullptr, TVGN_FIRSTVISIBLE));
    StoreViewMode(kViewModeTree);
    ShowDetails(nullptr);
    m_tree.SetFocus();
}

void CZorvikanDesktopView::CreatePanelList(CListCtrlEx& list, UINT id, DWORD style, const CRect& rect, LPCSTR heading,
                                           int width, bool icons)
{
    // The view owns its image list: the list must not destroy it with itself.
    list.Create(style | (icons ? LVS_SHAREIMAGELISTS : 0), rect, this, id);
    if (icons) list.SetImageList(&m_smallIcons, LVSIL_SMALL);
    list.SetFont(&m_listFont);
    COLORREF back = (COLORREF)m_viewState.rowColor;
    if (CUserItem* user = CurrentUser()) back = (COLORREF)CAppPrefMgr::GetInstance()->GetPrefs()->GetRowColor(user);
    list.SetBkColor(back);
    list.SetTextBkColor(back);
    list.InsertColumn(0, heading, LVCFMT_LEFT, width);
}

void CZorvikanDesktopView::OnPanelView()
{
    if (CBitmapButton* autoFill = GetToolButton(ID_AUTO_FILL)) autoFill->EnableWindow(FALSE);
    if (m_nViewMode == kViewModePanel) return;

    DeselectRows(m_recordList);
    m_recordList.ShowWindow(SW_HIDE);
    ShowDetailsPaneByFlag();
    DestroyModeControls();
    SetFrameForMode(kViewModePanel);

    const CRect area = GetListRect();
    const int h = area.right / 2;
    // The lists are made hidden and shown once filled and in place: every
    // change to a shown list costs the window system a round of its own.
    const DWORD sorted = WS_CHILD | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING |
                         LVS_ALIGNLEFT | LVS_NOSORTHEADER;
    const DWORD smart = WS_CHILD | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT;
    const CRect left(area.left, area.top, h - 5, area.bottom);
    CreatePanelList(m_panelTypes, IDC_PANEL_TYPES, sorted, left, "Type", h - 5 - area.left, true);
    CreatePanelList(m_panelSmartLists, IDC_PANEL_SMART_LISTS, smart, left, "Smart Types", h - 5 - area.left, true);
    CreatePanelList(m_panelRecords, IDC_PANEL_RECORDS, sorted, CRect(h + 6, area.top, area.right, area.bottom),
                    "Description", 200, false);
    // The mode is set first: the selections of the fills below come back as
    // panel notices.
    m_nViewMode = kViewModePanel;
    RefreshSmartListEntries();
    FillPanelTypes(nullptr);
    FillPanelRecords(nullptr);

    if (CBitmapButton* newType = GetToolButton(ID_NEW_TYPE)) newType->ShowWindow(SW_SHOW);
    StoreViewMode(kViewModePanel);
    ShowDetails(GetSelectedRecord());
    UpdateRecordButtons(nullptr);
    RECT client{};
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.right, client.bottom);
    for (CListCtrlEx* list : {&m_panelTypes, &m_panelSmartLists, &m_panelRecords}) list->ShowWindow(SW_SHOW);
    m_panelTypes.SetFocus();
}

// ---- Clicks ----------------------------------------------------------------

void CZorvikanDesktopView::ShowRecordAndReport(CRecord* record)
{
    ShowDetails(record);
    if (record)
        if (CZorvikanDesktopApp* app = App()) app->OnRecordViewed(record);
}

void CZorvikanDesktopView::OnRecordsClick(NMHDR*, LRESULT* pResult)
{
    ShowRecordAndReport(GetSelectedRecord());
    *pResult = 0;
}

void CZorvikanDesktopView::OnRecordsDblClk(NMHDR*, LRESULT* pResult)
{
    SendMessage(WM_COMMAND, ID_EDIT_ITEM, 0);
    *pResult = 0;
}

void CZorvikanDesktopView::OnTreeSelChanged(NMHDR*, LRESULT* pResult)
{
    if (m_nViewMode == kViewModeTree) ShowRecordAndReport(GetSelectedRecord());
    *pResult = 0;
}

void CZorvikanDesktopView::OnTreeDblClk(NMHDR*, LRESULT* pResult)
{
    HTREEITEM caret = m_tree.m_hWnd ? m_tree.GetSelectedItem() : nullptr;
    if (caret && m_tree.GetParentItem(caret)) SendMessage(WM_COMMAND, ID_EDIT_ITEM, 0);
    *pResult = 0;
}

void CZorvikanDesktopView::OnPanelRecordsDblClk(NMHDR*, LRESULT* pResult)
{
    SendMessage(WM_COMMAND, ID_EDIT_ITEM, 0);
    *pResult = 0;
}

void CZorvikanDesktopView::OnPanelTypesDblClk(NMHDR*, LRESULT* pResult) { *pResult = 0; }

void CZorvikanDesktopView::OnPanelRecordSelected()
{
    if (m_nViewMode != kViewModePanel) return;
    CRecord* record = GetSelectedRecord();
    ShowRecordAndReport(record);
    // The smart lists' counts follow what was viewed.
    if (record) FillSmartListEntries();
}

// ---- The selected record ----------------------------------------------------

CRecord* CZorvikanDesktopView::GetSelectedRecord()
{
    if (m_nViewMode == kViewModeTree) {
        if (!m_tree.m_hWnd) return nullptr;
        HTREEITEM caret = m_tree.GetSelectedItem();
        if (!caret || !m_tree.GetParentItem(caret)) return nullptr;
        return reinterpret_cast<CRecord*>(m_tree.GetItemData(caret));
    }
    if (m_nViewMode == kViewModePanel) {
        if (!m_panelRecords.m_hWnd || m_panelRecords.GetSelectedCount() == 0) return nullptr;
        const int mark = (int)m_panelRecords.SendMessage(LVM_GETSELECTIONMARK);
        if (mark < 0 || mark >= m_panelRecords.GetItemCount()) return nullptr;
        return reinterpret_cast<CRecord*>(m_panelRecords.GetItemData(mark));
    }
    if (!m_recordList.m_hWnd || m_recordList.GetSelectedCount() != 1) return nullptr;
    const int row = m_recordList.GetNextItem(-1, LVNI_SELECTED);
    return row < 0 ? nullptr : reinterpret_cast<CRecord*>(m_recordList.GetItemData(row));
}

CRecord* CZorvikanDesktopView::GetSelectedWebLogin()
{
    CRecord* record = GetSelectedRecord();
    return record && std::memcmp(record->GetTypeKey(), kWebLoginsTypeKey, kUniqueKeySize) == 0 ? record : nullptr;
}

void CZorvikanDesktopView::ShowDetails(CRecord* record)
{
    UpdateRecordButtons(record);
    m_detailsPane.ShowRecord(m_viewState.showingDetails ? record : nullptr, m_nHeadingHeight,
                             m_nLineHeight > 0 ? m_nLineHeight : 16);
}

void CZorvikanDesktopView::UpdateRecordButtons(CRecord* record)
{
    CBitmapButton* print = GetToolButton(ID_PRINT_RECORD);
    CBitmapButton* attachment = GetToolButton(ID_ADD_ATTACHMENT);
    if (print && print->m_hWnd) print->EnableWindow(record != nullptr);
    if (attachment && attachment->m_hWnd) {
        attachment->EnableWindow(record != nullptr);
        if (record) {
            const bool has = record->HasAttachment();
            if (has)
                attachment->LoadBitmaps(IDB_DELETE_ATTACHMENT, IDB_DELETE_ATTACHMENT_DOWN, 0,
                                        IDB_DELETE_ATTACHMENT_DISABLED);
            else
                attachment->LoadBitmaps(IDB_ADD_ATTACHMENT, IDB_ADD_ATTACHMENT_DOWN, 0, IDB_ADD_ATTACHMENT_DISABLED);
            if (m_viewTip.m_hWnd) m_viewTip.UpdateTipText(has ? "Delete Attachment" : "Add Attachment", attachment);
            attachment->Invalidate();
        }
    }
    if (CBitmapButton* autoFill = GetToolButton(ID_AUTO_FILL))
        if (autoFill->m_hWnd) autoFill->EnableWindow(GetSelectedWebLogin() != nullptr);
}

// ---- Fills -------------------------------------------------------------------

void CZorvikanDesktopView::FillTree(CRecord* select)
{
    if (!m_tree.m_hWnd) return;
    HTREEITEM selected = nullptr;
    {
        NoRedraw quiet(m_tree);
        m_tree.DeleteAllItems();
        const RecordSearch search = GetViewSearch();
        uint8_t category[kUniqueKeySize];
        GetCategoryFilter(category);
        // The type nodes follow the type combo's entries: types by name.
        CFilterComboModel types(CFilterComboModel::kTypes);
        types.Refill(m_database.GetTypes(), m_database.GetRecords());
        // Every node is handed over with its record in one insert, the type
        // nodes before all records: the control checks each handle it is given
        // by a search of all its nodes in the order they were made.
        const std::vector<RecordGroup> groups = BuildTreeGroups(types, m_database.GetRecords(), category, search);
        std::vector<HTREEITEM> nodes(groups.size(), nullptr);
        for (size_t g = 0; g < groups.size(); ++g) {
            if (groups[g].records.empty()) continue;
            const int image = groups[g].type ? (int)groups[g].type->GetIcon() : kUnfiledImage;
            nodes[g] = InsertTreeNode(m_tree, groups[g].text, image, (LPARAM)groups[g].type, TVI_ROOT);
        }
        for (size_t g = 0; g < groups.size(); ++g) {
            if (!nodes[g]) continue;
            for (CRecord* record : groups[g].records) {
                HTREEITEM child =
                    InsertTreeNode(m_tree, record->GetField(0), (int)record->GetIcon(), (LPARAM)record, nodes[g]);
                if (record == select) selected = child;
            }
        }
    }
    m_tree.SelectItem(selected ? selected : m_tree.GetNextItem(nullptr, TVGN_FIRSTVISIBLE));
    RefillCategoryCombo();
}

void CZorvikanDesktopView::FillPanelTypes(CBaseItem* select)
{
    if (!m_panelTypes.m_hWnd) return;
    {
        NoRedraw quiet(m_panelTypes);
        m_panelTypes.DeleteAllItems();
        const RecordSearch search = GetViewSearch();
        uint8_t category[kUniqueKeySize];
        GetCategoryFilter(category);
        m_panelUnfiled = std::make_unique<CTypeItem>();
        m_panelUnfiled->SetKey(KEY_UNFILED);
        int n = 0;
        for (const RecordGroup& group :
             BuildPanelTypeRows(m_database.GetTypes(), m_database.GetRecords(), category, search)) {
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
            item.iItem = ++n;
            item.pszText = const_cast<LPSTR>((LPCSTR)group.text);
            item.iImage = group.type ? (int)group.type->GetIcon() : kUnfiledImage;
            item.lParam = (LPARAM)(group.type ? group.type : m_panelUnfiled.get());
            m_panelTypes.InsertItem(&item);
        }
    }
    // The sorted style moves rows as others come in: look the row up after.
    const int row = FindPanelTypeRow(select);
    SelectListRow(m_panelTypes, row >= 0 ? row : (m_panelTypes.GetItemCount() > 0 ? 0 : -1));
    FillSmartListEntries();
}

int CZorvikanDesktopView::FindPanelTypeRow(CBaseItem* select)
{
    if (!select) return -1;
    const bool isRecord = select->GetItemKind() == kItemKindRecord;
    const uint8_t* key = isRecord ? static_cast<CRecord*>(select)->GetTypeKey() : nullptr;
    for (int row = 0; row < m_panelTypes.GetItemCount(); ++row) {
        auto* type = reinterpret_cast<CBaseItem*>(m_panelTypes.GetItemData(row));
        if (!type) continue;
        if (isRecord ? std::memcmp(type->GetKey(), key, kUniqueKeySize) == 0 : type == select) return row;
    }
    return -1;
}

void CZorvikanDesktopView::FillPanelRecords(CRecord* select) { FillPanelRecordList(select, -1); }

std::vector<CRecord*> CZorvikanDesktopView::PanelRowOrder(std::vector<CRecord*> records)
{
    // The order the sorted list leaves when the records are handed over as
    // they come: by field 1 without case, equal rows newest first.
    struct Row {
        CString text;
        CRecord* record;
    };
    std::vector<Row> rows;
    rows.reserve(records.size());
    for (CRecord* record : records) rows.push_back({record->GetField(0), record});
    rows =
        FrontInsertOrder(std::move(rows), [](const Row& a, const Row& b) { return ::lstrcmpiA(a.text, b.text) < 0; });
    // Each landed in front of the ones before it: the last handed is on top.
    records.clear();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) records.push_back(it->record);
    return records;
}

std::vector<CRecord*> CZorvikanDesktopView::PanelRowsOfType(int typeRow, const RecordSearch& search)
{
    uint8_t typeKey[kUniqueKeySize];
    std::memcpy(typeKey, KEY_UNFILED, kUniqueKeySize);
    if (auto* type = reinterpret_cast<CBaseItem*>(m_panelTypes.GetItemData(typeRow)))
        std::memcpy(typeKey, type->GetKey(), kUniqueKeySize);
    uint8_t category[kUniqueKeySize];
    GetCategoryFilter(category);
    return PanelRowOrder(CollectShownRecords(m_database.GetRecords(), typeKey, category, search));
}

std::vector<CRecord*> CZorvikanDesktopView::GetShownRecords()
{
    std::vector<CRecord*> records;
    if (m_nViewMode == kViewModeTree) {
        if (!m_tree.m_hWnd) return records;
        for (HTREEITEM type = m_tree.GetRootItem(); type; type = m_tree.GetNextSiblingItem(type))
            for (HTREEITEM child = m_tree.GetChildItem(type); child; child = m_tree.GetNextSiblingItem(child))
                if (auto* record = reinterpret_cast<CRecord*>(m_tree.GetItemData(child))) records.push_back(record);
    } else if (m_nViewMode == kViewModePanel) {
        // Every type row's records as the description list shows them when
        // that row is chosen, whatever it shows now.
        if (!m_panelTypes.m_hWnd) return records;
        const RecordSearch search = GetViewSearch();
        for (int row = 0; row < m_panelTypes.GetItemCount(); ++row)
            for (CRecord* record : PanelRowsOfType(row, search)) records.push_back(record);
    } else if (m_recordList.m_hWnd) {
        for (CRecord* record : m_recordList.GetRecords())
            if (record) records.push_back(record);
    }
    return records;
}

void CZorvikanDesktopView::FillPanelRecordList(CRecord* select, int smartList)
{
    if (CBitmapButton* autoFill = GetToolButton(ID_AUTO_FILL))
        if (autoFill->m_hWnd) autoFill->EnableWindow(FALSE);
    if (!m_panelRecords.m_hWnd) return;
    int selectRow = -1;
    {
        NoRedraw quiet(m_panelRecords);
        m_panelRecords.DeleteAllItems();
        const int mark = (int)m_panelTypes.SendMessage(LVM_GETSELECTIONMARK);
        if (mark < 0 || mark >= m_panelTypes.GetItemCount()) return;
        const RecordSearch search = GetViewSearch();
        std::vector<CRecord*> records;
        if (smartList < 0) {
            records = PanelRowsOfType(mark, search);
        } else {
            // No type or category filter applies to a smart list; the search does.
            GetSmartList(smartList, records);
            std::vector<CRecord*> found;
            for (CRecord* record : records)
                if (IsRecordShown(*record, KEY_ALL, KEY_ALL, search)) found.push_back(record);
            records = PanelRowOrder(std::move(found));
        }
        // The list sorts its rows itself, walking the rows it holds for
        // every new one: handed over bottom row first, each lands in front
        // at once.
        for (auto it = records.rbegin(); it != records.rend(); ++it) {
            const CString text = (*it)->GetField(0);
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = 0;
            item.pszText = const_cast<LPSTR>((LPCSTR)text);
            item.lParam = (LPARAM)*it;
            m_panelRecords.InsertItem(&item);
        }
        if (select)
            for (int row = 0; row < m_panelRecords.GetItemCount(); ++row)
                if (reinterpret_cast<CRecord*>(m_panelRecords.GetItemData(row)) == select) selectRow = row;
    }
    if (selectRow >= 0) SelectListRow(m_panelRecords, selectRow);
    if (CMainFrame* frame = Frame()) {
        frame->GetDialogToolbar().m_cbCategories.Invalidate();
        frame->GetDialogToolbar().m_cbTypes.Invalidate();
    }
    RefillCategoryCombo();
}

void CZorvikanDesktopView::SelectShownRecord(CRecord* record)
{
    if (record && !record->IsDeleted()) {
        if (m_nViewMode == kViewModeTree) {
            FillTree(record);
        } else if (m_nViewMode == kViewModePanel) {
            FillPanelTypes(record);
            FillPanelRecords(record);
        } else if (m_recordList.m_hWnd) {
            const int row = m_recordList.FindRecordRow(record);
            if (row >= 0) {
                m_recordList.SelectItem(row, TRUE);
                m_recordList.EnsureVisible(row, FALSE);
            }
        }
    }
    ShowDetails(GetSelectedRecord());
}

void CZorvikanDesktopView::FillCurrentMode()
{
    if (m_nViewMode == kViewModePanel) {
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
    } else if (m_nViewMode == kViewModeTree) {
        FillTree(nullptr);
    } else {
        FillRecordList();
    }
}

void CZorvikanDesktopView::ReloadAndRefresh(CUserItem*, bool reopen)
{
    // Every reopen goes through the one checked open: a file that does not
    // load is reported and the empty object is never saved over it.
    if (reopen) OpenUserData(true);
    std::memcpy(m_viewState.typeFilter, KEY_ALL, kUniqueKeySize);
    std::memcpy(m_viewState.categoryFilter, KEY_ALL, kUniqueKeySize);
    RefillCategoryCombo();
    RefillTypeCombo();
    if (m_nViewMode == kViewModePanel) {
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
    } else if (m_nViewMode == kViewModeTree) {
        FillTree(nullptr);
    } else {
        m_viewState.sortKey = kDefaultSortKey;
        FillRecordList();
    }
    ShowDetails(GetSelectedRecord());
}
