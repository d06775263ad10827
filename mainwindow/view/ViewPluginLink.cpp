// Messages the plug-in link's worker sends to the main view.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "core/items/FilterKeys.h"
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

LRESULT CZorvikanDesktopView::OnPluginAddLogin(WPARAM wParam, LPARAM lParam)
{
    const CString title = wParam ? CString((LPCSTR)wParam) : CString();
    const CString address = lParam ? CString((LPCSTR)lParam) : CString();
    if (m_webLogins.Offer(title, address)) AddWebLogin(title, address);
    return 1;
}

void CZorvikanDesktopView::ReleaseHeldWebLogins()
{
    for (const WebLogin& login : m_webLogins.SetReady()) AddWebLogin(login.title, login.address);
}

void CZorvikanDesktopView::AddWebLogin(const CString& title, const CString& address)
{
    // The busy flag makes the link drop further logins while the editor is
    // open.
    m_pluginLink.SetBusy(1);
    ++m_nWebLoginsHandedOn;
    RunNewItemDialog(KEY_ALL, KEY_ALL, title, address);
    m_pluginLink.SetBusy(0);
}
