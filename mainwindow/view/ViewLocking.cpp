// The main view's auto-lock countdown.
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "app/logon/StartupLogon.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "mainwindow/MainWindowIds.h"

void CZorvikanDesktopView::RestartAutoLockTimer()
{
    if (!m_hWnd) return;
    KillTimer(ZV_TIMER_AUTO_LOCK);
    if (m_lockState.IsLocked()) return;
    CUserItem* user = CurrentUser();
    if (!user) return;
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    if (!prefs->GetAutoLock(user) || !StartupUserHasMasterPassword(user)) return;
    if (const UINT delay = CViewLockState::AutoLockDelayMs(prefs->GetSleepMinutes(user)))
        SetTimer(ZV_TIMER_AUTO_LOCK, delay);
}
