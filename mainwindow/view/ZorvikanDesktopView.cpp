// The main view's message map, construction, first update and end. The
// handlers live in the files of their concern (see ZorvikanDesktopView.h).
#include "mainwindow/view/ZorvikanDesktopView.h"

#include "app/AppIds.h"
#include "app/frame/MainFrm.h"
#include "app/history/LogEvents.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/link/WebLoginLink.h"
#include "core/users/Platform.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/data/UserDatabaseOpen.h"

IMPLEMENT_DYNCREATE(CZorvikanDesktopView, CMainViewBase)

BEGIN_MESSAGE_MAP(CZorvikanDesktopView, CMainViewBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_BRING_TO_FRONT, &CZorvikanDesktopView::OnBringToFront)
    ON_MESSAGE(WM_ADD_WEB_LOGIN, &CZorvikanDesktopView::OnPluginAddLogin)
    ON_COMMAND(ID_TRAY_OPEN, &CZorvikanDesktopView::OnTrayOpen)
END_MESSAGE_MAP()

CZorvikanDesktopApp* CZorvikanDesktopView::App()
{
    CWinApp* app = AfxGetApp();
    return app && app->IsKindOf(RUNTIME_CLASS(CZorvikanDesktopApp)) ? static_cast<CZorvikanDesktopApp*>(app) : nullptr;
}

CUserItem* CZorvikanDesktopView::CurrentUser()
{
    CZorvikanDesktopApp* app = App();
    return app ? app->GetCurrentUser() : nullptr;
}

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
    CUserItem* user = CurrentUser();
    if (user) m_viewState.Read(*CAppPrefMgr::GetInstance()->GetPrefs(), user);
    OpenUserData(false);
    m_viewState.DropMissingFilters(m_database);
    CFrameWnd* frame = GetParentFrame();
    if (user && frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame)))
        static_cast<CMainFrame*>(frame)->SetMinimizeToTray(
            CAppPrefMgr::GetInstance()->GetPrefs()->GetMinimizeToSystemTray(user) ? 1 : 0);
    RestartAutoLockTimer();
    // No handler takes this command yet; the platform's wish is passed on.
    if (PlatformWantsAutoSync()) PostMessage(WM_COMMAND, ID_AUTO_SYNC_AT_START, 0);
    DragAcceptFiles();
    RegisterWithSync();
    ReleaseHeldWebLogins();
}

int CZorvikanDesktopView::OpenUserData(bool clearFirst)
{
    CUserItem* user = CurrentUser();
    if (!user) return m_nOpenResult;
    const CString folder = CAppPrefMgr::GetInstance()->GetUserDirectory(user);
    m_nOpenResult = OpenUserDatabase(m_database, folder, clearFirst);
    if (m_nOpenResult != 0) {
        const CString path = m_database.GetFilePath().IsEmpty() ? folder : m_database.GetFilePath();
        AfxMessageBox(DescribeOpenFailure(path, m_nOpenResult), MB_OK | MB_ICONERROR);
    }
    return m_nOpenResult;
}

void CZorvikanDesktopView::OnDraw(CDC*) {}

CZorvikanDesktopView::~CZorvikanDesktopView() { UnregisterFromSync(); }

void CZorvikanDesktopView::OnDestroy()
{
    if (CUserItem* user = CurrentUser()) m_viewState.WriteOnClose(*CAppPrefMgr::GetInstance()->GetPrefs(), user);
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
        // The bar's own style: the frame is already hidden on its way out.
        CStatusBar& bar = static_cast<CMainFrame*>(frame)->GetStatusBar();
        if (bar.m_hWnd)
            CAppPrefMgr::GetInstance()->GetPrefs()->SetShowStatusBar(CZorvikanDesktopApp::GetPrefsSection(),
                                                                     (bar.GetStyle() & WS_VISIBLE) ? 1 : 0);
    }
    KillTimer(ZV_TIMER_AUTO_LOCK);
    UnregisterFromSync();
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
