#pragma once
// CComboListCtrl: a report list whose cells are edited in place. A click on
// a cell of the focused row opens a drop-down combo over the cell for combo
// columns, or an edit box for the other columns unless they are read-only;
// the new text is stored in the cell and reported to the parent. The list can
// also show one progress bar in a cell of its progress column.
#include <windows.h>

#include "framework/CList.h"
#include "framework/CommonControls.h"
#include "framework/Controls.h"

class CInPlaceCombo;
class CInPlaceEdit;

class CComboListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CComboListCtrl)
public:
    CComboListCtrl() = default;
    ~CComboListCtrl() override;

    void SetComboColumn(int nColumn, BOOL bEnable);
    void SetReadOnlyColumn(int nColumn, BOOL bEnable);
    void EnableComboVScroll(BOOL bEnable);

    // Forgets the current bar without destroying it: destroy it first.
    void SetProgressColumn(int nColumn);
    void ShowProgressBar(int nRow);
    CProgressCtrl* GetProgressBar() const { return m_pProgress; }
    void DestroyProgressBar();

    CInPlaceCombo* OpenCellCombo(int nRow, int nColumn, const CStringList& choices, const CString& currentText,
                                 int nSelection = -1);
    CInPlaceEdit* OpenCellEdit(int nRow, int nColumn, const CString& text);

    BOOL IsComboColumn(int nColumn) const { return m_comboColumns.Find(nColumn) != nullptr; }
    BOOL IsReadOnlyColumn(int nColumn) const { return m_readOnlyColumns.Find(nColumn) != nullptr; }
    DWORD GetComboStyle() const { return m_dwComboStyle; }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The cell under the point: FALSE (and the click is ignored) outside a
    // report view's rows and columns.
    BOOL HitTestCell(POINT pt, int& nRow, int& nColumn);
    BOOL CellRect(int nRow, int nColumn, RECT& rect);
    void OnClick(UINT nFlags, POINT pt, WPARAM wParam, LPARAM lParam);

    int m_nProgressColumn = 0;
    CProgressCtrl* m_pProgress = nullptr;
    CList<int, int> m_comboColumns{10};
    CList<int, int> m_readOnlyColumns{10};
    CString m_validEditChars;  // of the cell edit box; empty: every character
    DWORD m_dwEditStyle = ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL;
    DWORD m_dwComboStyle =
        WS_CHILD | WS_VISIBLE | WS_BORDER | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | CBS_OEMCONVERT | CBS_DISABLENOSCROLL;
};
