#include "app/frame/MainFrm.h"

#include <cstring>

#include "app/AppIds.h"
#include "app/services/CommandLineText.h"
#include "app/frame/MainViewBase.h"
#include "app/frame/WindowPlacement.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "app/res/Resource.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/users/UserItem.h"
#include "framework/FrameworkRes.h"
#include "framework/ResourceModuleWin.h"
#include "framework/WinApp.h"
#include "toolkit/ToolkitIds.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_GETMINMAXINFO()
    ON_WM_DESTROY()
    ON_COMMAND(ID_HELP_USER_GUIDE, &CMainFrame::OnHelpUserGuide)
    ON_COMMAND(ID_HELP_FAQ, &CMainFrame::OnHelpFaq)
    ON_COMMAND(ID_HELP_SUPPORT, &CMainFrame::OnHelpSupport)
    ON_COMMAND(ID_HELP_DOWNLOAD, &CMainFrame::OnHelpDownload)
    ON_WM_COPYDATA()
    ON_WM_MENUCHAR()
    ON_REGISTERED_MESSAGE(WM_Zorvikan10_DatabaseNotify, &CMainFrame::OnDatabaseNotify)
    ON_WM_SYSCOMMAND()
    ON_MESSAGE(WM_TRAY_NOTIFY, &CMainFrame::OnTrayNotify)
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_TOOLKIT_GET_MAIN_VIEW, &CMainFrame::OnGetMainView)
END_MESSAGE_MAP()

namespace {

const char kMainClassName[] = "Zorvikan Desktop";
const char kTrayTip[] = "Zorvikan Desktop";
const int kMinTrackWidth = 908;
const int kMinTrackHeight = 400;

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// The first definite show of the process is left to the start-up.
bool g_firstShowPending = true;

CZorvikanDesktopApp* App()
{
    CWinApp* app = AfxGetApp();
    return app && app->IsKindOf(RUNTIME_CLASS(CZorvikanDesktopApp)) ? static_cast<CZorvikanDesktopApp*>(app) : nullptr;
}

void OpenStringTarget(UINT nID, bool inAppFolder)
{
    CString target;
    target.LoadString(nID);
    if (inAppFolder) target = GetAppDirectory() + target;
    OpenWithShell(target);
}

}  // namespace

CMainFrame::CMainFrame() { m_hTrayIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_TRAY)); }

CMainFrame::~CMainFrame() { RemoveTrayIcon(); }

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSA wc{};
    if (!::GetClassInfoA(hInst, kMainClassName, &wc)) {
        wc.style = 0;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
        wc.lpszClassName = kMainClassName;
        ::RegisterClassA(&wc);
    }
    cs.lpszClass = kMainClassName;
    cs.style &= ~FWS_ADDTOTITLE;  // the title never shows a document name
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, (int)(sizeof(kIndicators) / sizeof(kIndicators[0]))))
        return -1;
    const bool show = CAppPrefMgr::GetInstance()->GetPrefs()->GetShowStatusBar(CZorvikanDesktopApp::GetPrefsSection());
    m_wndStatusBar.ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    CreateDialogToolbar();
    RecalcLayout();
    return 0;
}

void CMainFrame::CreateDialogToolbar()
{
    // Its result is not checked: the program runs on without a tool bar.
    m_wndDialogToolbar.Create(this, IDD_DIALOG_TOOLBAR, CBRS_TOP, IDD_DIALOG_TOOLBAR);
    m_wndDialogToolbar.m_btnLock.LoadBitmaps(IDB_LOCK, IDB_LOCK_DOWN);
    m_wndDialogToolbar.m_btnOptions.LoadBitmaps(IDB_OPTIONS, IDB_OPTIONS_DOWN);
    m_wndDialogToolbar.m_btnPanelView.LoadBitmaps(IDB_VIEW_PANEL, 0, 0, IDB_VIEW_PANEL_DISABLED);
    m_wndDialogToolbar.m_btnListView.LoadBitmaps(IDB_VIEW_LIST, 0, 0, IDB_VIEW_LIST_DISABLED);
    m_wndDialogToolbar.m_btnTreeView.LoadBitmaps(IDB_VIEW_TREE, 0, 0, IDB_VIEW_TREE_DISABLED);
}

LRESULT CMainFrame::OnGetMainView(WPARAM, LPARAM) { return m_pMainView ? (LRESULT)m_pMainView->m_hWnd : 0; }

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    lpMMI->ptMinTrackSize.x = kMinTrackWidth;
    lpMMI->ptMinTrackSize.y = kMinTrackHeight;
    Default();
}

void CMainFrame::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != SW_HIDE && nCmdShow != SW_SHOWMINNOACTIVE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWNA &&
        nCmdShow != SW_SHOWNOACTIVATE) {
        if (HWND popup = ::GetLastActivePopup(m_hWnd)) ::BringWindowToTop(popup);
    }
    if (nCmdShow == -1) return;
    if (g_firstShowPending)
        g_firstShowPending = false;
    else
        ShowWindow(nCmdShow);
    BringWindowToTop();
}

HMENU CMainFrame::BuildMainMenu()
{
    if (!m_menu.LoadMenu(IDR_MAINFRAME)) return nullptr;
    m_menu.LoadToolbarImages(IDR_MENU_IMAGES);
    return m_menu.Detach();
}

void CMainFrame::InstallMainMenu(HMENU hMenu)
{
    if (!hMenu) return;
    HMENU old = ::GetMenu(m_hWnd);
    ::SetMenu(m_hWnd, hMenu);
    if (old && old != hMenu) ::DestroyMenu(old);
    m_hMenuDefault = hMenu;
    DrawMenuBar();
}

void CMainFrame::OnDestroy()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (GetWindowPlacement(&placement)) {
        const RECT& r = placement.rcNormalPosition;
        CString text = FormatWindowPos({r.left, r.top, r.right, r.bottom}, placement.showCmd == SW_SHOWMAXIMIZED);
        CZorvikanDesktopApp* app = App();
        if (app && app->GetCurrentUser())
            CAppPrefMgr::GetInstance()->GetPrefs()->SetWindowPos(app->GetCurrentUser(), text);
    }
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnHelpUserGuide() { OpenStringTarget(IDS_USER_GUIDE_FILE, true); }
void CMainFrame::OnHelpFaq() { OpenStringTarget(IDS_FAQ_URL, false); }
void CMainFrame::OnHelpSupport() { OpenStringTarget(IDS_SUPPORT_URL, false); }
void CMainFrame::OnHelpDownload() { OpenStringTarget(IDS_DOWNLOAD_URL, false); }

BOOL CMainFrame::OnCopyData(CWnd*, COPYDATASTRUCT* pCopyDataStruct)
{
    // Any process may send this: the text is bounded by the data's length,
    // whether or not it carries its terminating zero.
    if (!pCopyDataStruct || pCopyDataStruct->dwData != ZV_COPYDATA_COMMAND_LINE) return FALSE;
    if (pCopyDataStruct->cbData > 0 && !pCopyDataStruct->lpData) return FALSE;
    const char* data = static_cast<const char*>(pCopyDataStruct->lpData);
    size_t length = data ? strnlen(data, pCopyDataStruct->cbData) : 0;
    CString commandLine(data, (int)length);
    CString path = GetImportPathFromCommandLine(commandLine);
    if (!path.IsEmpty() && m_pMainView) m_pMainView->ImportFileAsk(path, TRUE);
    return TRUE;
}

LRESULT CMainFrame::OnDatabaseNotify(WPARAM wParam, LPARAM lParam)
{
    CView* view = GetActiveView();
    if (!view || !view->IsKindOf(RUNTIME_CLASS(CMainViewBase))) return 0;
    return static_cast<CMainViewBase*>(view)->OnDatabaseNotify(LOWORD(wParam), HIWORD(wParam), lParam);
}

void CMainFrame::AddTrayIcon()
{
    m_trayData = NOTIFYICONDATAA{};
    m_trayData.cbSize = sizeof(m_trayData);
    m_trayData.hWnd = m_hWnd;
    m_trayData.uID = ZV_TRAY_ICON_ID;
    m_trayData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_trayData.uCallbackMessage = WM_TRAY_NOTIFY;
    m_trayData.hIcon = m_hTrayIcon;
    lstrcpynA(m_trayData.szTip, kTrayTip, (int)sizeof(m_trayData.szTip));
    ::Shell_NotifyIconA(NIM_ADD, &m_trayData);
}

void CMainFrame::RemoveTrayIcon()
{
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = m_trayData.hWnd ? m_trayData.hWnd : m_hWnd;
    data.uID = ZV_TRAY_ICON_ID;
    if (data.hWnd) ::Shell_NotifyIconA(NIM_DELETE, &data);
}

void CMainFrame::OnSysCommand(UINT nID, LPARAM)
{
    const UINT command = nID & 0xFFF0;
    if (command == SC_MINIMIZE && m_bMinimizeToTray) {
        AddTrayIcon();
        ShowWindow(SW_HIDE);
        return;
    }
    if (command == SC_MAXIMIZE || command == SC_RESTORE || command == SC_CLOSE) RemoveTrayIcon();
    Default();
}

LRESULT CMainFrame::OnTrayNotify(WPARAM, LPARAM lParam)
{
    switch ((UINT)lParam) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        BCMenu menu;
        if (!menu.LoadMenu(IDR_TRAY_MENU)) break;
        menu.ModifyOwnerDrawnItem((const char*)nullptr, ID_TRAY_ADD, IDB_TRAY_ADD);
        menu.ModifyOwnerDrawnItem((const char*)nullptr, ID_TRAY_PREFERENCES, IDB_TRAY_PREFERENCES);
        POINT pt;
        ::GetCursorPos(&pt);
        // Foreground first, so that the menu closes on a click elsewhere.
        SetForegroundWindow();
        if (CMenu* popup = menu.GetSubMenu(0)) popup->TrackPopupMenu(TPM_RIGHTBUTTON, pt.x, pt.y, this);
        break;
    }
    case WM_LBUTTONDBLCLK:
        ShowWindow(SW_SHOW);
        RemoveTrayIcon();
        break;
    default: break;
    }
    return 0;
}

void CMainFrame::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    CFrameWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
    CView* view = GetActiveView();
    if (view && view->IsKindOf(RUNTIME_CLASS(CMainViewBase))) static_cast<CMainViewBase*>(view)->RestartAutoLockTimer();
}

LRESULT CMainFrame::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (BCMenu::IsBCMenu(pMenu)) return BCMenu::FindMenuCharItem(nChar, nFlags, pMenu);
    return CFrameWnd::OnMenuChar(nChar, nFlags, pMenu);
}

void ExitApplication() { ::ExitProcess(1); }

void FillUserMenu(CUserList& users, HMENU hMenu, UINT firstId, CUserItem* currentUser)
{
    while (::GetMenuItemCount(hMenu) > 0) ::DeleteMenu(hMenu, 0, MF_BYPOSITION);
    UINT checked = 0;
    UINT n = 0;
    for (POSITION pos = users.GetHeadPosition(); pos; ++n) {
        auto* user = static_cast<CUserItem*>(users.GetNext(pos));
        ::InsertMenuA(hMenu, n, MF_BYPOSITION | MF_STRING, firstId + n, user->GetDisplayName());
        user->SetId((int)(firstId + n));
        if (user == currentUser) checked = n;
    }
    ::CheckMenuItem(hMenu, checked, MF_BYPOSITION | MF_CHECKED);
}

void FillUserCombo(CUserList& users, CWnd& comboBox, CUserItem* currentUser)
{
    comboBox.SendMessage(CB_RESETCONTENT);
    LRESULT selected = CB_ERR;
    for (POSITION pos = users.GetHeadPosition(); pos;) {
        auto* user = static_cast<CUserItem*>(users.GetNext(pos));
        CString name = user->GetDisplayName();
        LRESULT index = comboBox.SendMessage(CB_ADDSTRING, 0, (LPARAM)(LPCSTR)name);
        if (index < 0) continue;
        comboBox.SendMessage(CB_SETITEMDATA, (WPARAM)index, (LPARAM)user);
        if (user == currentUser) selected = index;
    }
    comboBox.SendMessage(CB_SETCURSEL, (WPARAM)selected);
}
