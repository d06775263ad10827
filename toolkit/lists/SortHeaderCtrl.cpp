#include "toolkit/lists/SortHeaderCtrl.h"

#include <vector>

#include "toolkit/lists/SortCompare.h"

IMPLEMENT_DYNAMIC(CSortHeaderCtrl, CHeaderCtrl)

CSortHeaderCtrl::~CSortHeaderCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) FreeColumnInfos();
}

HeaderColumnInfo* CSortHeaderCtrl::GetColumnInfo(int nColumn)
{
    if (!m_hWnd || nColumn < 0 || nColumn >= GetItemCount()) return nullptr;
    HDITEMA item{};
    item.mask = HDI_LPARAM;
    if (!GetItem(nColumn, &item)) return nullptr;
    return reinterpret_cast<HeaderColumnInfo*>(item.lParam);
}

void CSortHeaderCtrl::OnColumnInserted(int nColumn, int width)
{
    HDITEMA item{};
    item.mask = HDI_LPARAM;
    item.lParam = reinterpret_cast<LPARAM>(new HeaderColumnInfo{width, 1, 1});
    if (!SetItem(nColumn, &item)) delete reinterpret_cast<HeaderColumnInfo*>(item.lParam);
}

void CSortHeaderCtrl::OnColumnDeleted(HeaderColumnInfo* info) { delete info; }

void CSortHeaderCtrl::FreeColumnInfos()
{
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        HDITEMA item{};
        item.mask = HDI_LPARAM;
        if (!GetItem(i, &item)) continue;
        delete reinterpret_cast<HeaderColumnInfo*>(item.lParam);
        item.lParam = 0;
        SetItem(i, &item);
    }
}

void CSortHeaderCtrl::ShowSortArrow(int nColumn, BOOL bAscending)
{
    m_nSortColumn = nColumn;
    m_bAscending = bAscending;
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        if (!GetItem(i, &item)) continue;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == nColumn) item.fmt |= bAscending ? HDF_SORTUP : HDF_SORTDOWN;
        SetItem(i, &item);
    }
    Invalidate();
}

BOOL CSortHeaderCtrl::IsColumnVisible(int nColumn)
{
    HeaderColumnInfo* info = GetColumnInfo(nColumn);
    return info && info->visible;
}

int CSortHeaderCtrl::VisibleColumnCount()
{
    int visible = 0;
    for (int i = 0; i < GetItemCount(); ++i) visible += IsColumnVisible(i) ? 1 : 0;
    return visible;
}

void CSortHeaderCtrl::ShowColumn(int nColumn, BOOL bShow)
{
    HeaderColumnInfo* info = GetColumnInfo(nColumn);
    if (!info || (info->visible != 0) == (bShow != FALSE)) return;
    info->visible = bShow ? 1 : 0;
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = bShow ? info->savedWidth : 0;
    SetItem(nColumn, &item);
    ApplyColumnOrder(nColumn, bShow);
}

void CSortHeaderCtrl::ApplyColumnOrder(int nColumn, BOOL bShow)
{
    const int count = GetItemCount();
    if (count <= 0) return;
    std::vector<int> order((size_t)count);
    if (!SendMessage(HDM_GETORDERARRAY, (WPARAM)count, (LPARAM)order.data())) return;
    std::vector<bool> visible((size_t)count);
    for (int i = 0; i < count; ++i) visible[(size_t)i] = IsColumnVisible(i) != FALSE;
    std::vector<int> result = ReorderForVisibility(order, visible, nColumn, bShow != FALSE);
    SendMessage(HDM_SETORDERARRAY, (WPARAM)count, (LPARAM)result.data());
    if (CWnd* list = GetParent()) list->Invalidate();
}

void CSortHeaderCtrl::ShowColumnMenu()
{
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return;
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_LPARAM;
        item.pszText = text;
        item.cchTextMax = (int)sizeof(text);
        if (!GetItem(i, &item)) {
            ::DestroyMenu(menu);
            return;
        }
        const auto* info = reinterpret_cast<const HeaderColumnInfo*>(item.lParam);
        UINT flags = MF_STRING;
        if (info && info->visible) flags |= MF_CHECKED;
        if (info && !info->canHide) flags |= MF_GRAYED;
        ::AppendMenuA(menu, flags, (UINT_PTR)(i + 1), text);
    }
    POINT pt{};
    ::GetCursorPos(&pt);
    const int chosen = (int)::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, pt.x, pt.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
    if (chosen > 0) ShowColumn(chosen - 1, !IsColumnVisible(chosen - 1));
}

BOOL CSortHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == (UINT)NM_RCLICK) {
        ShowColumnMenu();
        if (pResult) *pResult = 0;
        return TRUE;
    }
    return CHeaderCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CSortHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) FreeColumnInfos();
    return CHeaderCtrl::WindowProc(message, wParam, lParam);
}
