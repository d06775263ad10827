#pragma once
// CZorvikanDesktopView: the main view of the document template. It hands
// itself to the main frame when it is built, opens the current user's data
// on its first update, answers the change notices the frame passes on, keeps
// the auto-lock countdown and saves its state when its window goes. It owns
// the link with the browser plug-in from its construction to its end.
//
// One class in many files, all in mainwindow/view/. This header holds the
// members; ZorvikanDesktopView.cpp the one message map, construction, the
// first update and the end. Handlers go into the file of their concern:
//   ViewLayout.cpp          sizes, panes and splitters, fonts and the row
//                           colour, tool buttons, background and the mouse
//                           on the view itself
//   ViewRecordList.cpp      the record list: columns, sorting, header,
//                           selection, keys, cut, copy and paste
//   ViewModes.cpp           list, tree and panel modes: switching, filling,
//                           the selected and the shown records, reload and
//                           refresh
//   ViewFilters.cpp         type and category combos, their contents and
//                           counts, details and unmask toggles, new types,
//                           dropped files
//   ViewRecordCommands.cpp  new, edit, delete, duplicate, customise,
//                           attachments; a web login becoming a new record
//   ViewMoveRecords.cpp     move to type or category, the record popup menu,
//                           drag and drop in the panel
//   ViewChangeNotices.cpp   notices from outside; the view's side of records
//                           added, updated or removed
//   ViewUserCommands.cpp    password, users, options, database sync, reset
//   ViewPrinting.cpp        print and print preview
//   ViewCopyCommands.cpp    copy category, fields and note
//   ViewTrayCommands.cpp    the tray menu's commands and the event viewer
//   ViewLocking.cpp         auto-lock, lock and unlock, clipboard clearing
//   ViewDuplicates.cpp      delete duplicates, refilling views and combos
//   ViewItemEditors.cpp     the type and category editors
//   ViewDetails.cpp         drawing the details pane, its links, the
//                           attachment download
//   ViewSearch.cpp          search box, recent searches, panel record list
//   ViewTools.cpp           tool commands, e-mail and export support
//   ViewUpkeep.cpp          command updates of the modes, icon image list,
//                           splitter limits, pane focus
//   ViewAutoFill.cpp        auto-fill through the browser
//   ViewSyncMessages.cpp    the Wi-Fi sync server's messages and the view's
//                           registration with the server
//   ViewExchange.cpp        import, export and backup commands
//   ViewPluginLink.cpp      messages from the plug-in link's worker
//   ViewBackup.cpp          backup and restore commands, the backup at exit
//   ItemCombo.cpp           the record editor's type and category combos
//   ItemEditorSeam.cpp      the editors as the view opens them, replaceable
//                           by tests
// Logic that needs no window goes into plain classes beside the view, tested
// on the host: mainwindow/locking/ (lock state, change-notice gate),
// mainwindow/records/ (what follows every record change, written once),
// mainwindow/models/ (which records the views show, their columns, order and
// grouping, the filter combos' entries, the view state) and
// mainwindow/data/ (opening the database, held web logins, dropped files).
// Ids of messages, commands and timers: mainwindow/MainWindowIds.h.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/frame/MainViewBase.h"
#include "app/pluginlink/PluginLink.h"
#include "core/items/TypeItem.h"
#include "core/crypto/BlowfishKey.h"
#include "core/store/DatabaseObj.h"
#include "framework/CArray.h"
#include "mainwindow/controls/RecordListCtrl.h"
#include "mainwindow/data/WebLoginHandOver.h"
#include "mainwindow/details/DetailsPainter.h"
#include "mainwindow/details/ZorvikanDetailView.h"
#include "mainwindow/locking/ProgramClipboard.h"
#include "mainwindow/icons/ExternalIcons.h"
#include "mainwindow/icons/IconList.h"
#include "mainwindow/locking/ViewLockState.h"
#include "mainwindow/models/ViewGeometry.h"
#include "mainwindow/models/RecordFilter.h"
#include "mainwindow/models/FilterComboModel.h"
#include "mainwindow/models/ViewState.h"
#include "mainwindow/printing/PrintLayout.h"
#include "framework/BitmapButton.h"
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "toolkit/layout/SplitterBar.h"
#include "toolkit/lists/ListCtrlEx.h"

class BCMenu;
class CBaseItem;
class CEditWithButton;
class CComboBox;
class CRecord;
class CRecordChangeSequence;
class CMainFrame;
class CTypeItem;
class CUserItem;
class CZorvikanDesktopApp;
class ISyncViewRegistry;

class CZorvikanDesktopView : public CMainViewBase {
    DECLARE_DYNCREATE(CZorvikanDesktopView)
public:
    CZorvikanDesktopView();
    ~CZorvikanDesktopView() override;

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

    // ---- ViewLocking.cpp and ViewUserCommands.cpp --------------------------
    // The lock: saves, empties the views, drops the key and asks for the
    // password again (autoLock: the countdown's, which reopens the database
    // after the unlock; else the Lock command's, which keeps the filters).
    void LockProgram(bool autoLock);
    // Whether the countdown runs now.
    bool IsAutoLockArmed() const { return m_nAutoLockTimer != 0; }
    CViewLockState& GetLockState() { return m_lockState; }
    // Presses OK on an open record editor ("Detail View").
    void CloseRecordEditor();
    // Empties the clipboard when it holds the program's own text.
    void ClearProgramClipboard();
    // Sets (or kills) the periodic clearing of the clipboard.
    void SetClipboardTimer(bool enabled, int minutes);
    bool IsClipboardTimerSet() const { return m_bClipboardTimer; }
    // The current user's "ClearClipboardOnTimer": enabled flag and minutes.
    std::pair<bool, int> GetClearClipboardTimerSetting();
    // Applies the timer at once and stores both clipboard settings.
    void SetClearClipboardOptions(bool onExit, bool timerOn, int minutes);
    // Makes the user current when its folder can be reached and its password
    // is given; until then nothing of the current user's state changes.
    void SwitchToUser(CUserItem* user);

protected:
    void OnTimer(UINT_PTR nIDEvent);
    void OnLock();
    LRESULT OnDeferredLock(WPARAM wParam, LPARAM lParam);
    void OnClearClipboard();
    void OnUpdateClearClipboard(CCmdUI* pCmdUI);
    void OnSetPassword();
    void OnSwitchUser(UINT nID);
    void OnUpdateUserMenu(CCmdUI* pCmdUI);
    void OnUpdateSyncAllowed(CCmdUI* pCmdUI);
    // The user's custom folder cannot be reached: 1087 try again, 3 another
    // folder was chosen and stored, 2 give up.
    int AskUnavailableUserFolder(CUserItem* user, const CString& folder);
    // Any dialog of this thread open, the record editor apart; and the
    // record editor itself.
    bool IsOtherDialogOpen() const;
    static HWND FindRecordEditor();
    UINT_PTR m_nAutoLockTimer = 0;
    bool m_bClipboardTimer = false;
    CProgramClipboard m_clipboard;

protected:
    // ZorvikanDesktopView.cpp
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnDestroy();
    // Opens the current user's database (a new one when there is none).
    // Every open and reopen goes through here: a load that fails is shown to
    // the user and leaves the database read-only, so it is never saved.
    // clearFirst empties the object before (a reopen). The load's result.
    int OpenUserData(bool clearFirst);
    // ViewPluginLink.cpp
    LRESULT OnBringToFront(WPARAM wParam, LPARAM lParam);
    // A web login from the plug-in: held until the first update has opened
    // the database, then handed on.
    LRESULT OnPluginAddLogin(WPARAM wParam, LPARAM lParam);
    // The database is open: hand on the web logins held meanwhile.
    void ReleaseHeldWebLogins();
    // Runs the new-record road for a web login with the busy flag set.
    void AddWebLogin(const CString& title, const CString& address);
    // ViewSyncMessages.cpp
    // The view's window and database with the Wi-Fi sync server, from the
    // first update until the window goes (at the latest the destructor).
    void RegisterWithSync();
    void UnregisterFromSync();
    // The sync messages (app/AppIds.h). Each answers 1.
    // A session starts: an open record editor is closed with OK, so its
    // edits are saved before the handheld's data is merged.
    LRESULT OnSyncCloseDetailDialog(WPARAM wParam, LPARAM lParam);
    // The session is about to rewrite the user's custom icons.
    LRESULT OnSyncClearIcons(WPARAM wParam, LPARAM lParam);
    // wParam the user whose database is reopened and shown again.
    LRESULT OnSyncReloadDatabase(WPARAM wParam, LPARAM lParam);
    // wParam the user whose icons and histories are read again.
    LRESULT OnSyncReloadIcons(WPARAM wParam, LPARAM lParam);
    // A mode chosen for one session ends with it.
    LRESULT OnSyncSessionClosed(WPARAM wParam, LPARAM lParam);
    LRESULT OnSyncStatusIgnored(WPARAM wParam, LPARAM lParam);
    // ViewFilters.cpp
    // Files dropped on the view: "csv", "txt" and "zkv" files are imported,
    // any other is refused with a message; the drop is released.
    void OnDropFiles(HDROP hDropInfo);
    // ViewTrayCommands.cpp
    void OnTrayOpen();
    // ViewUserCommands.cpp
    void OnOptions();
    void OnEditUsers();
    void OnDatabaseSync();
    void OnResetDatabase();
    // The file syncs flagged for the start-up (onExit false) or the end.
    void RunFileSyncs(bool onExit);
    friend class CViewOptionsHost;

    // ViewLayout.cpp
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    LRESULT OnListExSelect(WPARAM wParam, LPARAM lParam);

    // ViewModes.cpp
    void OnListView();
    void OnTreeView();
    void OnPanelView();
    void OnRecordsClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRecordsDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTreeDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnPanelRecordsDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnPanelTypesDblClk(NMHDR* pNMHDR, LRESULT* pResult);

    // ViewRecordList.cpp
    void OnColumnChooser();
    void OnPageUp();
    void OnPageDown();
    void OnSelectAll();
    void OnEditCut();
    void OnEditCopy();
    void OnUpdateEditCutCopy(CCmdUI* pCmdUI);
    void OnEditPaste();
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnRecordListItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRecordListRClick(NMHDR* pNMHDR, LRESULT* pResult);

    // ViewRecordCommands.cpp
    void OnNewItem();
    void OnEditItem();
    void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
    void OnDeleteItem();
    void OnUpdateDeleteItem(CCmdUI* pCmdUI);
    void OnDuplicateItem();
    void OnCustomizeFields();
    void OnAttachment();
    void OnUpdateAttachment(CCmdUI* pCmdUI);

    // ViewCopyCommands.cpp
    void OnCopyCategory();
    void OnUpdateCopyCategory(CCmdUI* pCmdUI);
    void OnCopyField(UINT nID);
    void OnUpdateCopyField(CCmdUI* pCmdUI);
    void OnCopyNote();
    void OnUpdateCopyNote(CCmdUI* pCmdUI);
    // ViewTrayCommands.cpp
    void OnEventViewer();
    // ViewDuplicates.cpp
    void OnDeleteDuplicates();

    // ViewFilters.cpp (handlers)
    void OnCategoryComboChange();
    void OnTypeComboChange();
    void OnShowDetails();
    void OnUpdateShowDetails(CCmdUI* pCmdUI);
    void OnToggleMask();
    void OnUpdateToggleMask(CCmdUI* pCmdUI);
    void OnEditTypes();
    void OnEditCategories();
    void OnNewType();

    // ViewBackup.cpp
    void OnBackup();
    void OnRestoreZkvFolder();
    void OnRestoreZkvFile();
    // Restores the database from the exchange file at path after the user
    // confirmed; reloads the view when it was restored.
    void RestoreFromFile(const CString& path);
    // The password of a protected file to restore that the master key does
    // not open; null when there is none to give.
    BlowfishKeyPtr AskRestorePassword(const std::string& text);
    // The automatic backup when the program ends (the destructor).
    void BackupOnExit();

    // The application object and its current user (null without them).
    static CZorvikanDesktopApp* App();
    static CUserItem* CurrentUser();

public:
    // ---- Operations of the record views, shared by the view's files ----------
    // ViewModes.cpp
    // The selected record of the current mode, or null (list mode: only when
    // exactly one row is selected).
    CRecord* GetSelectedRecord();
    void FillTree(CRecord* select);
    void FillPanelTypes(CBaseItem* select);
    void FillPanelRecords(CRecord* select);
    // The records the current mode shows, top to bottom: the list's rows;
    // the tree's records type node by type node; in panel mode each type
    // row's records in turn, as the description list shows them.
    std::vector<CRecord*> GetShownRecords();
    void ReloadAndRefresh(CUserItem* user, bool reopen);
    // The current mode's records filled again under the current filters.
    void FillCurrentMode();
    // The record selected in the current mode when it is shown there; the
    // details follow the selection.
    void SelectShownRecord(CRecord* record);
    // Shows the record (or nothing) in the details area and updates the
    // view's buttons for it.
    void ShowDetails(CRecord* record);
    void UpdateRecordButtons(CRecord* record);
    int GetViewMode() const { return m_nViewMode; }
    // ViewLayout.cpp
    CRect GetListRect() const;
    CRect GetDetailsRect() const;
    // A line one pixel outside the display area, all round.
    void DrawPaneBorder(CDC* pDC);
    // The splitter strip at the rectangle's left edge (11 pixels, the
    // button face) with its grip of short lines.
    void DrawSplitterGrip(CDC* pDC, const CRect& rect);
    void SetMaskButtonText(const CString& text);
    void FillSmartListEntries();
    // ViewRecordList.cpp
    // The shown records as the rows, already in the current sort order.
    void FillRecordList();
    int InsertRecordSorted(CRecord* record);
    // Sorts the record list by the current sort key.
    void SortRecordList();
    void LoadListColumns(bool reload);
    void SaveListColumns();
    // ViewRecordCommands.cpp
    // The record editor on a new record with the presets (title in field 1,
    // address in field 4); KEY_ALL as type makes a web login.
    void RunNewItemDialog(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize],
                          const CString& title, const CString& address);
    void EditRecord(CRecord* record);
    // The editor on a copy of the record; the views refreshed afterwards.
    void DuplicateRecord(CRecord* source);
    // Custom labels and masking of the record, saved on OK.
    void CustomizeRecord(CRecord* record);
    // Deletes what is selected in the current mode, without asking.
    void DeleteSelectedRecords();
    // Deletes these records (tombstones stay in the list), then saves and
    // tells the others once.
    void DeleteRecords(const std::vector<CRecord*>& records);
    // What follows a change the view made: save, event log and smart lists,
    // change notices, plug-in signal. A failed save is reported. The save's
    // result.
    int CommitRecordChange(const CRecordChangeSequence& change);
    // The views' side of a record added, changed or removed.
    void ShowAddedRecord(CRecord* record, bool select);
    void ShowUpdatedRecord(CRecord* record);
    void ShowRemovedRecord(CRecord* record);
    // ViewCopyCommands.cpp
    // Field index (0-9) of a copy command; -1 for another id.
    static int CopyFieldOfCommand(UINT nID);
    // The field's real text (masking off) to the clipboard.
    void CopyField(int field);
    // Puts the text on the clipboard as the program's own; false when the
    // clipboard could not be written.
    bool CopyTextToClipboard(const CString& text);
    // Whether no text of the program's is on the clipboard.
    bool IsClipboardClean() const { return m_clipboard.IsClean(); }
    // ViewDetails.cpp
    // Draws the selected record into the details pane's client rectangle
    // scrolled by scrollY; the height of what was laid out.
    int DrawDetailsPane(HDC dc, const RECT& client, int scrollY);
    // The address of the link under the point of the pane, when it may be
    // opened.
    const CString* LinkAtPane(POINT point) const;
    // The record's attachment opened or written into a folder.
    void SaveAttachment(CRecord* record);
    // ViewItemEditors.cpp
    // The type (or category) list editor over the database, as a child of
    // parent (the view when null); every change saved and told as it is made.
    void RunItemEditor(bool types, CWnd* parent);
    // The type definition dialog over the type; the caller adds a new type
    // and saves.
    INT_PTR RunDefineTypeDialog(CTypeItem& type, bool isNew);
    // ViewDuplicates.cpp
    // Refills the current mode and both combos.
    void RefreshViewsAndCombos();
    // ViewChangeNotices.cpp
    // A notice from outside applied to the database object and the views.
    void ApplyItemAdded(UINT itemClass, int32_t id);
    void ApplyItemModified(UINT itemClass, int32_t id);
    void ApplyItemDeleted(UINT itemClass, int32_t id);
    // The event log and smart lists, then the plug-in, told of a record
    // changed elsewhere.
    void TellRecordChanged(int operation, CRecord* record);
    // Masked fields are shown in clear.
    bool IsRevealing() const { return m_bReveal; }
    // The record list's column set of the chosen type (or of all types).
    CShowColumns& GetListColumns() { return m_listColumns; }
    // Puts the selected records on the clipboard as exchange text: 0, or -1
    // when the clipboard was left as it was.
    int CopySelectionToClipboard();
    // The clipboard holds the program's exchange text.
    bool IsProgramTextOnClipboard();
    // ViewFilters.cpp
    void RefillTypeCombo();
    void RefillCategoryCombo();
    // The chosen type: list mode the type combo's, tree mode the caret's
    // type node's, panel mode the chosen type row's.
    void GetTypeFilter(uint8_t key[kUniqueKeySize]);
    // The type combo's choice, which filters the record list.
    void GetListTypeFilter(uint8_t key[kUniqueKeySize]);
    void GetCategoryFilter(uint8_t key[kUniqueKeySize]);
    void SelectTypeInCombo(const uint8_t key[kUniqueKeySize]);
    void SelectCategoryInCombo(const uint8_t key[kUniqueKeySize]);
    // ViewUserCommands.cpp
    // Start with Windows: the program's path under the user's Run key.
    void SetRunAtStartup(bool run);
    bool IsRunAtStartup();
    // Stores "MinimizeToSystemTray" for the current user.
    void SetMinimizeToTray(bool minimize);
    // The program file's full path; empty when the system does not give it.
    static CString GetModulePath();

    CRecordListCtrl& GetRecordList() { return m_recordList; }
    CDatabaseObj& GetDatabase() { return m_database; }
    // The result of the last opening of the database (0: opened).
    int GetOpenResult() const { return m_nOpenResult; }
    // Web logins handed over so far and waiting for the database.
    bool IsWebLoginHandOverReady() const { return m_webLogins.IsReady(); }
    int GetWebLoginsHandedOn() const { return m_nWebLoginsHandedOn; }
    const CViewState& GetViewState() const { return m_viewState; }
    // The link with the browser plug-in: its busy flag is set while a modal
    // dialog of the view is open; it signals changes to the plug-in.
    CPluginLink& GetPluginLink() { return m_pluginLink; }

    // ---- ZorvikanDesktopView.cpp, ViewModes.cpp, ViewLayout.cpp ----------------
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Tooltips see the mouse; Tab moves between panes, Esc ends a drag.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The main window's caption: the program's name and the user's.
    void UpdateCaption(CUserItem* user);
    // The search box's text with the user's search options.
    RecordSearch GetViewSearch();
    // The tool button of a command id (of the view's table), or null.
    CBitmapButton* GetToolButton(UINT id);
    CTreeCtrlEx& GetTree() { return m_tree; }
    CListCtrlEx& GetPanelTypes() { return m_panelTypes; }
    CListCtrlEx& GetPanelRecords() { return m_panelRecords; }
    CListCtrlEx& GetPanelSmartLists() { return m_panelSmartLists; }
    CWnd& GetDetailsPane() { return m_detailsPane; }
    CImageList& GetSmallIcons() { return m_smallIcons; }
    const LOGFONTA& GetListFontDescription() const { return m_listLogFont; }
    int GetHeadingHeight() const { return m_nHeadingHeight; }
    int GetLineHeight() const { return m_nLineHeight; }
    COLORREF GetRowColor() const { return (COLORREF)m_viewState.rowColor; }
    bool IsShowingDetails() const { return m_viewState.showingDetails; }
    // The view's geometry now.
    ViewGeometry GetGeometry() const;
    // The fills of the panel's description list: a type's records (index
    // -1) or one of the three smart lists (0, 1, 2).
    void FillPanelRecordList(CRecord* select, int smartList);
    void RefreshSmartListEntries() { FillSmartListEntries(); }
    void ShowSmartList(int row);
    // The records of a smart list (0 added, 1 viewed, 2 most viewed).
    void GetSmartList(int row, std::vector<CRecord*>& records);
    void OnPanelRecordSelected();
    // The font and colour choices of the preferences.
    void ChooseListFont();
    void ChooseRowColour();
    // The record under the web-login type that is selected, or null.
    CRecord* GetSelectedWebLogin();
    // ---- ViewFilters.cpp: single entries of the filter combos, the toggles --
    // Insert in name order with the record count; the entry's index (-1
    // without the combo).
    int InsertTypeIntoCombo(CBaseItem* type);
    int InsertCategoryIntoCombo(CBaseItem* category);
    // Re-place an entry whose name or records changed, keeping the entry
    // that was selected.
    void ReplaceTypeInCombo(CBaseItem* type);
    void ReplaceCategoryInCombo(CBaseItem* category);
    // Remove an entry; when it was the selected one the views follow "All".
    void RemoveTypeFromCombo(CBaseItem* type);
    void RemoveCategoryFromCombo(CBaseItem* category);

    // ---- ViewExchange.cpp: import and export --------------------------------
    // The File > Import flow: asks for the file (format 5: the folder) and
    // imports it, shows what was imported and reloads the view.
    void ImportWithDialog(int format, UINT stringId);
    // Reads the file, settles its format and password (restore: empties the
    // database first) and imports it. True when the text was imported or the
    // user cancelled the password; false after a message. What the file's
    // import left out is appended to leftOut under the file's name.
    bool ImportFile(int format, const CString& path, std::vector<CRecord*>& imported, CString& leftOut, bool restore);
    // Adds what the text holds to the database, then saves once, posts the
    // notices, refills the combos and signals the plug-in. cipher: null for
    // plain text. Returns the lines left out (empty: none). Work past the
    // progress delay shows the progress window; a running auto-lock
    // countdown starts again at the end.
    CString ImportRecords(int format, const std::string& text, const BlowfishKeyPtr& cipher, const CString& path,
                          std::vector<CRecord*>& imported);
    // The progress delay (1 s; tests shorten it).
    void SetBusyProgressDelayMs(DWORD delayMs) { m_nBusyProgressDelayMs = delayMs; }
    // The File > Export flow: scope, target and password, the export and its
    // message.
    void ExportWithDialog(int format, UINT filterId);

protected:
    // The one database object of the program's windows.
    CDatabaseObj m_database;
    int m_nOpenResult = -1;
    int m_nWebLoginsHandedOn = 0;
    // Built with the view, so the plug-in sees the program running from then
    // on; closed (its worker joined) when the view is destroyed.
    CPluginLink m_pluginLink{this};

    CViewLockState m_lockState;
    // Sort key, details pane, filters, mode, row colour and font of the user.
    CViewState m_viewState;
    // The sync server the view registered with, and the window it gave.
    ISyncViewRegistry* m_pSyncRegistry = nullptr;
    HWND m_hSyncWindow = nullptr;
    // Web logins that arrived before the database was open.
    CWebLoginHandOver m_webLogins;

    // 0 list, 1 tree, 2 panel.
    int m_nViewMode = kViewModeList;
    // Masked fields shown in clear.
    bool m_bReveal = false;
    // The list mode's display; exists from the first update to the end.
    CRecordListCtrl m_recordList;
    // ViewDetails.cpp members
    CDetailsPainter m_detailsPainter;
    // ViewChangeNotices.cpp members
    // Items a deletion notice took out of their list, kept until the view
    // ends: an open editor or a view may still point to them.
    std::vector<std::unique_ptr<CBaseItem>> m_detachedItems;

    // ---- ZorvikanDesktopView.cpp members -------------------------------------
    CMainFrame* Frame() const;
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnFind();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnNothing() {}
    void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
    void OnSetFocus(CWnd* pOldWnd);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnControlNotifyNothing(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
    void CreateToolButtons();
    void CreateTooltips();
    // Takes the record list's font as the description, raises it to at least
    // 15 pixels in the program's face, makes the control font, then lays a
    // stored font over it.
    void SetUpFonts();
    // Set from the start of a print preview until the view is next drawn.
    static bool s_bPrintPreview;

    // ---- ViewLayout.cpp members -----------------------------------------------
    // Every view font from the description: list, link, bold, bold link.
    void BuildFonts();
    void PlaceStripButtons();
    void LayoutPanel(const ViewGeometry& g);
    void FitPanelColumns();
    // In panel mode, whether x lies in the strip left of the description list.
    bool InPanelSplitterStrip(int x);
    // A finished panel splitter drag: the lists beside the line move to it.
    void ApplyPanelSplitter();
    // A finished splitter drag takes effect here (the child displays send it).
    LRESULT OnChildListMouseMove(WPARAM wParam, LPARAM lParam);
    CBitmapButton m_toolButtons[11];
    CToolTipCtrl m_viewTip;
    CToolTipCtrl m_frameTip;
    // The details pane: the selected record drawn, its links and copy buttons.
    CZorvikanDetailView m_detailsPane{*this};
    CSplitterBar m_detailsSplitter;
    CSplitterBar m_panelSplitter;
    // 0 none, 1 the details splitter, 2 the panel splitter was dragged.
    int m_nSplitterDrag = 0;
    LOGFONTA m_listLogFont{};
    CFont m_listFont;
    CFont m_boldFont;
    CFont m_linkFont;
    CFont m_boldLinkFont;
    CFont m_controlFont;
    int m_nHeadingHeight = 24;
    int m_nLineHeight = 0;
    CImageList m_smallIcons;
    // The panel's smart-list list shows all its rows.
    int m_nPanelSmartExpanded = 1;

    // ---- ViewModes.cpp members -------------------------------------------------
    void DestroyModeControls();
    void CreatePanelList(CListCtrlEx& list, UINT id, DWORD style, const CRect& rect, LPCSTR heading, int width,
                         bool icons);
    void ShowRecordAndReport(CRecord* record);
    // The frame's view buttons (the mode's disabled) and type combo.
    void SetFrameForMode(int mode);
    void StoreViewMode(int mode);
    void ShowDetailsPaneByFlag();
    // The panel type row of the item, or of the record's type; -1 when none.
    int FindPanelTypeRow(CBaseItem* select);
    // The records of a panel type row under the filters and the search, in
    // the description list's order.
    std::vector<CRecord*> PanelRowsOfType(int typeRow, const RecordSearch& search);
    static std::vector<CRecord*> PanelRowOrder(std::vector<CRecord*> records);
    CTreeCtrlEx m_tree;
    CListCtrlEx m_panelTypes;
    CListCtrlEx m_panelRecords;
    CListCtrlEx m_panelSmartLists;
    // Behind the panel's "Unfiled" row; made anew at every fill.
    std::unique_ptr<CTypeItem> m_panelUnfiled;
    bool m_bAutoSubmit = false;
    // Fields the search looks at: 1 field 1 only, -1 all.
    int m_nSearchColumns = 1;
    CStringArray m_recentSearches;

    // ViewRecordList.cpp members
    // The list's column set: from the chosen type, or for all types and
    // "Unfiled" from the user's preferences.
    CShowColumns m_listColumns{CShowColumns::kColumns};
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnHeaderItemClick(int item);
    void OnHeaderEndTrack(int item, int width);
    void OnHeaderDividerDblClick(int item);
    // All types or "Unfiled" chosen: the columns are the preferences'.
    bool IsTypeFilterAllOrUnfiled() const;
    // The chosen type when it exists (null for all types and "Unfiled").
    CTypeItem* GetChosenType();
    // The search box's text and the user's search options.
    RecordSearch GetRecordSearch();
    // The selected rows' records in row order (list mode), or the selected
    // record of the other modes.
    std::vector<CRecord*> GetSelectedRecords();
    // Adds the records of the clipboard's exchange text; those the type
    // filter shows join the list.
    void ImportClipboardText(const std::string& text);

    // ViewFilters.cpp members
    // The entries of the frame's type and category combos, kept in step
    // with them (the combos show their texts; the selection is the combo's).
    CFilterComboModel m_typeEntries{CFilterComboModel::kTypes};
    CFilterComboModel m_categoryEntries{CFilterComboModel::kCategories};
    // The frame's combos (null without the frame's tool bar).
    CComboBox* TypeCombo();
    CComboBox* CategoryCombo();
    // Refills the views of the current mode after a filter change.
    void RefillViewsForFilter();
    // Lays the panes out again after the details were shown or hidden.
    void LayOutForDetails();

    // ViewExchange.cpp members
    // The records an import added, in the confirmation dialog, with the
    // lines it left out; with no records, the lines left out in a message.
    void ShowImportedRecords(const std::vector<CRecord*>& imported, const CString& leftOut);
    // Added records the type filter shows join the list where one sorted
    // insert after another would put them, each selected (the others'
    // selection is the caller's), in one pass over the rows and without a
    // repaint or a selection notice per row; the selection's notice follows
    // as the rows' own would have left it.
    void ShowAddedRecordsSelected(const std::vector<CRecord*>& records);
    // Set while rows are selected in a batch: their notices wait.
    bool m_bBatchSelecting = false;
    // ImportRecords' work: the records added, listed, logged and saved; the
    // lines left out.
    CString AddImportedRecords(int format, const std::string& text, const BlowfishKeyPtr& cipher, const CString& path,
                               std::vector<CRecord*>& imported);
    // Work that lasts longer than this shows the progress window.
    DWORD m_nBusyProgressDelayMs = 1000;
    // The records of an export scope: 0 all, 1 the current view's, 2 the
    // selected ones.
    std::vector<const CRecord*> RecordsInScope(int scope);
    void OnImportZkvFolder();
    void OnImportZkv();
    void OnImportCsv();
    void OnImport1Password();
    void OnImportEWallet();
    void OnImportYaps();
    void OnImportCryptinfo();
    void OnImportMobileSafe();
    void OnImportTopSecret();
    void OnImportDatabase();
    void OnExportZkv3();
    void OnExportZkv4();
    void OnExportCsv();

    // ---- ViewAutoFill.cpp ---------------------------------------------------------
public:
    // The web login opened in a new browser window, its user name and
    // password typed into the page's login fields (even when empty) and,
    // with the user's Auto Submit, its login form submitted; "Autofill
    // failed" when that cannot be done. Any other record: nothing at all.
    void AutoFillRecord(CRecord* record);

protected:
    void OnAutoFill();
    // Disabled without a selected web login, and while a fill waits.
    void OnUpdateAutoFill(CCmdUI* pCmdUI);
    // ---- end of ViewAutoFill.cpp ----------------------------------------------------
    // ---- ViewTools.cpp ----------------------------------------------------------
public:
    // Whether a record of the export scope (0 all, 1 the current view, 2 the
    // selected ones) has an attachment; false for any other scope.
    bool HasAttachmentInScope(int scope);
    // Every record of the database that is not deleted yet reported as
    // deleted to the event log and the smart lists (before a restore
    // empties the database).
    void LogAllRecordsDeleted();
    // The update check: the web-update library from the program's folder,
    // else (interactive) the offer to install it, else the product's page.
    void CheckForUpdates(bool interactive);

protected:
    void OnEmailItems();
    void OnExportZkvFolder();
    void OnInstallToRemovable();
    void OnCheckForUpdates();
    void OnInstallBrowserPlugin();
    void OnUninstallBrowserPlugin();
    void OnUserGuide();
    // Registers or unregisters the browser plug-in and offers to (re)start
    // Internet Explorer.
    void RegisterBrowserPluginAndAsk(bool install);
    // ---- ViewPrinting.cpp --------------------------------------------------------
public:
    // Prints the selected record (command 32906), in any mode; the choice
    // lasts exactly one print job, however it ends.
    void OnPrintRecord();
    bool IsPrintingRecord() const { return m_bPrintRecord; }
    static bool IsPrintPreviewFlagSet() { return s_bPrintPreview; }
    bool IsPrinting() const { return m_bPrinting; }

protected:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnUpdatePrintCommands(CCmdUI* pCmdUI);
    // The report of this job measured with the printer's font: the list, or
    // the selected record; null while locked.
    std::unique_ptr<CPrintLayout> LayOutReport(CDC* pDC);
    void DrawPrintItem(CDC* pDC, const PrintItem& item);
    bool m_bPrintRecord = false;
    bool m_bPrinting = false;
    CFont m_printerFont;
    int m_nPrinterLineHeight = 0;
    int m_nPrintMargin = 0;
    int m_nPrintPageWidth = 0;
    // The printed record's icon.
    int m_nPrintIcon = 0;
    std::unique_ptr<CPrintLayout> m_printLayout;
    // ---- ViewMoveRecords.cpp ---------------------------------------------------
public:
    // The record popup at the screen point: the record commands and the Type
    // and Category sub-menus that move the selected records.
    void ShowRecordPopup(CPoint point);
    // Loads and fills the popup for the selection (tree mode: the node under
    // the point becomes the caret); false without its template.
    bool BuildRecordPopup(BCMenu& menu, CPoint point);
    // One entry per type (category) before "Unfiled", the current one
    // checked, and the editor's entry after it.
    void BuildTypeSubmenu(CMenu* submenu, const uint8_t* typeKey);
    void BuildCategorySubmenu(CMenu* submenu, const uint8_t* categoryKey);
    // The type (category) an entry's id stands for now; false for none.
    bool TypeKeyFromMenuId(UINT id, uint8_t key[kUniqueKeySize]);
    bool CategoryKeyFromMenuId(UINT id, uint8_t key[kUniqueKeySize]);
    // The selection of the current mode moved, saved and told.
    void MoveSelectedToType(const uint8_t key[kUniqueKeySize]);
    void MoveSelectedToCategory(const uint8_t key[kUniqueKeySize]);
    // Ends a record drag on the panel type list's drop row.
    void ChangeTypeByDrop(CListCtrlEx* source, CWnd* target);
    bool IsRecordDragging() const { return m_bRecordDragging; }
    int GetDropRow() const { return m_nDropRow; }
    bool IsSmartListPaneUnfolded() const { return m_nPanelSmartExpanded != 0; }

protected:
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnMoveToType(UINT nID);
    void OnMoveToUnfiledType();
    void OnMoveToCategory(UINT nID);
    void OnMoveToUnfiledCategory();
    // Messages of the panel lists; each answers 1, the column click 0.
    LRESULT OnListExColumnClick(WPARAM wParam, LPARAM lParam);
    LRESULT OnListExBeginDrag(WPARAM wParam, LPARAM lParam);
    LRESULT OnListExDragMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnListExDrop(WPARAM wParam, LPARAM lParam);
    LRESULT OnListExCancelDrag(WPARAM wParam, LPARAM lParam);
    std::vector<CRecord*> RecordsToMove();
    void AfterMove();
    // The panel list under a screen point, or null.
    HWND PanelListUnder(POINT screenPoint) const;
    void ClearDropHighlight();
    bool m_bRecordDragging = false;
    // Row of the description list dragged, row of the type list under it.
    int m_nDragRow = -1;
    int m_nDropRow = -1;
    HWND m_hDragSource = nullptr;
    HWND m_hDropTarget = nullptr;
    // ---- ViewSearch.cpp ------------------------------------------------------------
public:
    // Re-filters the current mode with the search box's text.
    void ApplySearch();
    // The current mode rebuilt under the search; the list mode also under
    // the type and category filters when applyFilters is set (the tree and
    // the panel always are).
    void FilterBySearch(const CString& text, bool caseSensitive, bool wholeWord, bool applyFilters);
    // The box's text into the user's recent searches and back into the
    // box's words: 1, or 0 when the box is empty.
    int OnSearchStore();
    // The search box's "Search" popup with the recent searches in it (null
    // without the menu); menu owns it.
    CMenu* BuildSearchMenu(BCMenu& menu);
    const CStringArray& GetRecentSearches() const { return m_recentSearches; }

protected:
    CEditWithButton* SearchBox();
    // The search box's notices (lParam of a change: the control's id).
    LRESULT OnSearchTextChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSearchLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnSearchClear(WPARAM wParam, LPARAM lParam);
    LRESULT OnSearchHistoryMenu(WPARAM wParam, LPARAM lParam);
    void OnRecentSearch(UINT nID);
    void OnClearSearchHistory();
    // The record list's fill under this search (FillRecordList: the box's).
    void FillRecordListWith(const RecordSearch& search, bool applyFilters);
    // ---- ViewUpkeep.cpp: mode command updates, icons, splitters, pane focus --
public:
    void OnUpdateTreeView(CCmdUI* pCmdUI);
    void OnUpdatePanelView(CCmdUI* pCmdUI);
    void OnUpdateListView(CCmdUI* pCmdUI);
    void OnUpdateSelectAll(CCmdUI* pCmdUI);
    // The current user's "Icons" folder (empty without a user).
    CString GetIconsFolder();
    CExternalIconResList& GetCustomIcons() { return m_customIcons; }
    // The custom icons read again from the user's folder.
    void ReloadCustomIcons();
    // A file of the "Icons" folder (its name) joins the custom icons.
    void AddCustomIconFile(const CString& fileName);
    // Image i of the view's 19 x 15 list is icon id i; handed to the tree,
    // the panel lists and the record list's header.
    void RebuildIconImageList();
    // Items whose custom icon file is gone get the default icon; the
    // database is saved once when any changed.
    void RepairMissingCustomIcons();
    // A built-in icon from the strip that fits the rectangle, or a custom
    // icon scaled to it; false when there is nothing to draw.
    bool DrawItemIcon(CDC* pDC, const CRect& rect, int id);
    // The icon chooser starting from id; true and the chosen id on OK.
    bool ChooseIcon(int& id, CWnd* parent);
    void PrepareDetailsSplitter();
    void PreparePanelSplitter();
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    // Tab and Shift+Tab between the panel's lists; in the other modes the
    // record list or the tree takes the focus. False when nothing took it.
    bool FocusNextPane();
    bool FocusPreviousPane();
    COLORREF GetHeadingColour() const;

protected:
    // The icon chooser asked to close the program: once no dialog is open
    // over the frame, the frame is closed the ordinary way.
    LRESULT OnCloseForIconDeletion(WPARAM wParam, LPARAM lParam);
    void SelectPanelRow(CListCtrlEx& list, int row);
    bool FocusModeDisplay();
    CExternalIconResList m_customIcons;
    CTypeIconStrips m_typeIconStrips;
    int m_nExitAttempts = 0;
    // ---- end of ViewUpkeep.cpp ---------------------------------------------
    // A panel list emptied at once: no notice per row.
    void OnPanelListDeleteAll(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
