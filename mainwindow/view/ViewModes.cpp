// The main view's list, tree and panel modes: switching, filling, the
// selected record, reload and refresh.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "mainwindow/MainWindowIds.h"

void CZorvikanDesktopView::OnListView() {}
void CZorvikanDesktopView::OnTreeView() {}
void CZorvikanDesktopView::OnPanelView() {}
void CZorvikanDesktopView::OnRecordsClick(NMHDR*, LRESULT* pResult) { *pResult = 0; }
void CZorvikanDesktopView::OnRecordsDblClk(NMHDR*, LRESULT* pResult) { *pResult = 0; }
void CZorvikanDesktopView::OnTreeSelChanged(NMHDR*, LRESULT* pResult) { *pResult = 0; }
void CZorvikanDesktopView::OnTreeDblClk(NMHDR*, LRESULT* pResult) { *pResult = 0; }
void CZorvikanDesktopView::OnPanelRecordsDblClk(NMHDR*, LRESULT* pResult) { *pResult = 0; }
void CZorvikanDesktopView::OnPanelTypesDblClk(NMHDR*, LRESULT* pResult) { *pResult = 0; }

CRecord* CZorvikanDesktopView::GetSelectedRecord() { return nullptr; }
void CZorvikanDesktopView::FillTree(CRecord*) {}
void CZorvikanDesktopView::FillPanelTypes(CBaseItem*) {}
void CZorvikanDesktopView::FillPanelRecords(CRecord*) {}
void CZorvikanDesktopView::ReloadAndRefresh(CUserItem*, bool) {}
void CZorvikanDesktopView::ShowDetails(CRecord*) {}
void CZorvikanDesktopView::UpdateRecordButtons(CRecord*) {}
