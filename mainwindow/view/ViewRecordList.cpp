// The main view's record list: columns, sorting, selection, keys, cut, copy
// and paste.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "mainwindow/MainWindowIds.h"

void CZorvikanDesktopView::OnColumnChooser() {}
void CZorvikanDesktopView::OnPageUp() {}
void CZorvikanDesktopView::OnPageDown() {}
void CZorvikanDesktopView::OnSelectAll() {}
void CZorvikanDesktopView::OnEditCut() {}
void CZorvikanDesktopView::OnEditCopy() {}
void CZorvikanDesktopView::OnUpdateEditCutCopy(CCmdUI*) {}
void CZorvikanDesktopView::OnEditPaste() {}
void CZorvikanDesktopView::OnUpdateEditPaste(CCmdUI*) {}
void CZorvikanDesktopView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { CView::OnChar(nChar, nRepCnt, nFlags); }
void CZorvikanDesktopView::OnRecordListItemChanged(NMHDR*, LRESULT* pResult) { *pResult = 0; }
void CZorvikanDesktopView::OnRecordListRClick(NMHDR*, LRESULT* pResult) { *pResult = 0; }

void CZorvikanDesktopView::FillRecordList() {}
int CZorvikanDesktopView::InsertRecordSorted(CRecord*) { return 0; }
void CZorvikanDesktopView::SortRecordList() {}
void CZorvikanDesktopView::LoadListColumns(bool) {}
void CZorvikanDesktopView::SaveListColumns() {}
