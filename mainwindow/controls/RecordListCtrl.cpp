// The main view's record list.
#include "mainwindow/controls/RecordListCtrl.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "app/res/RecordListRes.h"
#include "core/items/Record.h"
#include "core/values/TolerantSort.h"
#include "framework/DC.h"
#include "framework/ResourceModuleWin.h"
#include "mainwindow/models/RecordColumns.h"
#include "mainwindow/models/ViewState.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

IMPLEMENT_DYNAMIC(CRecordListCtrl, COwnerListCtrl)

namespace {

// Built-in icons are 0 to 63; custom ones are drawn inset so that their
// pictures, scaled from larger files, keep a margin.
constexpr int kLastBuiltInIcon = 63;
constexpr int kCustomIconInset = 4;
constexpr int kSmallIconSize = 16;
constexpr int kSmallIconLeft = 5;
constexpr int kFitMinimum = 24;
constexpr int kFitPadding = 8;

bool IsPictureColumn(int column)
{
    return column == kColumnIcon || column == kColumnNotes || column == kColumnAttachment;
}

}  // namespace

CZorvikanDesktopView* CRecordListCtrl::View() const
{
    if (!m_hWnd) return nullptr;
    CWnd* parent = GetParent();
    return DYNAMIC_DOWNCAST(CZorvikanDesktopView, parent);
}

CRecord* CRecordListCtrl::GetRecordAt(int row) const
{
    return row >= 0 && row < (int)m_rows.size() ? m_rows[(size_t)row] : nullptr;
}

int CRecordListCtrl::FindRecordRow(const CRecord* record) const
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), record);
    return it == m_rows.end() ? -1 : (int)(it - m_rows.begin());
}

// ---- Rows ---------------------------------------------------------------------

void CRecordListCtrl::SyncRowCount()
{
    if (m_hWnd) COwnerListCtrl::WindowProc(LVM_SETITEMCOUNT, (WPARAM)m_rows.size(), LVSICF_NOSCROLL);
}

void CRecordListCtrl::SetStateQuietly(int row, UINT state, UINT mask)
{
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    const bool quiet = m_quiet;
    m_quiet = true;
    SendMessage(LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
    m_quiet = quiet;
}

void CRecordListCtrl::SetRecords(std::vector<CRecord*> records)
{
    m_rows.clear();
    if (m_hWnd) COwnerListCtrl::WindowProc(LVM_DELETEALLITEMS, 0, 0);
    m_rows = std::move(records);
    if (m_hWnd) COwnerListCtrl::WindowProc(LVM_SETITEMCOUNT, (WPARAM)m_rows.size(), 0);
}

int CRecordListCtrl::InsertRecord(int index, CRecord* record)
{
    const int count = (int)m_rows.size();
    if (index < 0 || index > count) index = count;
    // The selected rows from the index on and the focus move down with
    // their records: the list view itself only counts the rows.
    std::vector<int> moved;
    int focus = -1;
    if (m_hWnd) {
        if (GetSelectedCount() > 0)
            for (int row = GetNextItem(index - 1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
                moved.push_back(row);
        focus = GetNextItem(-1, LVNI_FOCUSED);
    }
    m_rows.insert(m_rows.begin() + index, record);
    SyncRowCount();
    for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
        SetStateQuietly(*it, 0, LVIS_SELECTED);
        SetStateQuietly(*it + 1, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focus >= index) SetStateQuietly(focus + 1, LVIS_FOCUSED, LVIS_FOCUSED);
    if (m_hWnd) Invalidate();
    return index;
}

void CRecordListCtrl::ReorderRecords(std::vector<CRecord*> order)
{
    if (order.size() != m_rows.size()) {
        SetRecords(std::move(order));
        return;
    }
    std::unordered_set<const CRecord*> selected;
    const CRecord* focused = nullptr;
    bool hadFocus = false;
    if (m_hWnd) {
        if (GetSelectedCount() > 0)
            for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
                selected.insert(GetRecordAt(row));
        const int focus = GetNextItem(-1, LVNI_FOCUSED);
        hadFocus = focus >= 0;
        focused = GetRecordAt(focus);
    }
    m_rows = std::move(order);
    if (!m_hWnd) return;
    if (!selected.empty() || hadFocus) {
        SetStateQuietly(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (size_t row = 0; row < m_rows.size(); ++row) {
            if (selected.count(m_rows[row])) SetStateQuietly((int)row, LVIS_SELECTED, LVIS_SELECTED);
            if (hadFocus && m_rows[row] == focused) {
                SetStateQuietly((int)row, LVIS_FOCUSED, LVIS_FOCUSED);
                hadFocus = false;
            }
        }
    }
    Invalidate();
}

BOOL CRecordListCtrl::SortRows(PFNLVCOMPARE compare, LPARAM context)
{
    if (!compare) return FALSE;
    std::vector<CRecord*> order = m_rows;
    StableSortTolerant(order.begin(), order.end(),
                       [&](CRecord* a, CRecord* b) { return compare((LPARAM)a, (LPARAM)b, context) < 0; });
    ReorderRecords(std::move(order));
    return TRUE;
}

// LVITEMA and LVITEMW differ only in the type of the text pointer.
LRESULT CRecordListCtrl::OnGetItem(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* item = reinterpret_cast<LVITEMA*>(lParam);
    if (!item || item->iItem < 0 || item->iItem >= (int)m_rows.size()) return FALSE;
    const UINT mask = item->mask;
    LRESULT result = TRUE;
    if (mask & ~LVIF_PARAM) {
        item->mask = mask & ~LVIF_PARAM;
        result = COwnerListCtrl::WindowProc(message, wParam, lParam);
        item->mask = mask;
    }
    if (mask & LVIF_PARAM) item->lParam = (LPARAM)m_rows[(size_t)item->iItem];
    return result;
}

LRESULT CRecordListCtrl::OnSetItem(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* given = reinterpret_cast<const LVITEMA*>(lParam);
    if (!given || given->iItem < 0 || given->iItem >= (int)m_rows.size()) return FALSE;
    if (given->iSubItem == 0 && (given->mask & LVIF_PARAM))
        m_rows[(size_t)given->iItem] = reinterpret_cast<CRecord*>(given->lParam);
    LVITEMA rest;
    std::memcpy(&rest, given, sizeof rest);
    rest.mask &= ~LVIF_PARAM;
    return rest.mask ? COwnerListCtrl::WindowProc(message, wParam, (LPARAM)&rest) : TRUE;
}

LRESULT CRecordListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW: {
        const auto* item = reinterpret_cast<const LVITEMA*>(lParam);
        if (!item) return -1;
        const int row =
            InsertRecord(item->iItem, (item->mask & LVIF_PARAM) ? reinterpret_cast<CRecord*>(item->lParam) : nullptr);
        if ((item->mask & LVIF_STATE) && item->stateMask) SetItemState(row, item->state, item->stateMask);
        return row;
    }
    case LVM_DELETEITEM: {
        const int row = (int)wParam;
        if (row < 0 || row >= (int)m_rows.size()) return FALSE;
        m_rows.erase(m_rows.begin() + row);
        // The list view moves the selection and the focus below up.
        return COwnerListCtrl::WindowProc(message, wParam, lParam);
    }
    case LVM_DELETEALLITEMS:
    case WM_DESTROY: m_rows.clear(); break;
    case LVM_GETITEMA:
    case LVM_GETITEMW: return OnGetItem(message, wParam, lParam);
    case LVM_SETITEMA:
    case LVM_SETITEMW: return OnSetItem(message, wParam, lParam);
    // The number of rows is the number of records held.
    case LVM_SETITEMCOUNT: return TRUE;
    case LVM_SORTITEMS: return SortRows(reinterpret_cast<PFNLVCOMPARE>(lParam), (LPARAM)wParam);
    default: break;
    }
    return COwnerListCtrl::WindowProc(message, wParam, lParam);
}

BOOL CRecordListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY) {
        const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
        if (m_quiet &&
            (nm->code == LVN_ITEMCHANGING || nm->code == LVN_ITEMCHANGED || nm->code == LVN_ODSTATECHANGED)) {
            if (pResult) *pResult = 0;
            return TRUE;
        }
        // The rows hold no texts: the cells are painted from the records.
        if (nm->code == LVN_GETDISPINFOA || nm->code == LVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
            if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
                if (nm->code == LVN_GETDISPINFOW)
                    reinterpret_cast<WCHAR*>(info->item.pszText)[0] = 0;
                else
                    info->item.pszText[0] = 0;
            }
            if (pResult) *pResult = 0;
            return TRUE;
        }
    }
    return COwnerListCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

int CRecordListCtrl::GetKeyColumn()
{
    CZorvikanDesktopView* view = View();
    return view ? SortColumnOf(view->GetViewState().sortKey) : kColumnFirstField;
}

CString CRecordListCtrl::GetCellText(DWORD_PTR data, int nColumnValue)
{
    CZorvikanDesktopView* view = View();
    const CRecord* record = reinterpret_cast<const CRecord*>(data);
    if (!view || !record || view->GetViewMode() != kViewModeList) return CString();
    CDatabaseObj& db = view->GetDatabase();
    const RecordNames names{db.GetTypes(), db.GetCategories()};
    return RecordCellText(*record, nColumnValue, names, view->IsRevealing());
}

void CRecordListCtrl::DrawCell(CDC* pDC, const RECT& cellRect, int nColumnValue, DWORD_PTR data, int)
{
    const CRecord* record = reinterpret_cast<const CRecord*>(data);
    if (!record) return;
    switch (nColumnValue) {
    case kColumnIcon: DrawRecordIcon(pDC, cellRect, *record); break;
    case kColumnNotes:
        if (record->HasMainText()) DrawSmallIcon(pDC, cellRect, IDI_RECORD_NOTES);
        break;
    case kColumnAttachment:
        if (record->HasAttachment()) DrawSmallIcon(pDC, cellRect, IDI_RECORD_ATTACHMENT);
        break;
    default: {
        CZorvikanDesktopView* view = View();
        if (!view) return;
        CDatabaseObj& db = view->GetDatabase();
        const RecordNames names{db.GetTypes(), db.GetCategories()};
        DrawCellText(pDC, cellRect, RecordCellText(*record, nColumnValue, names, view->IsRevealing()), DT_LEFT);
        break;
    }
    }
}

void CRecordListCtrl::DrawRecordIcon(CDC* pDC, const RECT& cell, const CRecord& record)
{
    // The view's small-icon list is the header's: its image index is the
    // icon id.
    CHeaderCtrl* header = GetHeaderCtrl();
    HIMAGELIST images = header ? (HIMAGELIST)header->SendMessage(HDM_GETIMAGELIST) : nullptr;
    const int icon = record.GetIcon();
    if (!images || icon >= ImageList_GetImageCount(images)) return;
    RECT box = cell;
    if (icon > kLastBuiltInIcon) ::InflateRect(&box, -kCustomIconInset, -kCustomIconInset);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    const int width = std::min<int>(cx, box.right - box.left), height = std::min<int>(cy, box.bottom - box.top);
    if (width <= 0 || height <= 0) return;
    const int x = box.left + (box.right - box.left - width) / 2;
    const int y = box.top + (box.bottom - box.top - height) / 2;
    ImageList_DrawEx(images, icon, pDC->GetSafeHdc(), x, y, width, height, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

void CRecordListCtrl::DrawSmallIcon(CDC* pDC, const RECT& cell, UINT iconId)
{
    HICON icon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, kSmallIconSize,
                                     kSmallIconSize, LR_SHARED);
    if (!icon) return;
    const int y = cell.top + (cell.bottom - cell.top - kSmallIconSize) / 2;
    ::DrawIconEx(pDC->GetSafeHdc(), cell.left + kSmallIconLeft, y, icon, kSmallIconSize, kSmallIconSize, 0, nullptr,
                 DI_NORMAL);
}

void CRecordListCtrl::OnContextMenu(CPoint point)
{
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_CONTEXTMENU, (WPARAM)m_hWnd, MAKELPARAM(point.x, point.y));
}

void CRecordListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (CZorvikanDesktopView* view = View()) m_crEvenRow = view->GetViewState().rowColor;
    COwnerListCtrl::DrawItem(lpDrawItemStruct);
}

int CRecordListCtrl::GetColumnFitWidth(int column)
{
    if (IsPictureColumn(column)) return kFitMinimum;
    int widest = 0;
    for (CRecord* record : m_rows) {
        const CString text = GetCellText((DWORD_PTR)record, column);
        widest = std::max(widest, (int)SendMessage(LVM_GETSTRINGWIDTHA, 0, (LPARAM)(LPCSTR)text));
    }
    return widest + kFitPadding;
}
