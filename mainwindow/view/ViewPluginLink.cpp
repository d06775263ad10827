// Messages the plug-in link's worker sends to the main view.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "framework/WinApp.h"

LRESULT CZorvikanDesktopView::OnBringToFront(WPARAM, LPARAM)
{
    CWnd* main = AfxGetMainWnd();
    HWND hWnd = main ? main->GetSafeHwnd() : ::GetAncestor(m_hWnd, GA_ROOT);
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE;
    ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    return 1;
}
