#pragma once
// The "File Synchronization" dialog: edits the current user's list of
// database files to sync with, stores it in the preferences, and syncs the
// open database with them by hand, or at start-up and at exit (the dialog
// then only shows the list, syncs the flagged files and closes itself).
#include <vector>

#include "framework/Dialog.h"
#include "toolkit/lists/ComboListCtrl.h"
#include "sync/files/NWSyncProgress.h"
#include "sync/files/SyncFileRecord.h"

class CDatabaseObj;
class CRemotePasswordPrompt;
class CUserItem;

class CSyncSettingsDlg : public CDialog {
public:
    // runKind: kSyncRunAtExit, kSyncRunAtStartup or kSyncRunByCommand. The
    // list is the user's (the program's current user).
    CSyncSettingsDlg(CDatabaseObj* database, int runKind, CWnd* pParent, CUserItem* user);
    ~CSyncSettingsDlg() override;

    // Stands in for the password dialog (tests); null: the dialog's own.
    void SetPasswordPrompt(CRemotePasswordPrompt* prompt) { m_prompt = prompt; }

    BOOL OnInitDialog() override;
    void OnOK() override;

    // The progress control of the row being synced; null between syncs.
    HWND GetProgressBar() const { return m_hProgress; }
    HWND GetList() const { return m_hList; }

protected:
    void OnAddFile();
    void OnRemoveFile();
    void OnCheckAll();
    void OnUncheckAll();
    void OnSyncSelected();
    void OnSyncNow();
    void OnApply();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnGetChoices(WPARAM wParam, LPARAM lParam);
    LRESULT OnCellEdited(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    friend class CSyncFileProgress;

    void AddRow(const SyncFileRecord& record);
    void SetAllChecks(bool checked);
    int SyncRow(int row);
    void ShowProgressBar(int row);
    void DestroyProgressBar();

    CDatabaseObj* m_database;
    int m_runKind;
    CUserItem* m_user;
    CRemotePasswordPrompt* m_prompt = nullptr;
    std::vector<SyncFileRecord> m_records;  // as loaded at opening
    // The file list: its cells are edited in place.
    CComboListCtrl m_list;
    HWND m_hList = nullptr;
    HWND m_hProgress = nullptr;
};

// The sync's progress on the dialog's current progress bar. Each step
// repaints the bar at once: the syncs run inside the button handlers, where
// no paint message would be handled until the end.
class CSyncFileProgress : public CNWSyncProgress {
public:
    explicit CSyncFileProgress(CSyncSettingsDlg* dialog) : m_dialog(dialog) {}
    void SetRange(int total) override;
    void SetPos(int position) override;
    void Step() override;

private:
    void Show();
    CSyncSettingsDlg* m_dialog;
    int m_pos = 0;
};

// What the main view calls. The dialog by command; its end (IDOK, IDCANCEL).
INT_PTR OpenSyncSettings(CDatabaseObj* database, CUserItem* user, CWnd* pParent);
// At start-up (onExit false) or at exit: when a stored file is flagged for
// that moment, the dialog runs those syncs and closes itself. Whether it
// was shown.
bool RunAutoSyncs(CDatabaseObj* database, CUserItem* user, bool onExit, CWnd* pParent);
