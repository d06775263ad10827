// The main view's side of the Wi-Fi sync server: its registration.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "app/services/SyncViewRegistry.h"
#include "app/services/ZorvikanDesktopApp.h"

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
