// The main view's Set Password command and the switch to another user; its
// Options, Edit Users and Database Sync commands, the settings the options
// sheet applies through the view, and the file syncs of the start-up and the
// end.
#include <windows.h>

#include <cstring>
#include <utility>

#include "app/options/OptionsHost.h"
#include "app/frame/MainFrm.h"
#include "app/options/PrefSettingPS.h"
#include "app/res/ShellDialogsRes.h"
#include "app/services/SyncCommands.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "app/reset/ResetDBWizard.h"
#include "app/reset/ResetDatabase.h"
#include "app/logon/GetPasswordDlg.h"
#include "app/logon/SetPasswordDlg.h"
#include "app/res/Resource.h"
#include "app/users/EditUsersDlg.h"
#include "app/users/UnavailablePathDlg.h"
#include "core/items/FilterKeys.h"
#include "core/items/ShowColumns.h"
#include "core/items/TypeItem.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/os/FileUtils.h"
#include "core/store/DatabaseFolder.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/Platform.h"
#include "core/users/UserItem.h"
#include "framework/ModalSeam.h"
#include "mainwindow/data/UserDatabaseOpen.h"
#include "mainwindow/MainWindowIds.h"
#include "mainwindow/data/UserFolderMoves.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Zorvikan iPhone Desktop";
const char kProductWord[] = "Zorvikan";

std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

}  // namespace

// The view as the options sheet's pages see it.
class CViewOptionsHost : public IOptionsHost {
public:
    CViewOptionsHost(CZorvikanDesktopView& view, CUserItem* user)
        : m_view(view), m_user(user), m_columns(CShowColumns::kColumns)
    {
        m_view.GetListTypeFilter(m_typeKey);
        if (CTypeItem* type = FindType()) {
            m_columns = type->GetColumns();
        } else if (m_user) {
            m_columns = Prefs()->GetShowColumns(CZorvikanDesktopApp::GetPrefsSection(), m_user);
        }
    }

    CUserItem* GetUser() override { return m_user; }
    bool IsRunAtStartup() override { return m_view.IsRunAtStartup(); }
    void SetRunAtStartup(bool run) override { m_view.SetRunAtStartup(run); }
    void SetMinimizeToTray(bool minimize) override { m_view.SetMinimizeToTray(minimize); }
    void SetClearClipboardOptions(bool onExit, bool timerOn, int minutes) override
    {
        if (m_user) m_view.SetClearClipboardOptions(onExit, timerOn, minutes);
    }
    // The view applies the choices to every list at once.
    void ChooseListFont() override { m_view.ChooseListFont(); }
    void ChooseRowColour() override { m_view.ChooseRowColour(); }
    LOGFONTA GetListFont() override { return m_view.GetListFontDescription(); }
    COLORREF GetRowColour() override { return m_view.m_viewState.rowColor; }
    HWND GetViewWindow() override { return m_view.m_hWnd; }
    void GetCurrentTypeKey(uint8_t key[kUniqueKeySize]) override { std::memcpy(key, m_typeKey, kUniqueKeySize); }
    CDatabaseObj& GetDatabase() override { return m_view.GetDatabase(); }
    CShowColumns& GetColumns() override { return m_columns; }
    void SaveListColumns() override
    {
        // The all-types and unfiled layouts live in the preferences; a type's
        // layout travels in the database, which SetColumnsForAllTypes set.
        if (m_user && !FindType()) Prefs()->SetShowColumns(CZorvikanDesktopApp::GetPrefsSection(), m_user, m_columns);
        m_view.SaveListColumns();
    }
    void LoadListColumns(bool reload) override { m_view.LoadListColumns(reload); }
    void InvalidateRecordList() override
    {
        if (m_view.GetRecordList().m_hWnd) m_view.GetRecordList().Invalidate(TRUE);
    }

private:
    CTypeItem* FindType() { return static_cast<CTypeItem*>(m_view.GetDatabase().GetTypes().FindByKey(m_typeKey)); }

    CZorvikanDesktopView& m_view;
    CUserItem* m_user;
    CShowColumns m_columns;
    uint8_t m_typeKey[kUniqueKeySize] = {};
};

void CZorvikanDesktopView::OnOptions()
{
    CUserItem* user = CurrentUser();
    if (!user) return;
    auto manager = CAppPrefMgr::GetInstance();
    auto prefs = manager->GetPrefs();
    CViewOptionsHost host(*this, user);
    CPrefSettingPS sheet("Options", &host, this);
    CPrefSettingPP1& security = sheet.m_security;
    security.m_bHasPassword = UserHasMasterPassword(user) ? 1 : 0;
    security.m_bAutoLock = prefs->GetAutoLock(user) ? 1 : 0;
    security.m_nSleepMinutes = prefs->GetSleepMinutes(user);
    security.m_nMaxMinutes = prefs->GetMaxSleepMinutes(user);
    security.m_bAutoSubmit = prefs->GetAutoSubmit(user) ? 1 : 0;
    // "SearchColumns" reads as on only for 1, the first field alone.
    security.m_nSearchMode = prefs->GetSearchColumns(user) ? 0 : 1;
    const int autoLock = security.m_bAutoLock, sleepMinutes = security.m_nSleepMinutes;
    const int autoSubmit = security.m_bAutoSubmit, searchMode = security.m_nSearchMode;
    const CString oldDatabase = manager->GetUserDirectory(user);
    const CString oldBackup = manager->GetUserBackupDirectory(user);
    const CString oldRestore = manager->GetBackupFolderOrDocuments(user);
    sheet.m_userData.m_strDatabaseLocation = oldDatabase;
    sheet.m_userData.m_strBackupLocation = oldBackup;
    sheet.m_userData.m_strRestoreLocation = oldRestore;

    m_pluginLink.SetBusy(1);
    if (sheet.DoModal() != IDOK) {
        m_pluginLink.SetBusy(0);
        return;
    }
    // Only what the sheet changed is written.
    if (security.m_bAutoLock != autoLock) prefs->SetAutoLock(user, security.m_bAutoLock);
    if (security.m_nSleepMinutes != sleepMinutes) prefs->SetSleepMinutes(user, security.m_nSleepMinutes);
    if (security.m_bAutoSubmit != autoSubmit) prefs->SetAutoSubmit(user, security.m_bAutoSubmit);
    // The mask value itself: -1 all fields, 1 the first field.
    if (security.m_nSearchMode != searchMode) prefs->SetSearchColumns(user, security.m_nSearchMode == 1 ? -1 : 1);

    switch (MoveUserDatabaseFolder(m_database, user, oldDatabase, sheet.m_userData.m_strDatabaseLocation, m_hWnd)) {
    case DatabaseFolderMove::DatabaseThere: AfxMessageBox(IDS_DATABASE_EXISTS_THERE, MB_OK); break;
    case DatabaseFolderMove::Failed: AfxMessageBox(IDS_DATABASE_MOVE_FAILED, MB_OK); break;
    default: break;
    }
    // The custom icons live in the data folder: read them where it is now.
    if (!IsSameFolder(oldDatabase, manager->GetUserDirectory(user))) {
        ReloadCustomIcons();
        RebuildIconImageList();
    }
    MoveUserBackupFolder(user, oldBackup, sheet.m_userData.m_strBackupLocation, m_hWnd);
    if (!IsSameFolder(oldRestore, sheet.m_userData.m_strRestoreLocation))
        prefs->SetRestoreDirectory(user, sheet.m_userData.m_strRestoreLocation);
    m_pluginLink.SetBusy(0);
}

void CZorvikanDesktopView::OnEditUsers()
{
    CZorvikanDesktopApp* app = App();
    if (!app) return;
    m_pluginLink.SetBusy(1);
    CEditUsersDlg dlg(app->GetUsers(), app->GetCurrentUser(), this);
    dlg.DoModal();
    m_pluginLink.SetBusy(0);
}

void CZorvikanDesktopView::OnDatabaseSync()
{
    ISyncCommands* sync = GetSyncCommands();
    CUserItem* user = CurrentUser();
    if (!sync || !user) return;
    // The sync works on a copy loaded from the file; the view's own object
    // is reopened afterwards.
    CDatabaseObj copy;
    const int loaded = copy.Load(m_database.GetFilePath());
    if (loaded != 0) {
        // Syncing what did not load would pass a partial database on.
        AfxMessageBox(DescribeOpenFailure(m_database.GetFilePath(), loaded), MB_OK | MB_ICONERROR);
        return;
    }
    m_pluginLink.SetBusy(1);
    const intptr_t result = sync->OpenSyncSettings(&copy, user, nullptr);
    if (result != IDCANCEL) {
        ReloadAndRefresh(user, true);
        if (CZorvikanDesktopApp* app = App()) app->SwitchHistoriesUser(user, false);
    }
    m_pluginLink.SetBusy(0);
}

void CZorvikanDesktopView::OnResetDatabase()
{
    CZorvikanDesktopApp* app = App();
    if (!app) return;
    CUserItem* user = app->GetCurrentUser();
    // Nothing may write the data while the wizard may move or delete it:
    // the database is held read-only and the timers stand still.
    const bool wasReadOnly = m_database.IsReadOnly();
    m_database.SetReadOnly();
    KillTimer(ZV_TIMER_AUTO_LOCK);
    m_nAutoLockTimer = 0;
    KillTimer(ZV_TIMER_CLEAR_CLIPBOARD);
    CResetDatabase reset(app->GetUsers(), user, CAppPrefMgr::GetDocumentsDataRoot());
    ResetDBWizard::CResetDBWizard wizard("", this, 0, reset, user ? user->GetDisplayName() : CString());
    wizard.SetWizardMode();
    m_pluginLink.SetBusy(1);
    wizard.DoModal();
    m_pluginLink.SetBusy(0);
    // Once the data has gone, nothing of this run may be saved over it.
    if (wizard.HasResetRun()) ExitApplication();
    if (!wasReadOnly) m_database.ClearReadOnly();
    RestartAutoLockTimer();
}

CString CZorvikanDesktopView::GetModulePath()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return CString();
    return CString(path);
}

void CZorvikanDesktopView::SetRunAtStartup(bool run)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (run) {
        const CString path = GetModulePath();
        ::RegSetValueExA(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.GetString()),
                         (DWORD)path.GetLength() + 1);
    } else {
        ::RegDeleteValueA(key, kRunValue);
    }
    ::RegCloseKey(key);
}

bool CZorvikanDesktopView::IsRunAtStartup()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (::RegQueryValueExA(key, kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        value[0] = '\0';
    ::RegCloseKey(key);
    return GetModulePath() == value;
}

void CZorvikanDesktopView::SetMinimizeToTray(bool minimize)
{
    CUserItem* user = CurrentUser();
    if (user && Prefs()->GetMinimizeToSystemTray(user) != minimize)
        Prefs()->SetMinimizeToSystemTray(user, minimize ? 1 : 0);
}

void CZorvikanDesktopView::RunFileSyncs(bool onExit)
{
    ISyncCommands* sync = GetSyncCommands();
    CUserItem* user = CurrentUser();
    // A database that did not open is never synced: it would pass on what
    // it lacks.
    if (!sync || !user || m_nOpenResult != 0) return;
    sync->RunAutoSyncs(&m_database, user, onExit, nullptr);
}

// ---- Set Password -----------------------------------------------------------

void CZorvikanDesktopView::OnSetPassword()
{
    CUserItem* user = CurrentUser();
    if (!user) return;
    CSecretString password;
    INT_PTR answer = IDCANCEL;
    m_pluginLink.SetBusy(1);
    if (UserHasMasterPassword(user)) {
        CSetPasswordDlg dlg(this);
        dlg.m_pUser = user;
        dlg.m_strPrefsSection = CZorvikanDesktopApp::GetPrefsSection();
        answer = dlg.DoModal();
        if (answer == IDOK) password = std::move(dlg.m_strNewPassword);
    } else {
        CSetPasswordNoOldDlg dlg(this, false);
        dlg.m_pUser = user;
        dlg.m_strPrefsSection = CZorvikanDesktopApp::GetPrefsSection();
        answer = dlg.DoModal();
        if (answer == IDOK) password = std::move(dlg.m_strNewPassword);
    }
    m_pluginLink.SetBusy(0);
    if (answer != IDOK) return;

    // The file is re-encrypted under the new key; when that save fails the
    // old key and the old file stay, and the user is told.
    const int result = GetMasterPwdMgr()->StoreNewPassword(password, m_database);
    if (result != 0) {
        CString text;
        text.Format("The new password could not be stored (error %d). The database keeps its old password.", result);
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
        return;
    }
    m_pluginLink.SignalUserChange();
    // With a password set or removed, the countdown follows.
    RestartAutoLockTimer();
    if (!user->IsStandalone()) {
        CString name, text;
        name.LoadString(IDS_APP_NAME);
        text.Format(IDS_SAME_PASSWORD_ON_HANDHELD, (LPCSTR)name);
        AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
    }
}

// ---- The User menu ----------------------------------------------------------

void CZorvikanDesktopView::OnUpdateUserMenu(CCmdUI* pCmdUI)
{
    CZorvikanDesktopApp* app = App();
    if (!app || !pCmdUI->m_pMenu) return;
    FillUserMenu(app->GetUsers(), pCmdUI->m_pMenu->m_hMenu, ID_USER_FIRST, app->GetCurrentUser());
}

void CZorvikanDesktopView::OnUpdateSyncAllowed(CCmdUI* pCmdUI)
{
    if (CUserItem* user = CurrentUser()) pCmdUI->Enable(PlatformCanUserSyncNow(user->GetRecord()));
}

void CZorvikanDesktopView::OnSwitchUser(UINT nID)
{
    if (CZorvikanDesktopApp* app = App()) SwitchToUser(app->GetUsers().FindById((int)nID));
}

int CZorvikanDesktopView::AskUnavailableUserFolder(CUserItem* user, const CString& folder)
{
    CUnavailablePathDlg dlg(this, user, folder);
    m_pluginLink.SetBusy(1);
    const INT_PTR answer = dlg.DoModal();
    m_pluginLink.SetBusy(0);
    return (int)answer;
}

void CZorvikanDesktopView::SwitchToUser(CUserItem* user)
{
    CZorvikanDesktopApp* app = App();
    CUserItem* previous = CurrentUser();
    if (!app || !user || user == previous) return;
    std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
    std::shared_ptr<CAppPrefs> prefs = manager->GetPrefs();

    // Checks first: until the user's folder is reached and its password
    // given, the current user stays, with all of its state.
    while (manager->HasCustomUserDirectory(user) && !PathExists(manager->GetUserDirectory(user))) {
        const int answer = AskUnavailableUserFolder(user, manager->GetUserDirectory(user));
        if (answer == 3) break;  // another folder, stored as the user's
        if (answer != 1087) return;
    }
    // Where the platform keeps the user's data in a folder of its own, the
    // data comes into the user's folder.
    if (PlatformGetPlatform() == 0)
        MoveDatabaseFolder(user->GetPlatformRootDir(kProductWord), manager->GetUserDirectory(user));
    // The current user's settings and records are stored while the key is
    // still theirs: an accepted log-on below keys the next user's.
    if (previous) prefs->SetSortInfo(previous, (int)m_viewState.sortKey);
    SaveListColumns();
    m_database.Save();
    const bool hasPassword = UserHasMasterPassword(user);
    if (hasPassword) {
        CGetPasswordDlg dlg(this, app->GetUsers().GetCount() > 1);
        dlg.m_pUsers = &app->GetUsers();
        dlg.m_pUser = user;
        dlg.m_bLockUser = true;
        dlg.m_bCancelCaption = true;
        m_pluginLink.SetBusy(1);
        const INT_PTR answer = dlg.DoModal();
        m_pluginLink.SetBusy(0);
        if (answer != IDOK) return;
    }

    // The switch.
    if (!hasPassword) GetMasterPwdMgr()->ClearPassword();
    m_viewState.sortKey = (uint32_t)prefs->GetSortInfo(user);
    app->SwitchHistoriesUser(user, true);
    UpdateCaption(user);
    app->SetCurrentUser(user);
    m_pluginLink.SignalUserChange();
    OpenUserData(true);
    // The new user's own custom icons.
    ReloadCustomIcons();
    RebuildIconImageList();

    CMainFrame* frame = Frame();
    app->GetRecentSearches(m_recentSearches);
    if (frame && frame->GetDialogToolbar().m_edSearch.m_hWnd)
        frame->GetDialogToolbar().m_edSearch.SetAutoCompleteList(m_recentSearches);
    // The filters first, so that the columns read are the new user's.
    std::memcpy(m_viewState.typeFilter, KEY_ALL, kUniqueKeySize);
    std::memcpy(m_viewState.categoryFilter, KEY_ALL, kUniqueKeySize);
    LoadListColumns(true);
    BYTE font[kLogFontSize] = {};
    if (prefs->GetFont(user, font)) {
        std::memcpy(&m_listLogFont, font, kLogFontSize);
        std::memcpy(m_viewState.font, font, kLogFontSize);
        m_viewState.hasFont = true;
    }
    BuildFonts();
    if (m_recordList.m_hWnd) m_recordList.SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_listFont, TRUE);
    if (frame) frame->SetMinimizeToTray(prefs->GetMinimizeToSystemTray(user) ? 1 : 0);
    m_bAutoSubmit = prefs->GetAutoSubmit(user);
    m_nSearchColumns = prefs->GetSearchColumns(user) ? 1 : -1;

    RefillTypeCombo();
    RefillCategoryCombo();
    SelectTypeInCombo(KEY_ALL);
    SelectCategoryInCombo(KEY_ALL);
    FillCurrentMode();
    ShowDetails(nullptr);
    // The new user's own countdown and clipboard clearing.
    RestartAutoLockTimer();
    const std::pair<bool, int> clearing = GetClearClipboardTimerSetting();
    SetClipboardTimer(clearing.first, clearing.second);
}
