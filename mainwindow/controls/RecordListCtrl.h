#pragma once
// CRecordListCtrl: the main view's record list, an owner-drawn report list
// whose rows are the database's records. Each row's item data points to its
// record (the database owns it); each column's header lParam is its column
// id (mainwindow/models/RecordColumns.h). The list paints the cells from the
// record under the main view's sort key, reveal flag and row colour; its
// parent is always the main view.
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

    // The width that shows a column's widest cell: 24 for the picture
    // columns, else the widest text plus 8 (8 for an empty list).
    int GetColumnFitWidth(int column);
    // The record of a row; null for a row without one.
    CRecord* GetRecordAt(int row) const;

private:
    CZorvikanDesktopView* View() const;
    void DrawRecordIcon(CDC* pDC, const RECT& cell, const CRecord& record);
    void DrawSmallIcon(CDC* pDC, const RECT& cell, UINT iconId);
};
