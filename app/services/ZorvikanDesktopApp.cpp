#include "app/services/ZorvikanDesktopApp.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "app/about/AboutDlg.h"
#include "app/services/CommandLineText.h"
#include "app/services/WifiSyncService.h"
#include "app/logon/HintMigration.h"
#include "app/frame/MainFrm.h"
#include "app/frame/MainViewBase.h"
#include "app/frame/OneInstance.h"
#include "app/logon/StartupLogon.h"
#include "app/frame/WindowPlacement.h"
#include "app/frame/ZorvikanDesktopDoc.h"
#include "app/res/Resource.h"
#include "app/users/UnavailablePathDlg.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/ProductNames.h"
#include "app/logon/PasswordRequirementsCheck.h"
#include "app/logon/PasswordRules.h"
#include "app/history/RecordIdRepair.h"
#include "app/logon/SetPasswordDlg.h"
#include "core/prefs/AppPrefs.h"
#include "core/values/CellCompare.h"
#include "core/store/DatabaseFolder.h"
#include "core/store/DatabaseObj.h"
#include "core/os/FileUtils.h"
#include "core/prefs/LegacyPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "core/items/ObjectList.h"
#include "core/users/Platform.h"
#include "core/crypto/Random.h"
#include "core/prefs/Registry.h"
#include "framework/DocTemplate.h"
#include "framework/FrameworkRes.h"
#include "framework/ModalSeam.h"
#include "framework/ResourceModuleWin.h"

IMPLEMENT_DYNAMIC(CZorvikanDesktopApp, CWinApp)

BEGIN_MESSAGE_MAP(CZorvikanDesktopApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
    ON_COMMAND(ID_APP_ABOUT, &CZorvikanDesktopApp::OnAppAbout)
END_MESSAGE_MAP()

const char CZorvikanDesktopApp::kDataRootVariable[] = "ZV_DATA_ROOT";

namespace {

const char* const kProductWord = kProductName;

std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

// Tests point the program at a scratch data root through ZV_DATA_ROOT; the
// program itself never sets it and then picks its data root as always.
void UseDataRootFromEnvironment()
{
    char root[MAX_PATH + 1] = {};
    DWORD n = ::GetEnvironmentVariableA(CZorvikanDesktopApp::kDataRootVariable, root, sizeof(root));
    if (n == 0 || n >= sizeof(root)) return;
    CAppPrefMgr::ReplaceInstance(std::make_shared<CAppPrefMgr>(CString(root)));
}

}  // namespace

CZorvikanDesktopApp::CZorvikanDesktopApp(const CRuntimeClass* pMainViewClass)
    : CWinApp(nullptr), m_pMainViewClass(pMainViewClass)
{}

CZorvikanDesktopApp::~CZorvikanDesktopApp()
{
    // At the latest now the smart lists and recent searches are written,
    // while their users still exist.
    m_services.ReleaseHistories();
    m_pCurrentUser = nullptr;
    m_users.DeleteAll();
}

CMainFrame* CZorvikanDesktopApp::GetMainFrame() const
{
    return m_pMainWnd && m_pMainWnd->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(m_pMainWnd)
                                                                         : nullptr;
}

void CZorvikanDesktopApp::SetCurrentUser(CUserItem* user)
{
    m_pCurrentUser = user;
    if (user) Prefs()->SetCurrentUser(GetPrefsSection(), user->GetKeyName());
}

bool CZorvikanDesktopApp::EnforcePasswordRequirements(CUserItem* user, const CSecretString& password)
{
    PasswordRequirementsEnv env;
    env.readRequirements = [](BYTE block[kPasswordRequirementsSize]) {
        return Prefs()->GetPasswordRequirements(GetPrefsSection(), block);
    };
    env.openDatabase = [user](CDatabaseObj& database) {
        return database.OpenInFolder(CAppPrefMgr::GetInstance()->GetUserDirectory(user));
    };
    env.askNewPassword = [user](CSecretString& newPassword) {
        CSetPasswordNoOldDlg dlg(nullptr, true);
        dlg.m_pUser = user;  // the hint is stored for this user
        dlg.m_strPrefsSection = GetPrefsSection();
        if (dlg.DoModal() != IDOK) return false;
        newPassword = std::move(dlg.m_strNewPassword);
        return true;
    };
    env.storeNewPassword = [](const CSecretString& newPassword, CDatabaseObj& database) {
        return GetMasterPwdMgr()->StoreNewPassword(newPassword, database);
    };
    return CheckPasswordRequirements(password, env);
}

void CZorvikanDesktopApp::MigrateHints() { ::MigrateHints(m_users); }

void CZorvikanDesktopApp::AssignMissingRecordIds()
{
    // Kept alive for the whole repair.
    const BlowfishKeyPtr key = GetMasterPwdMgr()->GetKey();
    RecordIdRepairEnv env;
    env.databasePathOf = [](CUserItem* user) { return CAppPrefMgr::GetInstance()->GetDatabasePath(user); };
    env.hasPassword = [](CUserItem* user) { return UserHasMasterPassword(user); };
    env.currentKey = key.get();
    ::AssignMissingRecordIds(m_users, m_pCurrentUser, env);
}

BOOL CZorvikanDesktopApp::InitInstance()
{
    UseDataRootFromEnvironment();

    // The language library's resources replace the program's own.
    m_hLanguageLib = ::LoadLibraryA(kLanguageLibraryFileName);
    if (m_hLanguageLib) AfxSetResourceHandle(m_hLanguageLib);

    SetRegistryKey(IDS_COMPANY_KEY);
    LoadStdProfileSettings(4);
    SeedRandom(::GetTickCount());

    if (GetInstanceGuard().ActivateRunningInstance(m_lpCmdLine ? m_lpCmdLine : "")) return FALSE;

    if (!StartPlatform()) return FALSE;
    if (!ChooseCurrentUser()) return FALSE;
    if (m_nFirstRun && !RunFirstRunSetup()) return FALSE;
    if (!LogOn()) return FALSE;
    SetCurrentUser(m_pCurrentUser);
    // On the first run the wizard started it already.
    StartWifiSyncService();
    if (m_bMigrated) AssignMissingRecordIds();
    return CreateMainWindow();
}

BOOL CZorvikanDesktopApp::StartPlatform()
{
    int rc = LoadPlatformLibraries(1, kProductWord);
    if (rc != 0) {
        CString text;
        text.Format(IDS_PLATFORM_INIT_FAILED, rc);
        AfxMessageBox(text);
        return FALSE;
    }
    m_strPlatformName = PlatformGetPlatformName();
    if (m_strPlatformName.IsEmpty()) {
        AfxMessageBox(IDS_PLATFORM_NAME_FAILED);
        return FALSE;
    }
    GetPrefsSection().Format("Preferences %s", (LPCSTR)m_strPlatformName);

    // Values of the older key "Preferences" move into the section's key;
    // without that key there is nothing to move and no key is made.
    const CString parent(kAppRegistryKey);
    HKEY older = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, parent + kOlderPreferencesKey, 0, KEY_READ | KEY_WRITE, &older) ==
        ERROR_SUCCESS) {
        ::RegCloseKey(older);
        RenameRegistryKey(kOlderPreferencesKey, GetPrefsSection(), parent);
    }

    // The framework's own profile lives under
    // HKEY_CURRENT_USER\Software\Corvantide\Zorvikan Desktop.
    free((void*)m_pszProfileName);
    m_pszProfileName = _strdup(kRegistryProfileName);

    SetHardDeleteMode(PlatformGetDeleteRecordMethod());
    ReadLocaleFormats();
    return TRUE;
}

void CZorvikanDesktopApp::ReadLocaleFormats()
{
    char order[256] = {}, decimal[256] = {}, dateSeparator[256] = {};
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof(order));
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof(decimal));
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, dateSeparator, sizeof(dateSeparator));
    int dateOrder = 0;
    if (order[0] == '1')
        dateOrder = 1;
    else if (order[0] == '2')
        dateOrder = 2;
    SetLocaleFormats(decimal[0], dateSeparator[0], dateOrder);
}

BOOL CZorvikanDesktopApp::ChooseCurrentUser()
{
    std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
    // The registry preferences of older versions move into the preferences
    // file at the first start.
    m_bMigrated = manager->MigrateLegacyPreferences(GetPrefsSection(), std::make_shared<CLegacyPrefs>(this)) != 0;
    std::shared_ptr<CAppPrefs> prefs = manager->GetPrefs();

    CString legacyPrefix;
    legacyPrefix.Format(kLegacyUserKeyFormat, (LPCSTR)m_strPlatformName);
    m_users.LoadUsers(kProductWord, legacyPrefix);
    if (m_bMigrated) MigrateHints();

    m_pCurrentUser = m_users.FindByKeyNameOrFirst(prefs->GetCurrentUser(GetPrefsSection()));
    if (!m_pCurrentUser) {
        AfxMessageBox("No User found", MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }

    // The platform may keep the user's data in a folder of its own: it comes
    // into the user's folder, which the main view opens (as on a switch of
    // the user).
    if (PlatformGetPlatform() == 0)
        MoveDatabaseFolder(m_pCurrentUser->GetPlatformRootDir(kProductWord), manager->GetUserDirectory(m_pCurrentUser));

    // A custom user folder that cannot be reached (a network drive, a
    // removed disk): the user retries, picks another folder or gives up.
    if (!ReachUserFolder(m_pCurrentUser)) return FALSE;

    m_nFirstRun = prefs->GetVirginSync(GetPrefsSection()) ? 1 : 0;
    return TRUE;
}

bool CZorvikanDesktopApp::ReachUserFolder(CUserItem* user)
{
    std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
    const CString folder = manager->GetUserDirectory(user);
    while (manager->HasCustomUserDirectory(user) && !PathExists(folder)) {
        CUnavailablePathDlg dlg(nullptr, user, folder);
        const INT_PTR answer = dlg.DoModal();
        // The chosen folder is the user's now; it is used as it is.
        if (answer == CUnavailablePathDlg::kChanged) return true;
        if (answer != CUnavailablePathDlg::kRetry) return false;
    }
    return true;
}

BOOL CZorvikanDesktopApp::LogOn()
{
    // Wiped when the log-on is over, whichever way it ends.
    CSecretString password;
    if (StartupUserHasMasterPassword(m_pCurrentUser)) {
        SetLogonPending(TRUE);
        CUserItem* chosen = m_pCurrentUser;
        if (RunStartupLogonDialog(m_users, chosen, password) != IDOK || !chosen) return FALSE;
        SetLogonPending(FALSE);
        m_pCurrentUser = chosen;
    }
    return EnforcePasswordRequirements(m_pCurrentUser, password) ? TRUE : FALSE;
}

BOOL CZorvikanDesktopApp::CreateMainWindow()
{
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZorvikanDesktopDoc), RUNTIME_CLASS(CMainFrame),
                                          m_pMainViewClass));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    // The program is no automation server: started for one it would wait
    // without a window that anyone could close, so it ends at once.
    if (cmdInfo.m_bRunEmbedded || cmdInfo.m_bRunAutomated) return FALSE;
    // A file on the command line is offered to the import below, never
    // opened as the document.
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen) cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
    m_nCmdShow = -1;  // the frame does not show itself; the placement comes first
    if (!ProcessShellCommand(cmdInfo)) return FALSE;
    CMainFrame* frame = GetMainFrame();
    if (!frame) return FALSE;

    const CString commandLine(m_lpCmdLine ? m_lpCmdLine : "");
    RestoreWindowPlacement(*frame, Prefs()->GetWindowPos(m_pCurrentUser), commandLine);

    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();

    CString path = GetImportPathFromCommandLine(commandLine);
    if (!path.IsEmpty()) {
        if (CMainViewBase* view = frame->GetMainView()) view->ImportFileAsk(path, TRUE);
    }

    frame->InstallMainMenu(frame->BuildMainMenu());
    return TRUE;
}

void CZorvikanDesktopApp::RestoreWindowPlacement(CWnd& frame, const CString& winpos, const CString& commandLine)
{
    SavedPlacement saved;
    if (!ParseWindowPos(winpos, saved)) return;

    PlacementRect work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT area;
    if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) work = {area.left, area.top, area.right, area.bottom};

    PlacementRect rect = FitIntoWorkArea(NormalizePlacementRect(saved.rect), work);
    if (IsShiftedPlacementCommandLine(commandLine)) rect = ShiftPlacement(rect, kShiftedPlacementOffset);

    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    placement.flags = 0;
    placement.showCmd = saved.maximized == 1 ? SW_SHOWMAXIMIZED : SW_HIDE;
    placement.ptMinPosition = {0, 0};
    placement.ptMaxPosition = {-::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER)};
    placement.rcNormalPosition = {rect.left, rect.top, rect.right, rect.bottom};
    frame.SetWindowPlacement(&placement);
}

BOOL CZorvikanDesktopApp::PreTranslateMessage(MSG* pMsg)
{
    if (m_pMainWnd &&
        (pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_KEYDOWN)) {
        CMainFrame* frame = GetMainFrame();
        if (CMainViewBase* view = frame ? frame->GetMainView() : nullptr) view->RestartAutoLockTimer();
    }
    return CWinApp::PreTranslateMessage(pMsg);
}

BOOL CZorvikanDesktopApp::RunFirstRunSetup()
{
    // A program without the Wi-Fi sync starts as on any other run.
    if (!m_pWifiSync) return TRUE;
    StartWifiSyncService();
    SetSyncMode(1);
    CString created;
    if (!m_pWifiSync->RunSetupWizard(created)) return FALSE;
    // Only the user the completed sync created or found becomes current.
    CUserItem* user = created.IsEmpty() ? nullptr : m_users.FindByKeyNameOrFirst(created);
    if (user && user->GetKeyName().CompareNoCase(created) == 0) m_pCurrentUser = user;
    SetSyncMode(2);
    SaveSyncMode(2);
    if (std::shared_ptr<CAppPrefs> prefs = CAppPrefMgr::GetInstance()->GetPrefs())
        prefs->SetVirginSync(GetPrefsSection(), false);
    return TRUE;
}

void CZorvikanDesktopApp::StartWifiSyncService()
{
    if (m_pWifiSync) m_pWifiSync->StartService();
}

int CZorvikanDesktopApp::GetSyncMode() { return m_pWifiSync ? m_pWifiSync->GetMode() : 2; }

void CZorvikanDesktopApp::SetSyncMode(int mode)
{
    if (m_pWifiSync) m_pWifiSync->SetMode(mode);
}

int CZorvikanDesktopApp::GetSavedSyncMode() { return m_pWifiSync ? m_pWifiSync->GetSavedMode() : 2; }

void CZorvikanDesktopApp::SaveSyncMode(int mode)
{
    if (m_pWifiSync) m_pWifiSync->SaveMode(mode);
}

void CZorvikanDesktopApp::ResetSyncMode()
{
    if (m_pWifiSync) m_pWifiSync->RestoreMode();
}

int CZorvikanDesktopApp::ExitInstance()
{
    ReleasePlatformLibraries();
    if (m_hLanguageLib) {
        AfxSetResourceHandle(nullptr);
        ::FreeLibrary(m_hLanguageLib);
        m_hLanguageLib = nullptr;
    }
    return CWinApp::ExitInstance();
}

void CZorvikanDesktopApp::OnAppAbout()
{
    CAboutDlg dlg(CString(kAppRegistryKey) + GetPrefsSection());
    dlg.DoModal();
}
