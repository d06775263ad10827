#include "framework/Menu.h"

#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu() { DestroyMenu(); }

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu) return FALSE;
    m_hMenu = hMenu;
    CHandleMap<CMenu>::SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h) CHandleMap<CMenu>::RemoveHandle(h);
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    HMENU h = ::LoadMenuA(AfxGetResourceHandle(), lpszResourceName);
    if (!h) h = ::LoadMenuA(AfxGetInstanceHandle(), lpszResourceName);
    return Attach(h);
}

CMenu* CMenu::FromHandle(HMENU hMenu) { return CHandleMap<CMenu>::FromHandle(hMenu); }
CMenu* CMenu::FromHandlePermanent(HMENU hMenu) { return CHandleMap<CMenu>::FromHandlePermanent(hMenu); }

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int n = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    char* buf = rString.GetBuffer(n + 1);
    n = ::GetMenuStringA(m_hMenu, nIDItem, buf, n + 1, nFlags);
    rString.ReleaseBuffer(n > 0 ? n : 0);
    return n;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) const
{
    // Owner-drawn items of this pop-up are measured before it is shown.
    AfxGetThreadState()->m_hMenuLastPopup = m_hMenu;
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
