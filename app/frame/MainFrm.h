#pragma once
// CMainFrame: the program's top-level window, the frame of the document
// template. It holds the status bar and the main menu, receives what comes
// from outside the program's own windows (the command line of a second
// start, change notices, the tray icon), saves the window placement when it
// is destroyed, hides itself in the notification area when so configured and
// hands every menu selection to the main view as user activity.
#include <windows.h>
#include <shellapi.h>

#include "framework/ControlBar.h"
#include "framework/FrameWnd.h"
#include "toolkit/menus/BCMenu.h"
#include "toolkit/toolbar/DialogToolbar.h"

class CMainViewBase;
class CUserItem;
class CUserList;

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The first definite show command of the process is skipped: the
    // start-up shows the window itself once the placement is restored.
    void ActivateFrame(int nCmdShow = -1) override;

    // The main menu (resource 128), owner-drawn with the images of tool bar
    // 337, detached for the caller; the frame keeps its item records.
    HMENU BuildMainMenu();
    // Puts the menu on the frame in place of the template's menu.
    void InstallMainMenu(HMENU hMenu);

    // The main view hands itself over when it is built.
    void SetMainView(CMainViewBase* pView) { m_pMainView = pView; }
    CMainViewBase* GetMainView() const { return m_pMainView; }
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CDialogToolbar& GetDialogToolbar() { return m_wndDialogToolbar; }
    // The owner-drawn main menu, which keeps its items' texts itself.
    BCMenu& GetMainMenu() { return m_menu; }
    void SetMinimizeToTray(int minimize) { m_bMinimizeToTray = minimize; }
    int GetMinimizeToTray() const { return m_bMinimizeToTray; }

protected:
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnDestroy();
    void OnHelpUserGuide();
    void OnHelpFaq();
    void OnHelpSupport();
    void OnHelpDownload();
    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    LRESULT OnDatabaseNotify(WPARAM wParam, LPARAM lParam);
    void OnSysCommand(UINT nID, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    // The tool bar and its search box ask for the view this way.
    LRESULT OnGetMainView(WPARAM wParam, LPARAM lParam);
    void CreateDialogToolbar();

    void AddTrayIcon();
    void RemoveTrayIcon();

    CMainViewBase* m_pMainView = nullptr;
    CDialogToolbar m_wndDialogToolbar;
    CStatusBar m_wndStatusBar;
    BCMenu m_menu;
    HICON m_hTrayIcon = nullptr;
    NOTIFYICONDATAA m_trayData{};
    int m_bMinimizeToTray = 0;

    DECLARE_MESSAGE_MAP()
};

// Ends the process at once with exit code 1, without saving or clean-up.
void ExitApplication();

// Fills the menu with one item per user (command ids from firstId on, the
// current user checked; the first item when it is not in the list).
void FillUserMenu(CUserList& users, HMENU hMenu, UINT firstId, CUserItem* currentUser);
// Fills a combo box with the users' display names, each item's data its user;
// the current user selected (nothing when it is not in the list).
void FillUserCombo(CUserList& users, CWnd& comboBox, CUserItem* currentUser);
