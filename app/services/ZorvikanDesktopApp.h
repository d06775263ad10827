#pragma once
// CZorvikanDesktopApp: the desktop program's application object. Its
// InitInstance runs the whole start-up: language library, single instance,
// platform libraries, preferences, users and the current user, log-on, the
// document template with the main frame and view, the window placement and
// a file named on the command line. It owns the user list and the current
// user; its message filter restarts the auto-lock countdown on user activity.
#include <windows.h>

#include "app/services/AppServices.h"
#include "core/users/UserItem.h"
#include "framework/CString.h"
#include "framework/WinApp.h"

class CMainFrame;
class CMainViewBase;
class CSecretString;
class ISyncViewRegistry;
class IWifiSyncService;
struct SavedPlacement;

class CZorvikanDesktopApp : public CWinApp {
    DECLARE_DYNAMIC(CZorvikanDesktopApp)
public:
    // The main view class comes from the main window, which sits above the
    // shell: the program hands it in.
    explicit CZorvikanDesktopApp(const CRuntimeClass* pMainViewClass);
    ~CZorvikanDesktopApp() override;

    BOOL InitInstance() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    int ExitInstance() override;

    // ---- Services ----------------------------------------------------------
    // The application-wide preferences section ("Preferences " + platform
    // name); empty before InitInstance has set it.
    static CString& GetPrefsSection();
    // Makes the user current and stores its key name as "Current User".
    void SetCurrentUser(CUserItem* user);
    CUserItem* GetCurrentUser() const { return m_pCurrentUser; }
    CUserList& GetUsers() { return m_users; }
    const CString& GetPlatformName() const { return m_strPlatformName; }
    // Set while a log-on dialog is open (start-up, lock).
    BOOL IsLogonPending() const { return m_bLogonPending; }
    void SetLogonPending(BOOL pending) { m_bLogonPending = pending ? 1 : 0; }
    // While the user's own database folder cannot be reached, asks to retry,
    // to choose another folder (stored as the user's) or to give up; false
    // when the user gave up.
    static bool ReachUserFolder(CUserItem* user);
    // Checks the password against the installer's password requirements;
    // false ends the start-up.
    bool EnforcePasswordRequirements(CUserItem* user, const CSecretString& password);

    // Record hooks of the record commands and the import: event log and
    // smart lists (viewing raises the view count and logs nothing).
    void OnRecordViewed(CRecord* record) { m_services.OnRecordViewed(record); }
    void OnRecordAdded(CRecord* record) { m_services.OnRecordAdded(record); }
    void OnRecordEdited(CRecord* record) { m_services.OnRecordEdited(record); }
    void OnRecordDeleted(CRecord* record) { m_services.OnRecordDeleted(record); }
    // The current user's smart lists against the view's records, and recent
    // searches; each manager is made on first use for the current user.
    void GetRecentlyAdded(const CRecordList& records, CRecordPtrArray& out)
    {
        m_services.GetRecentlyAdded(records, out);
    }
    void GetRecentlyViewed(const CRecordList& records, CRecordPtrArray& out)
    {
        m_services.GetRecentlyViewed(records, out);
    }
    void GetMostViewed(const CRecordList& records, CRecordPtrArray& out) { m_services.GetMostViewed(records, out); }
    void GetRecentSearches(CStringArray& texts) { m_services.GetRecentSearches(texts); }
    void AddRecentSearch(const CString& text) { m_services.AddRecentSearch(text); }
    void ClearRecentSearches(bool clear) { m_services.ClearRecentSearches(clear); }
    // A user switch (onlyIfOther true) or a reload of the view's database
    // (false: the smart lists must drop the old records).
    void SwitchHistoriesUser(CUserItem* user, bool onlyIfOther) { m_services.SwitchHistoriesUser(user, onlyIfOther); }
    // The main view's end: both managers go and write their files.
    void ReleaseHistories() { m_services.ReleaseHistories(); }
    std::shared_ptr<CSmartTypesMgr> CreateSmartTypesMgr(CUserItem* user)
    {
        return m_services.CreateSmartTypesMgr(user);
    }
    std::shared_ptr<CSearchHistoryMgr> CreateSearchHistoryMgr(CUserItem* user)
    {
        return m_services.CreateSearchHistoryMgr(user);
    }
    // One-off repairs after older preferences migrated.
    void MigrateHints();
    void AssignMissingRecordIds();

    // The main frame, once the start-up has made it.
    CMainFrame* GetMainFrame() const;
    // Where the main view registers with the Wi-Fi sync server; null while
    // there is none. The application does not own it.
    ISyncViewRegistry* GetSyncViewRegistry() const { return m_pSyncViewRegistry; }
    void SetSyncViewRegistry(ISyncViewRegistry* registry) { m_pSyncViewRegistry = registry; }
    // The Wi-Fi sync service; null while the program has none. Not owned.
    IWifiSyncService* GetWifiSyncService() const { return m_pWifiSync; }
    void SetWifiSyncService(IWifiSyncService* service) { m_pWifiSync = service; }
    // Announces the Wi-Fi sync and starts its server (once per run).
    void StartWifiSyncService();
    // The sync mode of the next Wi-Fi sync (2 when there is no service), for
    // that session only; the stored default; back to the stored one.
    int GetSyncMode();
    void SetSyncMode(int mode);
    int GetSavedSyncMode();
    void SaveSyncMode(int mode);
    void ResetSyncMode();
    // Restores the window placement from the text of "Winpos" (nothing for
    // an empty text); shifted when the command line is "/rl".
    void RestoreWindowPlacement(CWnd& frame, const CString& winpos, const CString& commandLine);

    // The environment variable that points the program at another data root.
    // Only tests set it, so that a run never touches real user data.
    static const char kDataRootVariable[];

protected:
    void OnAppAbout();

    CUserList m_users;
    CUserItem* m_pCurrentUser = nullptr;
    CString m_strPlatformName;
    HMODULE m_hLanguageLib = nullptr;
    BYTE m_bLogonPending = 0;
    int m_nFirstRun = 0;
    bool m_bMigrated = false;
    const CRuntimeClass* m_pMainViewClass;
    ISyncViewRegistry* m_pSyncViewRegistry = nullptr;
    IWifiSyncService* m_pWifiSync = nullptr;
    CAppServices m_services{[this] { return m_pCurrentUser; }};

    DECLARE_MESSAGE_MAP()

private:
    // The steps of InitInstance after the single-instance test.
    BOOL StartPlatform();
    // The user locale's date order and separators, for sorting list cells.
    void ReadLocaleFormats();
    BOOL ChooseCurrentUser();
    // The first start: the setup wizard creates the user from the handheld.
    // FALSE when it did not end with Finish.
    BOOL RunFirstRunSetup();
    BOOL LogOn();
    BOOL CreateMainWindow();
};
