// The main view's message map, construction, first update and end. The
// handlers live in the files of their concern (see ZorvikanDesktopView.h).
#include "mainwindow/view/ZorvikanDesktopView.h"

#include <cstring>
#include <utility>

#include "app/AppIds.h"
#include "app/frame/MainFrm.h"
#include "app/history/LogEvents.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/link/WebLoginLink.h"
#include "core/users/Platform.h"
#include "framework/FrameworkRes.h"
#include "framework/ModalSeam.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/dialogs/AttachmentDownloadDlg.h"
#include "mainwindow/data/UserDatabaseOpen.h"
#include "app/res/Resource.h"
#include "core/os/SystemInfo.h"
#include "core/users/UserItem.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/progress/ZorvikScreen2.h"

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
    // ZorvikanDesktopView.cpp
    ON_WM_DRAWITEM()
    ON_COMMAND(ID_FIND, &CZorvikanDesktopView::OnFind)
    ON_COMMAND(ID_FILE_PRINT, &CZorvikanDesktopView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, &CZorvikanDesktopView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CZorvikanDesktopView::OnFilePrintPreview)
    ON_COMMAND(ID_FILE_NEW, &CZorvikanDesktopView::OnNothing)
    ON_COMMAND(ID_FILE_OPEN, &CZorvikanDesktopView::OnNothing)
    ON_COMMAND(ID_IGNORED_1091, &CZorvikanDesktopView::OnNothing)
    ON_UPDATE_COMMAND_UI(ID_NEW_ITEM, &CZorvikanDesktopView::OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_PRINT_RECORD, &CZorvikanDesktopView::OnUpdateAlwaysEnabled)
    // ViewPrinting.cpp
    ON_COMMAND(ID_PRINT_RECORD, &CZorvikanDesktopView::OnPrintRecord)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_PAGE_SETUP, ID_FILE_PRINT_PREVIEW, &CZorvikanDesktopView::OnUpdatePrintCommands)
    ON_WM_SETFOCUS()
    ON_WM_RBUTTONDOWN()
    ON_NOTIFY_RANGE(ZV_NOTIFY_IGNORED_CODE, IDC_IGNORED_FIRST, IDC_IGNORED_LAST,
                    &CZorvikanDesktopView::OnControlNotifyNothing)
    // ViewLayout.cpp
    ON_MESSAGE(WM_CHILDLIST_MOUSEMOVE, &CZorvikanDesktopView::OnChildListMouseMove)
    // ViewSearch.cpp
    ON_MESSAGE(WM_SEARCHBOX_UPDATE, &CZorvikanDesktopView::OnSearchTextChanged)
    ON_MESSAGE(WM_SEARCHBOX_LEAVE, &CZorvikanDesktopView::OnSearchLeave)
    ON_MESSAGE(WM_SEARCHBOX_CLEAR, &CZorvikanDesktopView::OnSearchClear)
    ON_MESSAGE(WM_SEARCHBOX_HISTORY, &CZorvikanDesktopView::OnSearchHistoryMenu)
    ON_COMMAND_RANGE(ID_RECENT_SEARCH_FIRST, ID_RECENT_SEARCH_LAST, &CZorvikanDesktopView::OnRecentSearch)
    ON_COMMAND(ID_CLEAR_SEARCH_HISTORY, &CZorvikanDesktopView::OnClearSearchHistory)
    ON_NOTIFY(LVN_DELETEALLITEMS, IDC_PANEL_TYPES, &CZorvikanDesktopView::OnPanelListDeleteAll)
    ON_NOTIFY(LVN_DELETEALLITEMS, IDC_PANEL_RECORDS, &CZorvikanDesktopView::OnPanelListDeleteAll)
    ON_NOTIFY(LVN_DELETEALLITEMS, IDC_PANEL_SMART_LISTS, &CZorvikanDesktopView::OnPanelListDeleteAll)
    // ViewExchange.cpp
    ON_COMMAND(ID_IMPORT_ZKV_FOLDER, &CZorvikanDesktopView::OnImportZkvFolder)
    ON_COMMAND(ID_IMPORT_ZKV, &CZorvikanDesktopView::OnImportZkv)
    ON_COMMAND(ID_IMPORT_CSV, &CZorvikanDesktopView::OnImportCsv)
    ON_COMMAND(ID_IMPORT_1PASSWORD, &CZorvikanDesktopView::OnImport1Password)
    ON_COMMAND(ID_IMPORT_EWALLET, &CZorvikanDesktopView::OnImportEWallet)
    ON_COMMAND(ID_IMPORT_YAPS, &CZorvikanDesktopView::OnImportYaps)
    ON_COMMAND(ID_IMPORT_CRYPTINFO, &CZorvikanDesktopView::OnImportCryptinfo)
    ON_COMMAND(ID_IMPORT_MOBILESAFE, &CZorvikanDesktopView::OnImportMobileSafe)
    ON_COMMAND(ID_IMPORT_TOPSECRET, &CZorvikanDesktopView::OnImportTopSecret)
    ON_COMMAND(ID_IMPORT_DATABASE, &CZorvikanDesktopView::OnImportDatabase)
    ON_COMMAND(ID_EXPORT_ZKV3, &CZorvikanDesktopView::OnExportZkv3)
    ON_COMMAND(ID_EXPORT_ZKV4, &CZorvikanDesktopView::OnExportZkv4)
    ON_COMMAND(ID_EXPORT_CSV, &CZorvikanDesktopView::OnExportCsv)
    // ViewUserCommands.cpp
    ON_COMMAND(ID_OPTIONS, &CZorvikanDesktopView::OnOptions)
    ON_COMMAND(ID_TRAY_PREFERENCES, &CZorvikanDesktopView::OnOptions)
    ON_COMMAND(ID_EDIT_USERS, &CZorvikanDesktopView::OnEditUsers)
    ON_COMMAND(ID_DATABASE_SYNC, &CZorvikanDesktopView::OnDatabaseSync)
    ON_COMMAND(ID_RESET_DATABASE, &CZorvikanDesktopView::OnResetDatabase)
    ON_COMMAND(ID_SET_PASSWORD, &CZorvikanDesktopView::OnSetPassword)
    ON_COMMAND_RANGE(ID_USER_FIRST, ID_USER_LAST, &CZorvikanDesktopView::OnSwitchUser)
    ON_UPDATE_COMMAND_UI(ID_USER_FIRST, &CZorvikanDesktopView::OnUpdateUserMenu)
    ON_UPDATE_COMMAND_UI(ID_SYNC_ALLOWED, &CZorvikanDesktopView::OnUpdateSyncAllowed)
    // ViewLocking.cpp
    ON_WM_TIMER()
    ON_COMMAND(ID_LOCK_APP, &CZorvikanDesktopView::OnLock)
    ON_MESSAGE(WM_DEFERRED_LOCK, &CZorvikanDesktopView::OnDeferredLock)
    ON_COMMAND(ID_CLEAR_CLIPBOARD, &CZorvikanDesktopView::OnClearClipboard)
    ON_UPDATE_COMMAND_UI(ID_CLEAR_CLIPBOARD, &CZorvikanDesktopView::OnUpdateClearClipboard)
    // ViewBackup.cpp
    ON_COMMAND(ID_BACKUP, &CZorvikanDesktopView::OnBackup)
    ON_COMMAND(ID_RESTORE_ZKV_FOLDER, &CZorvikanDesktopView::OnRestoreZkvFolder)
    ON_COMMAND(ID_RESTORE_ZKV_FILE, &CZorvikanDesktopView::OnRestoreZkvFile)
    // ViewTools.cpp
    ON_COMMAND(ID_EMAIL_ITEMS, &CZorvikanDesktopView::OnEmailItems)
    ON_COMMAND(ID_EXPORT_ZKV, &CZorvikanDesktopView::OnExportZkvFolder)
    ON_COMMAND(ID_EXPORT_ZKV_LIST, &CZorvikanDesktopView::OnExportZkvFolder)
    ON_COMMAND(ID_INSTALL_REMOVABLE, &CZorvikanDesktopView::OnInstallToRemovable)
    ON_COMMAND(ID_CHECK_FOR_UPDATES, &CZorvikanDesktopView::OnCheckForUpdates)
    ON_COMMAND(ID_INSTALL_BROWSER_PLUGIN, &CZorvikanDesktopView::OnInstallBrowserPlugin)
    ON_COMMAND(ID_UNINSTALL_BROWSER_PLUGIN, &CZorvikanDesktopView::OnUninstallBrowserPlugin)
    ON_COMMAND(ID_HELP_USER_GUIDE, &CZorvikanDesktopView::OnUserGuide)
    // ViewMoveRecords.cpp
    ON_WM_CONTEXTMENU()
    ON_COMMAND_RANGE(ID_MOVE_TO_TYPE_FIRST, ID_MOVE_TO_TYPE_LAST, &CZorvikanDesktopView::OnMoveToType)
    ON_COMMAND(ID_MOVE_TO_UNFILED_TYPE, &CZorvikanDesktopView::OnMoveToUnfiledType)
    ON_COMMAND_RANGE(ID_MOVE_TO_CATEGORY_FIRST, ID_MOVE_TO_CATEGORY_LAST, &CZorvikanDesktopView::OnMoveToCategory)
    ON_COMMAND(ID_MOVE_TO_UNFILED_CATEGORY, &CZorvikanDesktopView::OnMoveToUnfiledCategory)
    ON_MESSAGE(WM_LISTCTRLEX_COLUMNCLICK, &CZorvikanDesktopView::OnListExColumnClick)
    ON_MESSAGE(WM_LISTCTRLEX_BEGINDRAG, &CZorvikanDesktopView::OnListExBeginDrag)
    ON_MESSAGE(WM_LISTCTRLEX_DRAGMOVE, &CZorvikanDesktopView::OnListExDragMove)
    ON_MESSAGE(WM_LISTCTRLEX_DROP, &CZorvikanDesktopView::OnListExDrop)
    ON_MESSAGE(WM_LISTCTRLEX_ESCAPE, &CZorvikanDesktopView::OnListExCancelDrag)
    // ViewSyncMessages.cpp
    ON_MESSAGE(WM_SYNC_STARTING, &CZorvikanDesktopView::OnSyncCloseDetailDialog)
    ON_MESSAGE(WM_SYNC_MERGE_NOTIFY, &CZorvikanDesktopView::OnSyncClearIcons)
    ON_MESSAGE(WM_SYNC_REFRESH_USER, &CZorvikanDesktopView::OnSyncReloadDatabase)
    ON_MESSAGE(WM_SYNC_USER_DONE, &CZorvikanDesktopView::OnSyncReloadIcons)
    ON_MESSAGE(WM_SYNC_CLOSE, &CZorvikanDesktopView::OnSyncSessionClosed)
    ON_MESSAGE(WM_SYNC_USER_NAME, &CZorvikanDesktopView::OnSyncStatusIgnored)
    ON_MESSAGE(WM_SYNC_STATE, &CZorvikanDesktopView::OnSyncStatusIgnored)
    // ViewAutoFill.cpp
    ON_COMMAND(ID_AUTO_FILL, &CZorvikanDesktopView::OnAutoFill)
    ON_UPDATE_COMMAND_UI(ID_AUTO_FILL, &CZorvikanDesktopView::OnUpdateAutoFill)
    // ViewUpkeep.cpp
    ON_UPDATE_COMMAND_UI(ID_VIEW_TREE, &CZorvikanDesktopView::OnUpdateTreeView)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PANEL, &CZorvikanDesktopView::OnUpdatePanelView)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LIST, &CZorvikanDesktopView::OnUpdateListView)
    ON_UPDATE_COMMAND_UI(ID_SELECT_ALL, &CZorvikanDesktopView::OnUpdateSelectAll)
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_CLOSE_FOR_ICON_DELETION, &CZorvikanDesktopView::OnCloseForIconDeletion)
END_MESSAGE_MAP()

bool CZorvikanDesktopView::s_bPrintPreview = false;

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
    CUserItem* user = CurrentUser();
    std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs();
    CMainFrame* frame = Frame();

    // Attachments opened in an earlier run that ended without removing them.
    CAttachmentDownloadDlg::RemoveTemporaryFolder();
    // The record list's callbacks find the view through the frame.
    const CRect details = GetDetailsRect();
    m_detailsPane.Create(details, this, IDC_DETAILS_PANE);
    if (frame) frame->SetMainView(this);
    {
        CZorvikScreen2 screen;
        screen.DoModal();
    }
    CView::OnInitialUpdate();

    if (user) m_viewState.Read(*prefs, user);
    m_recordList.Create(GetListRect(), this, IDC_RECORD_LIST);
    m_recordList.ShowWindow(SW_SHOW);
    // Every other row of the list is drawn on the user's row colour.
    m_recordList.m_crEvenRow = (COLORREF)m_viewState.rowColor;
    SetUpFonts();
    CreateToolButtons();
    if (frame) {
        CDialogToolbar& bar = frame->GetDialogToolbar();
        if (bar.m_cbCategories.m_hWnd) bar.m_cbCategories.SetFont(&m_controlFont);
        if (bar.m_cbTypes.m_hWnd) bar.m_cbTypes.SetFont(&m_controlFont);
    }

    OpenUserData(false);
    ReloadCustomIcons();
    RepairMissingCustomIcons();
    CLogEvents::GetInstance()->Load();
    if (CZorvikanDesktopApp* app = App()) {
        app->GetRecentSearches(m_recentSearches);
        if (frame && frame->GetDialogToolbar().m_edSearch.m_hWnd)
            frame->GetDialogToolbar().m_edSearch.SetAutoCompleteList(m_recentSearches);
    }
    RebuildIconImageList();

    // File syncs set to run at the start, before the filters are checked.
    RunFileSyncs(false);
    m_viewState.DropMissingFilters(m_database);
    RefillTypeCombo();
    RefillCategoryCombo();
    FillRecordList();
    UpdateCaption(user);
    SelectTypeInCombo(m_viewState.typeFilter);
    SelectCategoryInCombo(m_viewState.categoryFilter);
    LoadListColumns(true);

    // No handler takes this command yet; the platform's wish is passed on.
    if (PlatformWantsAutoSync()) PostMessage(WM_COMMAND, ID_AUTO_SYNC_AT_START, 0);
    DragAcceptFiles();
    RestartAutoLockTimer();
    const std::pair<bool, int> clearing = GetClearClipboardTimerSetting();
    SetClipboardTimer(clearing.first, clearing.second);
    m_recordList.SelectItem(0, TRUE);
    m_recordList.SetFocus();

    if (frame) {
        CDialogToolbar& bar = frame->GetDialogToolbar();
        for (CBitmapButton* b : {&bar.m_btnListView, &bar.m_btnTreeView, &bar.m_btnPanelView})
            if (b->m_hWnd) b->EnableWindow(TRUE);
    }
    const int mode = m_viewState.viewMode;
    if (mode == kViewModeTree) {
        OnTreeView();
    } else if (mode == kViewModePanel) {
        OnPanelView();
    } else {
        m_nViewMode = kViewModeList;
        if (frame && frame->GetDialogToolbar().m_btnListView.m_hWnd)
            frame->GetDialogToolbar().m_btnListView.EnableWindow(FALSE);
        SelectTypeInCombo(m_viewState.typeFilter);
        SelectCategoryInCombo(m_viewState.categoryFilter);
    }
    if (frame) {
        CDialogToolbar& bar = frame->GetDialogToolbar();
        for (CBitmapButton* b : {&bar.m_btnListView, &bar.m_btnTreeView, &bar.m_btnPanelView})
            if (b->m_hWnd) b->Invalidate();
    }

    if (user) {
        m_bAutoSubmit = prefs->GetAutoSubmit(user);
        m_nSearchColumns = prefs->GetSearchColumns(user) ? 1 : -1;
    }
    CreateTooltips();
    RegisterWithSync();
    SortRecordList();
    if (user && frame) frame->SetMinimizeToTray(prefs->GetMinimizeToSystemTray(user) ? 1 : 0);
    // The windows made above take their places.
    RECT client{};
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.right, client.bottom);
    ReleaseHeldWebLogins();
}

void CZorvikanDesktopView::UpdateCaption(CUserItem* user)
{
    CString text = AfxGetAppName();
    if (text.IsEmpty()) {
        // A host without a name of its own: the template's window title.
        text.LoadString(IDR_MAINFRAME);
        const int end = text.Find('\n');
        if (end >= 0) text = text.Left(end);
    }
    if (user) text += " - " + user->GetDisplayName();
    // The frame's own title too: it puts its title back after the first update.
    CFrameWnd* frame = GetParentFrame();
    if (frame) frame->SetTitle(text);
    CWnd* main = AfxGetMainWnd();
    if (!main) main = frame;
    if (main && main->m_hWnd) main->SetWindowText(text);
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

CZorvikanDesktopView::CZorvikanDesktopView()
{
    // The small buttons' pictures, shared by every window that has them.
    LoadProgramStrip(0, IDB_COPY_BUTTONS, 1, 2, 12, 13, 1, RGB(0xFF, 0x99, 0x33));
    LoadProgramStrip(1, IDB_ATTACHMENT_PRESSED, 1, 1, 14, 14, 1, RGB(0xEB, 0xEB, 0xEC));
}

CZorvikanDesktopView::~CZorvikanDesktopView()
{
    RunFileSyncs(true);
    BackupOnExit();
    UnregisterFromSync();
    // Decrypted copies of attachments never outlive the program.
    CAttachmentDownloadDlg::RemoveTemporaryFolder();
}

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
    m_nAutoLockTimer = 0;
    UnregisterFromSync();
    // The smart lists and recent searches write their files as they go.
    if (CZorvikanDesktopApp* app = App()) app->ReleaseHistories();
    CLogEvents::GetInstance()->SaveAll();
    SetClipboardTimer(false, 0);
    CUserItem* user = CurrentUser();
    if (user && CAppPrefMgr::GetInstance()->GetPrefs()->GetClearClipboardOnExit(user)) ClearProgramClipboard();
    CView::OnDestroy();
}

CMainFrame* CZorvikanDesktopView::Frame() const
{
    CFrameWnd* frame = GetParentFrame();
    return frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(frame) : nullptr;
}

BOOL CZorvikanDesktopView::PreCreateWindow(CREATESTRUCTA& cs)
{
    // The view paints around its children itself (OnEraseBkgnd).
    cs.style &= ~WS_CLIPCHILDREN;
    return CView::PreCreateWindow(cs);
}

BOOL CZorvikanDesktopView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB) {
        const bool back = ::GetKeyState(VK_SHIFT) < 0;
        if (back ? FocusPreviousPane() : FocusNextPane()) return TRUE;
    }
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_LBUTTONUP) {
        if (m_viewTip.m_hWnd) {
            POINT pt = pMsg->pt;
            HWND under = (HWND)m_viewTip.SendMessage(TTM_WINDOWFROMPOINT, 0, (LPARAM)&pt);
            if (under) {
                ::ScreenToClient(under, &pt);
                MSG relay = *pMsg;
                relay.hwnd = under;
                relay.lParam = MAKELPARAM(pt.x, pt.y);
                m_viewTip.RelayEvent(&relay);
                if (m_frameTip.m_hWnd) m_frameTip.RelayEvent(&relay);
            }
        }
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && m_bRecordDragging) OnListExCancelDrag(0, 0);
    return CView::PreTranslateMessage(pMsg);
}

void CZorvikanDesktopView::OnDraw(CDC* pDC)
{
    if (s_bPrintPreview) {
        s_bPrintPreview = false;
        m_pluginLink.SetBusy(0);
        if (CMainFrame* frame = Frame()) frame->GetDialogToolbar().EnableBar();
    }
    const ViewGeometry g = GetGeometry();
    if (m_viewState.showingDetails && pDC) {
        const ViewRect d = g.DetailsArea();
        DrawSplitterGrip(pDC, CRect(d.left, d.top, d.right, d.bottom));
        DrawPaneBorder(pDC);
        CPen pen;
        pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
        CPen* old = pDC->SelectObject(&pen);
        pDC->MoveTo(d.left + kSplitterStripWidth, d.bottom);
        pDC->LineTo(d.right, d.bottom);
        pDC->SelectObject(old);
    }
    if (m_nViewMode == kViewModePanel && pDC && m_panelRecords.m_hWnd) {
        RECT records{};
        m_panelRecords.GetWindowRect(&records);
        ScreenToClient(&records);
        const ViewRect d = g.DisplayArea();
        DrawSplitterGrip(pDC, CRect(records.left - kSplitterStripWidth, d.top, records.left + 2, d.bottom));
    }
    if (m_nViewMode == kViewModePanel) FitPanelColumns();
}

void CZorvikanDesktopView::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    // The tree draws itself.
    if (nIDCtl == IDC_CATEGORY_TREE) return;
    CView::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

void CZorvikanDesktopView::OnFind()
{
    if (CMainFrame* frame = Frame())
        if (frame->GetDialogToolbar().m_edSearch.m_hWnd) frame->GetDialogToolbar().m_edSearch.SetFocus();
}

void CZorvikanDesktopView::OnFilePrint()
{
    if (m_nViewMode != kViewModeList) {
        AfxMessageBox("Printing is available only in \"List View\".", MB_OK);
        return;
    }
    // Print Direct goes to the default printer without the print dialog.
    const MSG* msg = GetCurrentMessage();
    const bool direct = msg && msg->message == WM_COMMAND && LOWORD(msg->wParam) == ID_FILE_PRINT_DIRECT;
    RunPrintJob(direct ? TRUE : FALSE);
}

void CZorvikanDesktopView::OnFilePrintPreview()
{
    if (m_nViewMode != kViewModeList) {
        AfxMessageBox("Print preview is available only in \"List View\".", MB_OK);
        return;
    }
    // Undone by the next drawing of the view, when the preview has closed.
    m_pluginLink.SetBusy(1);
    if (CMainFrame* frame = Frame()) frame->GetDialogToolbar().DisableBar();
    s_bPrintPreview = true;
    // Without a printer nothing opens, and the next drawing undoes them now.
    if (!DoPrintPreview()) Invalidate(FALSE);
}

void CZorvikanDesktopView::OnUpdateAlwaysEnabled(CCmdUI*) {}
void CZorvikanDesktopView::OnSetFocus(CWnd*) {}
void CZorvikanDesktopView::OnRButtonDown(UINT nFlags, CPoint point) { CView::OnRButtonDown(nFlags, point); }
void CZorvikanDesktopView::OnControlNotifyNothing(UINT, NMHDR*, LRESULT* pResult) { *pResult = 0; }

namespace {

struct ToolButtonFace {
    UINT id;
    const char* tip;
    UINT normal, pressed, disabled;
};

// In the view's order; the eleventh, New Type, is shown in panel mode only.
const ToolButtonFace kToolButtons[11] = {
    {ID_SHOW_DETAILS, "Show / Hide Details", IDB_SHOW_DETAILS, IDB_SHOW_DETAILS_DOWN, 0},
    {ID_DUPLICATE_ITEM, "Duplicate Item", IDB_DUPLICATE, IDB_DUPLICATE_DOWN, 0},
    {ID_NEW_ITEM, "New Item", IDB_NEW_ITEM, IDB_NEW_ITEM_DOWN, 0},
    {ID_EDIT_ITEM, "Edit Item", IDB_EDIT_ITEM, IDB_EDIT_ITEM_DOWN, 0},
    {ID_DELETE_ITEM, "Delete Item", IDB_DELETE_ITEM, IDB_DELETE_ITEM_DOWN, 0},
    {ID_TOGGLE_MASK, "Mask", IDB_MASK, IDB_MASK_DOWN, 0},
    {ID_EMAIL_ITEMS, "Email", IDB_EMAIL, IDB_EMAIL_DOWN, 0},
    {ID_AUTO_FILL, "Auto-Fill", IDB_AUTO_FILL, IDB_AUTO_FILL_DOWN, IDB_AUTO_FILL_DISABLED},
    {ID_PRINT_RECORD, "Print Record", IDB_PRINT_RECORD, IDB_PRINT_RECORD_DOWN, IDB_PRINT_RECORD_DISABLED},
    {ID_ADD_ATTACHMENT, "Add Attachment", IDB_ADD_ATTACHMENT, IDB_ADD_ATTACHMENT_DOWN, IDB_ADD_ATTACHMENT_DISABLED},
    {ID_NEW_TYPE, "New Type", IDB_NEW_TYPE, IDB_NEW_TYPE_DOWN, 0},
};

}  // namespace

CBitmapButton* CZorvikanDesktopView::GetToolButton(UINT id)
{
    for (int i = 0; i < 11; ++i)
        if (kToolButtons[i].id == id) return &m_toolButtons[i];
    return nullptr;
}

void CZorvikanDesktopView::CreateToolButtons()
{
    for (int i = 0; i < 11; ++i) {
        const ToolButtonFace& face = kToolButtons[i];
        const DWORD visible = face.id == ID_NEW_TYPE ? 0 : WS_VISIBLE;
        m_toolButtons[i].Create(face.tip, WS_CHILD | visible | BS_OWNERDRAW, CRect(0, 0, 28, 24), this, face.id);
        m_toolButtons[i].LoadBitmaps(face.normal, face.pressed, 0, face.disabled);
    }
    PlaceStripButtons();
    GetToolButton(ID_AUTO_FILL)->EnableWindow(FALSE);
}

void CZorvikanDesktopView::CreateTooltips()
{
    if (m_viewTip.Create(this)) {
        for (int i = 0; i < 11; ++i) m_viewTip.AddTool(&m_toolButtons[i], kToolButtons[i].tip);
        m_viewTip.Activate(TRUE);
    }
    CMainFrame* frame = Frame();
    if (!frame || !frame->GetDialogToolbar().m_hWnd) return;
    CDialogToolbar& bar = frame->GetDialogToolbar();
    if (!m_frameTip.Create(&bar)) return;
    const std::pair<CWnd*, const char*> tools[] = {{&bar.m_btnListView, "List View"},
                                                   {&bar.m_btnTreeView, "Tree View"},
                                                   {&bar.m_btnPanelView, "Panel View"},
                                                   {&bar.m_btnOptions, "Options"},
                                                   {&bar.m_btnLock, "Lock"}};
    for (const auto& tool : tools)
        if (tool.first->m_hWnd) m_frameTip.AddTool(tool.first, tool.second);
    m_frameTip.Activate(TRUE);
}

void CZorvikanDesktopView::SetUpFonts()
{
    CFont* current = m_recordList.GetFont();
    LOGFONTA lf{};
    if (current && current->m_hObject)
        current->GetLogFont(&lf);
    else
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lstrcpynA(lf.lfFaceName, IsWindowsXP() ? "Arial" : "Calibri", LF_FACESIZE);
    // Heights are negative: above -15 is a smaller font.
    if (lf.lfHeight > -15) lf.lfHeight = -15;
    m_controlFont.DeleteObject();
    m_controlFont.CreateFontIndirect(&lf);
    m_listLogFont = lf;
    if (m_viewState.hasFont) std::memcpy(&m_listLogFont, m_viewState.font, sizeof(LOGFONTA));
    BuildFonts();
    m_recordList.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_listFont, TRUE);
}
