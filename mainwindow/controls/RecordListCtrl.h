#pragma once
// CRecordListCtrl: the main view's record list, an owner-drawn report list
// whose rows are the database's records (the database owns them); each
// column's header lParam is its column id (mainwindow/models/RecordColumns.h).
// The list paints the cells from the record under the main view's sort key,
// reveal flag and row colour; its parent is always the main view.
//
// The list view holds only the number of rows and their selection
// (LVS_OWNERDATA): filling, sorting and emptying a list view row by row
// costs seconds at 100,000 records under Wine. The records of the rows are
// held here, in row order, and the list's item messages (insert, delete,
// item data, sort) are answered from them, so a row's item data is its
// record as with an ordinary list.
#include <vector>

#include "toolkit/lists/OwnerListCtrl.h"

class CRecord;
class CZorvikanDesktopView;

class CRecordListCtrl : public COwnerListCtrl {
    DECLARE_DYNAMIC(CRecordListCtrl)
public:
    // Fixed widths of the picture columns.
    static constexpr int kIconColumnWidth = 27;
    static constexpr int kNotesColumnWidth = 24;
    static constexpr int kAttachmentColumnWidth = 30;
    // Header images (index in the view's small-icon list).
    static constexpr int kIconHeaderImage = 24;
    static constexpr int kNotesHeaderImage = 31;
    static constexpr int kAttachmentHeaderImage = 40;

    CRecordListCtrl() = default;

    // The sorted column: the type-ahead matches its cell text.
    int GetKeyColumn() override;
    void DrawCell(CDC* pDC, const RECT& cellRect, int nColumnValue, DWORD_PTR data, int nRow) override;
    // Empty outside list mode; the type and category names and the field
    // texts (masked as in the cell); empty for the picture columns.
    CString GetCellText(DWORD_PTR data, int nColumnValue) override;
    // The view's record popup.
    void OnContextMenu(CPoint point) override;
    // Even rows take the view's row colour.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    DWORD GetCreateStyle() override { return COwnerListCtrl::GetCreateStyle() | LVS_OWNERDATA; }
    DWORD_PTR GetItemData(int nItem) override { return (DWORD_PTR)GetRecordAt(nItem); }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The width that shows a column's widest cell: 24 for the picture
    // columns, else the widest text plus 8 (8 for an empty list).
    int GetColumnFitWidth(int column);
    // The record of a row; null for a row without one.
    CRecord* GetRecordAt(int row) const;
    // The records of the rows, top to bottom.
    const std::vector<CRecord*>& GetRecords() const { return m_rows; }
    // The row that holds the record; -1 when none does.
    int FindRecordRow(const CRecord* record) const;

    // Every row replaced by the records, none selected.
    void SetRecords(std::vector<CRecord*> records);
    // A row for the record at the index (the end when out of range); the
    // rows below, their selection and the focus move down one. The row.
    int InsertRecord(int index, CRecord* record);
    // The same rows in a new order (order holds each row's record once);
    // the selection and the focus stay with their records, and no row
    // reports a change.
    void ReorderRecords(std::vector<CRecord*> order);

private:
    CZorvikanDesktopView* View() const;
    // The list view's own row count set to the rows held here.
    void SyncRowCount();
    // Selection and focus set without a change notice per row.
    void SetStateQuietly(int row, UINT state, UINT mask);
    LRESULT OnGetItem(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetItem(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL SortRows(PFNLVCOMPARE compare, LPARAM context);

    std::vector<CRecord*> m_rows;
    bool m_quiet = false;
    void DrawRecordIcon(CDC* pDC, const RECT& cell, const CRecord& record);
    void DrawSmallIcon(CDC* pDC, const RECT& cell, UINT iconId);
};
