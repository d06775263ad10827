#include "mainwindow/ZorvikanDesktopView.h"

#include "app/AppIds.h"
#include "app/history/LogEvents.h"
#include "app/frame/MainFrm.h"
#include "app/pluginlink/PluginLink.h"
#include "app/logon/StartupLogon.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "app/res/Resource.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/users/Platform.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"

IMPLEMENT_DYNCREATE(CZorvikanDesktopView, CMainViewBase)

BEGIN_MESSAGE_MAP(CZorvikanDesktopView, CMainViewBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_BRING_TO_FRONT, &CZorvikanDesktopView::OnBringToFront)
    ON_COMMAND(ID_TRAY_OPEN, &CZorvikanDesktopView::OnTrayOpen)
END_MESSAGE_MAP()

namespace {

CZorvikanDesktopApp* App()
{
    CWinApp* app = AfxGetApp();
    return app && app->IsKindOf(RUNTIME_CLASS(CZorvikanDesktopApp)) ? static_cast<CZorvikanDesktopApp*>(app) : nullptr;
}

CUserItem* CurrentUser()
{
    CZorvikanDesktopApp* app = App();
    return app ? app->GetCurrentUser() : nullptr;
}

const UINT kMinute = 60000;

}  // namespace

int CZorvikanDesktopView::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CView::OnCreate(lpcs) == -1) return -1;
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) static_cast<CMainFrame*>(frame)->SetMainView(this);
    return 0;
}

void CZorvikanDesktopView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CLogEvents::GetInstance()->Load();
    OpenUserData();
    CUserItem* user = CurrentUser();
    CFrameWnd* frame = GetParentFrame();
    if (user && frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame)))
        static_cast<CMainFrame*>(frame)->SetMinimizeToTray(
            CAppPrefMgr::GetInstance()->GetPrefs()->GetMinimizeToSystemTray(user) ? 1 : 0);
    RestartAutoLockTimer();
    // No handler takes this command yet; the platform's wish is passed on.
    if (PlatformWantsAutoSync()) PostMessage(WM_COMMAND, ID_AUTO_SYNC_AT_START, 0);
}

void CZorvikanDesktopView::OpenUserData()
{
    CUserItem* user = CurrentUser();
    if (!user) return;
    CString folder = CAppPrefMgr::GetInstance()->GetUserDirectory(user);
    if (folder.IsEmpty()) return;
    // A failed load leaves the object empty and unable to save, so the file
    // on disk stays as it is.
    m_nOpenResult = m_database.OpenInFolder(folder);
}

void CZorvikanDesktopView::OnDraw(CDC*) {}

void CZorvikanDesktopView::RestartAutoLockTimer()
{
    if (!m_hWnd) return;
    KillTimer(ZV_TIMER_AUTO_LOCK);
    if (m_bLocked) return;
    CUserItem* user = CurrentUser();
    if (!user) return;
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    if (!prefs->GetAutoLock(user) || !StartupUserHasMasterPassword(user)) return;
    const int minutes = prefs->GetSleepMinutes(user);
    if (minutes > 0) SetTimer(ZV_TIMER_AUTO_LOCK, (UINT)minutes * kMinute);
}

LRESULT CZorvikanDesktopView::OnDatabaseNotify(UINT operation, UINT, LPARAM)
{
    if (operation == 6) return m_bEditingDialogOpen ? 1 : 0;
    if (m_bLocked) {
        m_bReloadDue = true;
        return 0;
    }
    // Reloading the records and updating single items come with the
    // record views.
    return 0;
}

void CZorvikanDesktopView::ImportFileAsk(const CString& path, BOOL ask)
{
    if (ask) {
        CString text;
        text.Format(IDS_IMPORT_FILE_ASK, (LPCSTR)GetFileNameOfPath(path));
        if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    }
    // The import itself comes with the import and export.
}

LRESULT CZorvikanDesktopView::OnBringToFront(WPARAM, LPARAM)
{
    CWnd* main = AfxGetMainWnd();
    HWND hWnd = main ? main->GetSafeHwnd() : ::GetAncestor(m_hWnd, GA_ROOT);
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE;
    ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    return 1;
}

void CZorvikanDesktopView::OnTrayOpen()
{
    if (CWnd* main = AfxGetMainWnd()) main->ShowWindow(SW_SHOW);
}

void CZorvikanDesktopView::OnDestroy()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
        // The bar's own style: the frame is already hidden on its way out.
        CStatusBar& bar = static_cast<CMainFrame*>(frame)->GetStatusBar();
        if (bar.m_hWnd)
            CAppPrefMgr::GetInstance()->GetPrefs()->SetShowStatusBar(CZorvikanDesktopApp::GetPrefsSection(),
                                                                     (bar.GetStyle() & WS_VISIBLE) ? 1 : 0);
    }
    KillTimer(ZV_TIMER_AUTO_LOCK);
    // The smart lists and recent searches write their files as they go.
    if (CZorvikanDesktopApp* app = App()) app->ReleaseHistories();
    CLogEvents::GetInstance()->SaveAll();
    KillTimer(ZV_TIMER_CLEAR_CLIPBOARD);
    CUserItem* user = CurrentUser();
    if (user && CAppPrefMgr::GetInstance()->GetPrefs()->GetClearClipboardOnExit(user) && ::OpenClipboard(m_hWnd)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
    CView::OnDestroy();
}
