// Commands of the tray icon's menu.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "framework/WinApp.h"

void CZorvikanDesktopView::OnTrayOpen()
{
    if (CWnd* main = AfxGetMainWnd()) main->ShowWindow(SW_SHOW);
}
