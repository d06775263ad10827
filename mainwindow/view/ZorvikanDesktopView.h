#pragma once
// CZorvikanDesktopView: the main view of the document template. It hands
// itself to the main frame when it is built, opens the current user's data
// on its first update, answers the change notices the frame passes on, keeps
// the auto-lock countdown and saves its state when its window goes. It owns
// the link with the browser plug-in from its construction to its end.
//
// One class in many files, all in mainwindow/view/. This header holds the
// members; ZorvikanDesktopView.cpp the one message map, construction, the
// first update and the end. Handlers go into the file of their concern
// (those marked * exist; make the others when their code comes):
//   ViewLayout.cpp          sizes, panes and splitters, fonts, tool buttons,
//                           background and the mouse on the view itself
//   ViewRecordList.cpp      the record list: columns, sorting, header,
//                           selection, keys, cut, copy and paste
//   ViewModes.cpp           list, tree and panel modes: switching, filling,
//                           the selected record, reload and refresh
//   ViewFilters.cpp         type and category combos, their contents and
//                           counts, details and unmask toggles, dropped files
//   ViewRecordCommands.cpp  new, edit, delete, duplicate, customise,
//                           attachments; a web login becoming a new record
//   ViewMoveRecords.cpp     move to type or category, the record popup menu,
//                           drag and drop in the panel
// * ViewChangeNotices.cpp   notices from outside; the view's side of records
//                           added, updated or removed
//   ViewUserCommands.cpp    password, users, options, database sync, reset
//   ViewPrinting.cpp        print and print preview
//   ViewCopyCommands.cpp    copy category, fields and note
// * ViewTrayCommands.cpp    the tray menu's commands and the event viewer
// * ViewLocking.cpp         auto-lock, lock and unlock, clipboard clearing
//   ViewDuplicates.cpp      delete duplicates
//   ViewSearch.cpp          search box, recent searches, panel record list
//   ViewTools.cpp           tool commands and export support
//   ViewUpkeep.cpp          command updates of the modes, icon image list,
//                           splitter limits, pane focus
//   ViewAutoFill.cpp        auto-fill through the browser
//   ViewSyncMessages.cpp    the Wi-Fi sync server's messages
// * ViewExchange.cpp        import, export and backup commands
// * ViewPluginLink.cpp      messages from the plug-in link's worker
// Logic that needs no window goes into plain classes beside the view, tested
// on the host: mainwindow/locking/ (lock state, change-notice gate) and
// mainwindow/records/ (what follows every record change, written once).
// Ids of messages, commands and timers: mainwindow/MainWindowIds.h.
#include "app/frame/MainViewBase.h"
#include "app/pluginlink/PluginLink.h"
#include "core/store/DatabaseObj.h"
#include "mainwindow/locking/ViewLockState.h"

class CUserItem;
class CZorvikanDesktopApp;

class CZorvikanDesktopView : public CMainViewBase {
    DECLARE_DYNCREATE(CZorvikanDesktopView)
public:
    CZorvikanDesktopView() = default;
    ~CZorvikanDesktopView() override = default;

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    // ViewLocking.cpp
    void RestartAutoLockTimer() override;
    // ViewChangeNotices.cpp
    LRESULT OnDatabaseNotify(UINT operation, UINT itemClass, LPARAM itemId) override;
    // ViewExchange.cpp
    void ImportFileAsk(const CString& path, BOOL ask) override;

    // While the program is locked a change notice only marks a reload as due.
    void SetLocked(bool locked) { m_lockState.SetLocked(locked); }
    bool IsLocked() const { return m_lockState.IsLocked(); }
    bool IsReloadDue() const { return m_lockState.IsReloadDue(); }
    // Set while an editing dialog of the view is open.
    void SetEditingDialogOpen(bool open) { m_lockState.SetEditingDialogOpen(open); }
    bool IsEditingDialogOpen() const { return m_lockState.IsEditingDialogOpen(); }

protected:
    // ZorvikanDesktopView.cpp
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnDestroy();
    // Opens the current user's database (a new one when there is none).
    void OpenUserData();
    // ViewPluginLink.cpp
    LRESULT OnBringToFront(WPARAM wParam, LPARAM lParam);
    // ViewTrayCommands.cpp
    void OnTrayOpen();

    // The application object and its current user (null without them).
    static CZorvikanDesktopApp* App();
    static CUserItem* CurrentUser();

public:
    CDatabaseObj& GetDatabase() { return m_database; }
    // The result of the last opening of the database (0: opened).
    int GetOpenResult() const { return m_nOpenResult; }
    // The link with the browser plug-in: its busy flag is set while a modal
    // dialog of the view is open; it signals changes to the plug-in.
    CPluginLink& GetPluginLink() { return m_pluginLink; }

protected:
    // The one database object of the program's windows.
    CDatabaseObj m_database;
    int m_nOpenResult = -1;
    // Built with the view, so the plug-in sees the program running from then
    // on; closed (its worker joined) when the view is destroyed.
    CPluginLink m_pluginLink{this};

    CViewLockState m_lockState;

    DECLARE_MESSAGE_MAP()
};
