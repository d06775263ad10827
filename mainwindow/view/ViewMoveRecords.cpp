// The record popup menu, moving the selected records to another type or
// category, and the panel's drag of a record onto a row of the type list;
// the panel lists' column click folds and unfolds the smart-list pane.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <cstring>

#include "app/res/RecordListRes.h"
#include "app/res/Resource.h"
#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/models/FilterComboModel.h"
#include "mainwindow/models/MoveMenuEntries.h"
#include "mainwindow/records/RecordChangeSequence.h"
#include "mainwindow/records/RecordMoves.h"
#include "toolkit/menus/BCMenu.h"

namespace {

// Positions in the popup's template.
constexpr int kTypeSubmenuPos = 1;
constexpr int kCategorySubmenuPos = 2;
constexpr int kAttachmentEntryPos = 13;

HCURSOR DragCursor()
{
    HCURSOR cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_RECORD_DRAG));
    if (!cursor) cursor = ::LoadCursorA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDC_RECORD_DRAG));
    return cursor ? cursor : ::LoadCursorA(nullptr, IDC_ARROW);
}

BCMenu* AsBCMenu(CMenu* menu) { return menu && BCMenu::IsBCMenu(menu) ? static_cast<BCMenu*>(menu) : nullptr; }

// Entries before "Unfiled", then the editor's entry after it.
void FillMoveSubmenu(BCMenu& submenu, const CMoveMenuEntries& entries, const uint8_t* currentKey, UINT unfiledId,
                     const CString& editText, UINT editId)
{
    if (currentKey && std::memcmp(currentKey, KEY_UNFILED, kUniqueKeySize) == 0)
        submenu.CheckMenuItem(unfiledId, MF_BYCOMMAND | MF_CHECKED);
    int n = 0;
    for (const CMoveMenuEntries::Entry& entry : entries.Entries()) {
        submenu.InsertMenu((UINT)n, MF_BYPOSITION | MF_STRING | (entry.checked ? MF_CHECKED : 0u), entry.id,
                           (LPCSTR)entry.text);
        ++n;
    }
    submenu.InsertMenu((UINT)n + 1, MF_BYPOSITION | MF_STRING, editId, (LPCSTR)editText);
}

}  // namespace

// ---- The popup ---------------------------------------------------------------

void CZorvikanDesktopView::OnContextMenu(CWnd*, CPoint point)
{
    if (m_nViewMode == kViewModePanel) {
        if (!m_panelRecords.m_hWnd) return;
        CPoint client = point;
        m_panelRecords.ScreenToClient(&client);
        UINT flags = 0;
        if (m_panelRecords.HitTest(client, &flags) < 0 || !(flags & LVHT_ONITEM)) return;
    } else if (m_nViewMode == kViewModeTree) {
        if (!m_tree.m_hWnd) return;
        CPoint client = point;
        m_tree.ScreenToClient(&client);
        UINT flags = 0;
        HTREEITEM node = m_tree.HitTest(client, &flags);
        if (!node || !(flags & TVHT_ONITEM) || !m_tree.GetParentItem(node)) return;
    }
    ShowRecordPopup(point);
}

bool CZorvikanDesktopView::BuildRecordPopup(BCMenu& menu, CPoint point)
{
    if (!menu.LoadMenu(IDR_LIST_POPUP)) return false;
    menu.LoadToolbarImages(IDR_MENU_IMAGES);
    menu.ModifyOwnerDrawnItem((const char*)nullptr, ID_PRINT_RECORD, IDB_POPUP_PRINT);
    menu.ModifyOwnerDrawnItem((const char*)nullptr, ID_EXPORT_ZKV_LIST, IDB_POPUP_EXPORT);
    BCMenu* popup = AsBCMenu(menu.GetSubMenu(0));
    if (!popup) return false;

    const uint8_t* typeKey = KEY_ALL;
    const uint8_t* categoryKey = KEY_ALL;
    if (CRecord* record = GetSelectedRecord()) {
        typeKey = record->GetTypeKey();
        categoryKey = record->GetCategoryKey();
        CString text;
        const bool has = record->HasAttachment();
        if (!text.LoadString(has ? IDS_DELETE_ATTACHMENT : IDS_ADD_ATTACHMENT))
            text = has ? "Delete Attachment" : "Add Attachment";
        popup->InsertMenu(kAttachmentEntryPos, MF_BYPOSITION | MF_STRING, ID_ADD_ATTACHMENT, (LPCSTR)text,
                          has ? IDB_POPUP_DELETE_ATTACHMENT : IDB_POPUP_ADD_ATTACHMENT);
    }
    BuildTypeSubmenu(popup->GetSubMenu(kTypeSubmenuPos), typeKey);
    BuildCategorySubmenu(popup->GetSubMenu(kCategorySubmenuPos), categoryKey);

    int selected = 0;
    if (m_nViewMode == kViewModeList) {
        selected = m_recordList.m_hWnd ? (int)m_recordList.GetSelectedCount() : 0;
    } else if (m_nViewMode == kViewModePanel) {
        selected = m_panelRecords.m_hWnd && (int)m_panelRecords.SendMessage(LVM_GETSELECTIONMARK) >= 0 ? 1 : 0;
    } else if (m_tree.m_hWnd) {
        CPoint client = point;
        m_tree.ScreenToClient(&client);
        HTREEITEM node = m_tree.HitTest(client);
        if (node) m_tree.SelectItem(node);
        selected = node && m_tree.GetParentItem(node) ? 1 : 0;
    }
    const UINT grey = MF_BYCOMMAND | MF_GRAYED;
    if (selected == 0)
        for (UINT id : {ID_EDIT_ITEM, ID_DUPLICATE_ITEM, ID_CUSTOMIZE_FIELDS, ID_EDIT_CUT, ID_EDIT_COPY,
                        ID_PRINT_RECORD, ID_DELETE_ITEM})
            popup->EnableMenuItem(id, grey);
    if (selected > 1)
        for (UINT id : {ID_EDIT_ITEM, ID_DUPLICATE_ITEM, ID_CUSTOMIZE_FIELDS, ID_PRINT_RECORD})
            popup->EnableMenuItem(id, grey);
    if (!IsProgramTextOnClipboard()) popup->EnableMenuItem(ID_EDIT_PASTE, grey);
    if (!GetSelectedWebLogin()) popup->EnableMenuItem(ID_AUTO_FILL, grey);
    return true;
}

void CZorvikanDesktopView::ShowRecordPopup(CPoint point)
{
    BCMenu menu;
    if (!BuildRecordPopup(menu, point)) return;
    if (CMenu* popup = menu.GetSubMenu(0))
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CZorvikanDesktopView::BuildTypeSubmenu(CMenu* submenu, const uint8_t* typeKey)
{
    BCMenu* menu = AsBCMenu(submenu);
    if (!menu) return;
    CMoveMenuEntries entries(CMoveMenuEntries::kTypes);
    entries.Build(m_database.GetTypes(), typeKey);
    FillMoveSubmenu(*menu, entries, typeKey, ID_MOVE_TO_UNFILED_TYPE,
                    CFilterComboModel::EditText(CFilterComboModel::kTypes), ID_EDIT_TYPES);
}

void CZorvikanDesktopView::BuildCategorySubmenu(CMenu* submenu, const uint8_t* categoryKey)
{
    BCMenu* menu = AsBCMenu(submenu);
    if (!menu) return;
    CMoveMenuEntries entries(CMoveMenuEntries::kCategories);
    entries.Build(m_database.GetCategories(), categoryKey);
    FillMoveSubmenu(*menu, entries, categoryKey, ID_MOVE_TO_UNFILED_CATEGORY,
                    CFilterComboModel::EditText(CFilterComboModel::kCategories), ID_EDIT_CATEGORIES);
}

// ---- Moving ------------------------------------------------------------------

bool CZorvikanDesktopView::TypeKeyFromMenuId(UINT id, uint8_t key[kUniqueKeySize])
{
    return CMoveMenuEntries(CMoveMenuEntries::kTypes).KeyFromId(m_database.GetTypes(), id, key);
}

bool CZorvikanDesktopView::CategoryKeyFromMenuId(UINT id, uint8_t key[kUniqueKeySize])
{
    return CMoveMenuEntries(CMoveMenuEntries::kCategories).KeyFromId(m_database.GetCategories(), id, key);
}

void CZorvikanDesktopView::OnMoveToType(UINT nID)
{
    uint8_t key[kUniqueKeySize];
    if (TypeKeyFromMenuId(nID, key)) MoveSelectedToType(key);
}

void CZorvikanDesktopView::OnMoveToUnfiledType() { MoveSelectedToType(KEY_UNFILED); }

void CZorvikanDesktopView::OnMoveToCategory(UINT nID)
{
    uint8_t key[kUniqueKeySize];
    if (CategoryKeyFromMenuId(nID, key)) MoveSelectedToCategory(key);
}

void CZorvikanDesktopView::OnMoveToUnfiledCategory() { MoveSelectedToCategory(KEY_UNFILED); }

std::vector<CRecord*> CZorvikanDesktopView::RecordsToMove()
{
    if (m_nViewMode == kViewModeList) return GetSelectedRecords();
    std::vector<CRecord*> records;
    if (CRecord* record = GetSelectedRecord()) records.push_back(record);
    return records;
}

void CZorvikanDesktopView::AfterMove()
{
    if (m_nViewMode == kViewModePanel) {
        FillPanelTypes(nullptr);
        FillPanelRecords(nullptr);
    } else if (m_nViewMode == kViewModeTree) {
        FillTree(nullptr);
    } else if (m_recordList.m_hWnd) {
        // The rows stay; their type and category cells change.
        m_recordList.Invalidate();
    }
}

void CZorvikanDesktopView::MoveSelectedToType(const uint8_t key[kUniqueKeySize])
{
    if (!IsMoveTargetKey(key)) return;
    const CTypeItem* type = nullptr;
    if (std::memcmp(key, KEY_UNFILED, kUniqueKeySize) != 0) {
        type = dynamic_cast<const CTypeItem*>(m_database.GetTypes().FindByKey(key));
        if (!type || type->IsDeleted()) return;
    }
    const std::vector<CRecord*> records = RecordsToMove();
    CRecordChangeSequence change;
    if (MoveRecordsToType(records, type, change) == 0) return;
    AfterMove();
    CommitRecordChange(change);
    RefillTypeCombo();
    ShowDetails(GetSelectedRecord());
    Invalidate();
}

void CZorvikanDesktopView::MoveSelectedToCategory(const uint8_t key[kUniqueKeySize])
{
    if (!IsMoveTargetKey(key)) return;
    const std::vector<CRecord*> records = RecordsToMove();
    CRecordChangeSequence change;
    if (MoveRecordsToCategory(records, key, change) == 0) return;
    AfterMove();
    CommitRecordChange(change);
    ShowDetails(GetSelectedRecord());
    RefillCategoryCombo();
    Invalidate();
}

// ---- Drag and drop in the panel ---------------------------------------------

HWND CZorvikanDesktopView::PanelListUnder(POINT screenPoint) const
{
    POINT client = screenPoint;
    ::ScreenToClient(m_hWnd, &client);
    HWND child = ::ChildWindowFromPointEx(m_hWnd, client, CWP_SKIPINVISIBLE);
    for (const CListCtrlEx* list : {&m_panelTypes, &m_panelRecords, &m_panelSmartLists})
        if (list->m_hWnd && child == list->m_hWnd) return child;
    return nullptr;
}

void CZorvikanDesktopView::ClearDropHighlight()
{
    if (!m_panelTypes.m_hWnd || m_nDropRow < 0 || m_nDropRow >= m_panelTypes.GetItemCount()) return;
    m_panelTypes.SetItemState(m_nDropRow, 0, LVIS_DROPHILITED);
    m_panelTypes.RedrawItems(m_nDropRow, m_nDropRow);
}

LRESULT CZorvikanDesktopView::OnListExBeginDrag(WPARAM wParam, LPARAM)
{
    const auto* notice = reinterpret_cast<const NMLISTVIEW*>(wParam);
    if (!notice || m_nViewMode != kViewModePanel || !m_panelTypes.m_hWnd) return 1;
    m_nDragRow = notice->iItem;
    m_bRecordDragging = true;
    m_nDropRow = -1;
    m_hDragSource = m_hDropTarget = m_panelRecords.m_hWnd;
    ::SetCursor(DragCursor());
    // The type list's mouse moves and button release drive the drag.
    m_panelTypes.SetCapture();
    return 1;
}

LRESULT CZorvikanDesktopView::OnListExDragMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_bRecordDragging || !wParam) return 1;
    POINT screen = *reinterpret_cast<const POINT*>(wParam);
    HWND sender = ::GetDlgItem(m_hWnd, (int)lParam);
    if (!sender) return 1;
    ::ClientToScreen(sender, &screen);
    HWND target = PanelListUnder(screen);
    m_hDropTarget = target;
    if (!target || target == m_panelSmartLists.m_hWnd) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_NO));
        return 1;
    }
    ::SetCursor(DragCursor());
    if (target == m_panelTypes.m_hWnd) {
        ClearDropHighlight();
        POINT client = screen;
        m_panelTypes.ScreenToClient(&client);
        UINT flags = 0;
        const int row = m_panelTypes.HitTest(CPoint(client.x, client.y), &flags);
        m_nDropRow = row >= 0 && (flags & LVHT_ONITEM) ? row : -1;
        if (m_nDropRow >= 0) {
            m_panelTypes.SetItemState(m_nDropRow, LVIS_DROPHILITED, LVIS_DROPHILITED);
            m_panelTypes.RedrawItems(m_nDropRow, m_nDropRow);
        }
    }
    return 1;
}

LRESULT CZorvikanDesktopView::OnListExDrop(WPARAM wParam, LPARAM)
{
    if (!m_bRecordDragging) return 1;
    m_bRecordDragging = false;
    ::ReleaseCapture();
    if (!wParam || !m_panelTypes.m_hWnd) return 1;
    // The type list holds the capture, so the point is in its coordinates.
    POINT screen = *reinterpret_cast<const POINT*>(wParam);
    m_panelTypes.ClientToScreen(&screen);
    if (HWND target = PanelListUnder(screen)) {
        m_hDropTarget = target;
        ChangeTypeByDrop(&m_panelRecords, CWnd::FromHandle(target));
    }
    return 1;
}

LRESULT CZorvikanDesktopView::OnListExCancelDrag(WPARAM, LPARAM)
{
    if (!m_bRecordDragging) return 1;
    m_bRecordDragging = false;
    ::ReleaseCapture();
    ClearDropHighlight();
    m_nDropRow = -1;
    return 1;
}

void CZorvikanDesktopView::ChangeTypeByDrop(CListCtrlEx* source, CWnd*)
{
    ClearDropHighlight();
    const int dropRow = m_nDropRow;
    m_nDropRow = -1;
    if (!source || source != &m_panelRecords || !m_panelTypes.m_hWnd) return;
    if (dropRow < 0 || dropRow >= m_panelTypes.GetItemCount()) return;
    CRecord* record = nullptr;
    if (m_nDragRow >= 0 && m_nDragRow < m_panelRecords.GetItemCount())
        record = reinterpret_cast<CRecord*>(m_panelRecords.GetItemData(m_nDragRow));
    if (!record) record = GetSelectedRecord();
    const auto* type = reinterpret_cast<const CBaseItem*>(m_panelTypes.GetItemData(dropRow));
    if (!record || !type) return;
    CRecordChangeSequence change;
    if (!DropRecordOnType(*record, *type, change)) return;
    FillPanelTypes(record);
    FillPanelRecords(record);
    ShowDetails(record);
    CommitRecordChange(change);
    RefillTypeCombo();
}

// ---- The smart-list pane -------------------------------------------------------

LRESULT CZorvikanDesktopView::OnListExColumnClick(WPARAM, LPARAM lParam)
{
    auto* header = reinterpret_cast<CHeaderCtrl*>(lParam);
    if (m_nViewMode != kViewModePanel || !header || !header->m_hWnd || !m_panelSmartLists.m_hWnd) return 0;
    RECT headerRect{};
    header->GetWindowRect(&headerRect);
    const int headerHeight = headerRect.bottom - headerRect.top;
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    header->GetItem(0, &item);

    auto rectInView = [this](const CWnd& list) {
        CRect r;
        list.GetWindowRect(&r);
        ScreenToClient(&r);
        return r;
    };
    const CRect records = rectInView(m_panelRecords);
    CRect types = rectInView(m_panelTypes);
    CRect smart = rectInView(m_panelSmartLists);
    RECT row{};
    const int rows = m_panelSmartLists.GetItemCount();
    const int rowHeight = rows > 0 && m_panelSmartLists.GetItemRect(0, &row, LVIR_BOUNDS) ? row.bottom - row.top : 0;

    int boundary = 0;
    item.fmt |= HDF_BITMAP_ON_RIGHT | HDF_IMAGE;
    if (m_nPanelSmartExpanded == 0) {
        boundary = SmartListTop(records.bottom, rowHeight, rows, true);
        item.fmt = (item.fmt | HDF_SORTDOWN) & ~HDF_SORTUP;
        m_nPanelSmartExpanded = 1;
    } else {
        boundary = records.bottom - headerHeight;
        item.fmt = (item.fmt | HDF_SORTUP) & ~HDF_SORTDOWN;
        m_nPanelSmartExpanded = 0;
    }
    types.bottom = boundary;
    smart.top = boundary;
    smart.bottom = records.bottom;
    m_panelTypes.MoveWindow(&types, TRUE);
    m_panelSmartLists.MoveWindow(&smart, TRUE);
    header->SetItem(0, &item);
    m_panelSmartLists.AutoSizeLastColumn();
    return 0;
}
