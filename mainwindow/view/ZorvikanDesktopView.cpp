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
#include "toolkit/ToolkitIds.h"

IMPLEMENT_DYNCREATE(CZorvikanDesktopView, CMainViewBase)

BEGIN_MESSAGE_MAP(CZorvikanDesktopView, CMainViewBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_BRING_TO_FRONT, &CZorvikanDesktopView::OnBringToFront)
    ON_MESSAGE(WM_ADD_WEB_LOGIN, &CZorvikanDesktopView::OnPluginAddLogin)
    ON_COMMAND(ID_TRAY_OPEN, &CZorvikanDesktopView::OnTrayOpen)
    // ViewLayout.cpp
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_LISTCTRLEX_SELECTED, &CZorvikanDesktopView::OnListExSelect)
    // ViewModes.cpp
    ON_COMMAND(ID_VIEW_LIST, &CZorvikanDesktopView::OnListView)
    ON_COMMAND(ID_VIEW_TREE, &CZorvikanDesktopView::OnTreeView)
    ON_COMMAND(ID_VIEW_PANEL, &CZorvikanDesktopView::OnPanelView)
    ON_NOTIFY(NM_CLICK, IDC_RECORD_LIST, &CZorvikanDesktopView::OnRecordsClick)
    ON_NOTIFY(NM_DBLCLK, IDC_RECORD_LIST, &CZorvikanDesktopView::OnRecordsDblClk)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_CATEGORY_TREE, &CZorvikanDesktopView::OnTreeSelChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_CATEGORY_TREE, &CZorvikanDesktopView::OnTreeDblClk)
    ON_NOTIFY(NM_DBLCLK, IDC_PANEL_RECORDS, &CZorvikanDesktopView::OnPanelRecordsDblClk)
    ON_NOTIFY(NM_DBLCLK, IDC_PANEL_TYPES, &CZorvikanDesktopView::OnPanelTypesDblClk)
    // ViewRecordList.cpp
    ON_COMMAND(ID_COLUMN_CHOOSER, &CZorvikanDesktopView::OnColumnChooser)
    ON_COMMAND(ID_PAGE_UP, &CZorvikanDesktopView::OnPageUp)
    ON_COMMAND(ID_PAGE_DOWN, &CZorvikanDesktopView::OnPageDown)
    ON_COMMAND(ID_SELECT_ALL, &CZorvikanDesktopView::OnSelectAll)
    ON_COMMAND(ID_EDIT_CUT, &CZorvikanDesktopView::OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, &CZorvikanDesktopView::OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CZorvikanDesktopView::OnUpdateEditCutCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CZorvikanDesktopView::OnUpdateEditCutCopy)
    ON_COMMAND(ID_EDIT_PASTE, &CZorvikanDesktopView::OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CZorvikanDesktopView::OnUpdateEditPaste)
    ON_WM_CHAR()
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_RECORD_LIST, &CZorvikanDesktopView::OnRecordListItemChanged)
    ON_NOTIFY(NM_RCLICK, IDC_RECORD_LIST, &CZorvikanDesktopView::OnRecordListRClick)
    // ViewFilters.cpp
    ON_CBN_SELCHANGE(IDC_TOOLBAR_CATEGORIES, &CZorvikanDesktopView::OnCategoryComboChange)
    ON_CBN_SELCHANGE(IDC_TOOLBAR_TYPES, &CZorvikanDesktopView::OnTypeComboChange)
    ON_COMMAND(ID_SHOW_DETAILS, &CZorvikanDesktopView::OnShowDetails)
    ON_UPDATE_COMMAND_UI(ID_SHOW_DETAILS, &CZorvikanDesktopView::OnUpdateShowDetails)
    ON_COMMAND(ID_TOGGLE_MASK, &CZorvikanDesktopView::OnToggleMask)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_MASK, &CZorvikanDesktopView::OnUpdateToggleMask)
    ON_COMMAND(ID_EDIT_TYPES, &CZorvikanDesktopView::OnEditTypes)
    ON_COMMAND(ID_EDIT_CATEGORIES, &CZorvikanDesktopView::OnEditCategories)
    ON_COMMAND(ID_NEW_TYPE, &CZorvikanDesktopView::OnNewType)
    // ViewRecordCommands.cpp
    ON_COMMAND(ID_NEW_ITEM, &CZorvikanDesktopView::OnNewItem)
    ON_COMMAND(ID_TRAY_ADD, &CZorvikanDesktopView::OnNewItem)
    ON_COMMAND(ID_EDIT_ITEM, &CZorvikanDesktopView::OnEditItem)
    ON_UPDATE_COMMAND_UI(ID_EDIT_ITEM, &CZorvikanDesktopView::OnUpdateNeedsSelection)
    ON_COMMAND(ID_DELETE_ITEM, &CZorvikanDesktopView::OnDeleteItem)
    ON_UPDATE_COMMAND_UI(ID_DELETE_ITEM, &CZorvikanDesktopView::OnUpdateDeleteItem)
    ON_COMMAND(ID_DUPLICATE_ITEM, &CZorvikanDesktopView::OnDuplicateItem)
    ON_UPDATE_COMMAND_UI(ID_DUPLICATE_ITEM, &CZorvikanDesktopView::OnUpdateNeedsSelection)
    ON_COMMAND(ID_CUSTOMIZE_FIELDS, &CZorvikanDesktopView::OnCustomizeFields)
    ON_UPDATE_COMMAND_UI(ID_CUSTOMIZE_FIELDS, &CZorvikanDesktopView::OnUpdateNeedsSelection)
    ON_COMMAND(ID_ADD_ATTACHMENT, &CZorvikanDesktopView::OnAttachment)
    ON_UPDATE_COMMAND_UI(ID_ADD_ATTACHMENT, &CZorvikanDesktopView::OnUpdateAttachment)
    // ViewCopyCommands.cpp
    ON_COMMAND(ID_COPY_CATEGORY, &CZorvikanDesktopView::OnCopyCategory)
    ON_UPDATE_COMMAND_UI(ID_COPY_CATEGORY, &CZorvikanDesktopView::OnUpdateCopyCategory)
    ON_COMMAND_RANGE(ID_COPY_FIELD1, ID_COPY_FIELD6, &CZorvikanDesktopView::OnCopyField)
    ON_UPDATE_COMMAND_UI_RANGE(ID_COPY_FIELD1, ID_COPY_FIELD6, &CZorvikanDesktopView::OnUpdateCopyField)
    ON_COMMAND_RANGE(ID_COPY_FIELD8, ID_COPY_FIELD7, &CZorvikanDesktopView::OnCopyField)
    ON_UPDATE_COMMAND_UI_RANGE(ID_COPY_FIELD8, ID_COPY_FIELD7, &CZorvikanDesktopView::OnUpdateCopyField)
    ON_COMMAND(ID_COPY_NOTE, &CZorvikanDesktopView::OnCopyNote)
    ON_UPDATE_COMMAND_UI(ID_COPY_NOTE, &CZorvikanDesktopView::OnUpdateCopyNote)
    // ViewTrayCommands.cpp
    ON_COMMAND(ID_EVENT_VIEWER, &CZorvikanDesktopView::OnEventViewer)
    // ViewDuplicates.cpp
    ON_COMMAND(ID_DELETE_DUPLICATES, &CZorvikanDesktopView::OnDeleteDuplicates)
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
