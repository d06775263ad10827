#pragma once
// CSortListCtrl: a report list filled row by row with texts. It keeps its
// own copy of every cell text and sorts its rows when a heading is clicked:
// ascending on the first click of a column, toggling on the next ones; time
// stamps by time, everything else as text.
#include <windows.h>

#include "framework/CommonControls.h"
#include "toolkit/lists/SortHeaderCtrl.h"

// A row's texts, one heap copy per column; the row's item data.
struct SortRowData {
    char** texts;
    DWORD_PTR reserved;  // stays 0
};

class CSortListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CSortListCtrl)
public:
    CSortListCtrl() = default;
    ~CSortListCtrl() override;

    // "Title,width;Title,width": one column per pair. FALSE when an
    // insertion failed (the columns before it stay).
    BOOL SetHeadings(const CString& headings);
    // Appends a row: the first column's text, then exactly one text per
    // further column. The row's index, -1 when there is no column.
    int AddItem(LPCSTR first, ...);
    BOOL DeleteAllItems();
    void Sort(int nColumn, BOOL bAscending);

    CSortHeaderCtrl& GetSortHeader() { return m_header; }
    int GetColumnCount() const { return m_nColumnCount; }
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsAscending() const { return m_bAscending; }

    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    static int CALLBACK CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    void AttachHeader();
    void FreeRow(int nItem);
    void FreeAllRows();

    CSortHeaderCtrl m_header;
    int m_nColumnCount = 0;
    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;
};
