#pragma once
// COwnerListCtrl: a report list whose rows the owner paints cell by cell
// through virtual hooks, with alternating row colours, a row height taken
// from the font, rows composed off screen, and a type-ahead search on one key
// column. It holds no data: each row's item data points to an object of the
// owner, which the derived class turns into cell texts and pictures. Each
// column carries an application value in its header item's lParam, so cells
// are told apart by that value and not by their position.
#include <windows.h>

#include "framework/CommonControls.h"

class COwnerListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(COwnerListCtrl)
public:
    COwnerListCtrl();

    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Clears every row's selection first when asked; then selects and
    // focuses the row (none for -1).
    void SelectItem(int nItem, BOOL bClearOthers);
    // For DrawCell: the text inset 3 pixels each side, one line, ellipsis.
    void DrawCellText(CDC* pDC, const RECT& rect, const CString& text, UINT format);

    // ---- Hooks --------------------------------------------------------------
    virtual int InsertColumn(int nCol, int nColumnValue, UINT nHeadingId, int nFormat, int nWidth);
    virtual int InsertColumn(int nCol, int nColumnValue, LPCSTR lpszHeading, int nFormat, int nWidth);
    virtual void SetColumnImage(int nCol, int nImage);
    virtual int AdjustRowHeight(int textHeight) { return textHeight + 4; }
    virtual void DrawRow(CDC* pDC, const RECT& rowRect, BOOL bSelected, DWORD_PTR data, int nRow);
    virtual int GetKeyColumn() { return 0; }
    virtual void DrawCell(CDC* pDC, const RECT& cellRect, int nColumnValue, DWORD_PTR data, int nRow);
    virtual DWORD GetCreateStyle() { return WS_CHILD | LVS_OWNERDRAWFIXED | LVS_REPORT; }
    virtual DWORD_PTR GetItemData(int nItem) { return CListCtrl::GetItemData(nItem); }
    virtual void OnSelectionChanged(int nItem, BOOL bSelected);
    virtual CString GetCellText(DWORD_PTR data, int nColumnValue);
    virtual void OnItemDblClk(int nItem);
    virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnBeginDrag() {}
    virtual void OnContextMenu(CPoint point);
    // The type-ahead search; the main view also hands it its own characters.
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);

    // ---- Framework overridables -----------------------------------------------
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    COLORREF m_crEvenRow = RGB(255, 255, 255);
    COLORREF m_crSelectedBack;
    COLORREF m_crSelectedText;
    COLORREF m_crOddRow;

protected:
    void OnKeyDownNoSelection(UINT nChar, UINT nRepCnt, UINT nFlags);
    void EraseOutsideRows(HDC hdc);
    void MeasureRow(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
};
