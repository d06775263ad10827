#pragma once
// CSortHeaderCtrl: the sortable list's header. It shows the sort arrow and
// lets the user hide and show columns from a menu opened by a right click.
// Each header item carries a HeaderColumnInfo, owned by the header.
#include <windows.h>

#include "framework/CommonControls.h"

struct HeaderColumnInfo {
    int savedWidth;  // the width the column was inserted with
    int canHide;
    int visible;
};

class CSortHeaderCtrl : public CHeaderCtrl {
    DECLARE_DYNAMIC(CSortHeaderCtrl)
public:
    ~CSortHeaderCtrl() override;

    void ShowSortArrow(int nColumn, BOOL bAscending);
    void ShowColumn(int nColumn, BOOL bShow);
    BOOL IsColumnVisible(int nColumn);
    int VisibleColumnCount();

    // Called by the list for every column it inserts and deletes.
    void OnColumnInserted(int nColumn, int width);
    void OnColumnDeleted(HeaderColumnInfo* info);
    HeaderColumnInfo* GetColumnInfo(int nColumn);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;

protected:
    void ApplyColumnOrder(int nColumn, BOOL bShow);
    void ShowColumnMenu();
    void FreeColumnInfos();
};
