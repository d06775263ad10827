#include "toolkit/lists/SortListCtrl.h"

#include <cstdarg>
#include <cstring>

#include "toolkit/lists/SortCompare.h"

IMPLEMENT_DYNAMIC(CSortListCtrl, CListCtrl)

namespace {

char* CopyText(const char* text)
{
    const size_t length = text ? std::strlen(text) : 0;
    char* copy = new char[length + 1];
    if (length) std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

int LocaleCompare(const char* a, const char* b) { return ::lstrcmpA(a, b); }

}  // namespace

CSortListCtrl::~CSortListCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) FreeAllRows();
}

void CSortListCtrl::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    AttachHeader();
}

void CSortListCtrl::AttachHeader()
{
    // A list made here has no header until its own creation has run.
    HWND header = m_hWnd ? (HWND)SendMessage(LVM_GETHEADER) : nullptr;
    if (header && !m_header.m_hWnd) m_header.SubclassWindow(header);
}

BOOL CSortListCtrl::SetHeadings(const CString& headings)
{
    for (const SortHeading& heading : ParseSortHeadings(headings)) {
        const int index = m_nColumnCount++;
        if (InsertColumn(index, heading.title, LVCFMT_LEFT, heading.width) < 0) return FALSE;
    }
    return TRUE;
}

int CSortListCtrl::AddItem(LPCSTR first, ...)
{
    if (m_nColumnCount <= 0) return -1;
    const int row = InsertItem(GetItemCount(), first);
    if (row < 0) return -1;
    char** texts = new char*[(size_t)m_nColumnCount];
    va_list args;
    va_start(args, first);
    const char* text = first;
    for (int i = 0; i < m_nColumnCount; ++i) {
        texts[i] = CopyText(text);
        if (i >= 1) SetItemText(row, i, text);
        if (i + 1 < m_nColumnCount) text = va_arg(args, const char*);
    }
    va_end(args);
    auto* data = new SortRowData{texts, 0};
    if (!SetItemData(row, reinterpret_cast<DWORD_PTR>(data))) {
        for (int i = 0; i < m_nColumnCount; ++i) delete[] texts[i];
        delete[] texts;
        delete data;
    }
    return row;
}

void CSortListCtrl::FreeRow(int nItem)
{
    auto* data = reinterpret_cast<SortRowData*>(CListCtrl::GetItemData(nItem));
    if (!data) return;
    for (int i = 0; i < m_nColumnCount; ++i) delete[] data->texts[i];
    delete[] data->texts;
    delete data;
    SetItemData(nItem, 0);
}

void CSortListCtrl::FreeAllRows()
{
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) FreeRow(i);
}

BOOL CSortListCtrl::DeleteAllItems()
{
    FreeAllRows();
    return CListCtrl::DeleteAllItems();
}

void CSortListCtrl::Sort(int nColumn, BOOL bAscending)
{
    m_nSortColumn = nColumn;
    m_bAscending = bAscending;
    if (m_header.m_hWnd) m_header.ShowSortArrow(nColumn, bAscending);
    SortItems(&CSortListCtrl::CompareRows, reinterpret_cast<DWORD_PTR>(this));
}

int CALLBACK CSortListCtrl::CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const auto* list = reinterpret_cast<const CSortListCtrl*>(lParamSort);
    const auto* a = reinterpret_cast<const SortRowData*>(lParam1);
    const auto* b = reinterpret_cast<const SortRowData*>(lParam2);
    const int column = list->m_nSortColumn;
    if (column < 0 || column >= list->m_nColumnCount) return 0;
    // Rows without texts (added some other way) sort first.
    if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
    const char* first = a->texts[column];
    const char* second = b->texts[column];
    return list->m_bAscending ? CompareSortCells(first, second, &LocaleCompare)
                              : CompareSortCells(second, first, &LocaleCompare);
}

BOOL CSortListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == (UINT)LVN_COLUMNCLICK) {
        const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
        Sort(column, column != m_nSortColumn || !m_bAscending);
        if (pResult) *pResult = 0;
        return TRUE;
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CSortListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
        if (result != -1) AttachHeader();
        return result;
    }
    case LVM_INSERTCOLUMNA:
    case LVM_INSERTCOLUMNW: {
        AttachHeader();
        const LRESULT index = CListCtrl::WindowProc(message, wParam, lParam);
        if (index >= 0 && m_header.m_hWnd) {
            const auto* column = reinterpret_cast<const LVCOLUMNA*>(lParam);
            m_header.OnColumnInserted((int)index, (column->mask & LVCF_WIDTH) ? column->cx : 0);
        }
        return index;
    }
    case LVM_DELETECOLUMN: {
        HeaderColumnInfo* info = m_header.m_hWnd ? m_header.GetColumnInfo((int)wParam) : nullptr;
        const LRESULT done = CListCtrl::WindowProc(message, wParam, lParam);
        if (done) m_header.OnColumnDeleted(info);
        return done;
    }
    case WM_DESTROY: FreeAllRows(); break;
    default: break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}
