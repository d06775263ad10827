// Commands of the tray icon's menu.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "app/history/EventViewerDlg.h"
#include "framework/WinApp.h"

void CZorvikanDesktopView::OnTrayOpen()
{
    if (CWnd* main = AfxGetMainWnd()) main->ShowWindow(SW_SHOW);
}

void CZorvikanDesktopView::OnEventViewer()
{
    m_pluginLink.SetBusy(1);
    CEventViewerDlg dlg(this);
    dlg.DoModal();
    m_pluginLink.SetBusy(0);
}
