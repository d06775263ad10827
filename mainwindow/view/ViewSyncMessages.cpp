// The main view's side of the Wi-Fi sync server: its registration.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "app/services/SyncViewRegistry.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"

void CZorvikanDesktopView::RegisterWithSync()
{
    CZorvikanDesktopApp* app = App();
    ISyncViewRegistry* registry = app ? app->GetSyncViewRegistry() : nullptr;
    if (!registry || m_pSyncRegistry) return;
    registry->AddProgressWindow(m_hWnd);
    registry->SetDatabase(&m_database);
    m_pSyncRegistry = registry;
    m_hSyncWindow = m_hWnd;
}

void CZorvikanDesktopView::UnregisterFromSync()
{
    if (!m_pSyncRegistry) return;
    m_pSyncRegistry->RemoveProgressWindow(m_hSyncWindow);
    m_pSyncRegistry->SetDatabase(nullptr);
    m_pSyncRegistry = nullptr;
    m_hSyncWindow = nullptr;
}

LRESULT CZorvikanDesktopView::OnSyncCloseDetailDialog(WPARAM, LPARAM)
{
    if (HWND editor = ::FindWindowA("#32770", "Detail View")) ::SendMessageA(editor, WM_COMMAND, IDOK, 0);
    return 1;
}

LRESULT CZorvikanDesktopView::OnSyncClearIcons(WPARAM, LPARAM)
{
    // The session replaces the icon files; the view lets go of its icons.
    m_customIcons.RemoveAllIcons();
    return 1;
}

LRESULT CZorvikanDesktopView::OnSyncReloadDatabase(WPARAM wParam, LPARAM)
{
    CUserItem* user = reinterpret_cast<CUserItem*>(wParam);
    if (!user) return 1;
    ReloadAndRefresh(user, true);
    // The session may have taken over the handheld's name for the user.
    if (user == CurrentUser()) UpdateCaption(user);
    return 1;
}

LRESULT CZorvikanDesktopView::OnSyncReloadIcons(WPARAM wParam, LPARAM)
{
    CUserItem* user = reinterpret_cast<CUserItem*>(wParam);
    CZorvikanDesktopApp* app = App();
    if (user) {
        const CString folder = CAppPrefMgr::GetInstance()->GetIconsDirectory(user);
        m_customIcons.Rescan(folder);
        if (m_nViewMode == kViewModeTree || m_nViewMode == kViewModePanel) RebuildIconImageList();
    }
    if (user && app) app->SwitchHistoriesUser(user, false);
    return 1;
}

LRESULT CZorvikanDesktopView::OnSyncSessionClosed(WPARAM, LPARAM)
{
    if (CZorvikanDesktopApp* app = App()) app->ResetSyncMode();
    return 1;
}

LRESULT CZorvikanDesktopView::OnSyncStatusIgnored(WPARAM, LPARAM) { return 1; }
