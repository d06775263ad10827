#include "app/install/RemovableDiskInstaller.h"

#include <windows.h>
#include <shlobj.h>

#include "app/res/ShellDialogsRes.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/os/DirTree.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/SystemInfo.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/ProductNames.h"
#include "core/store/DatabaseMutex.h"
#include "core/users/UserItem.h"
#include "framework/ModalSeam.h"
#include "toolkit/ToolkitIds.h"
#include "toolkit/progress/BasicProgressBar.h"

namespace {

const char kCaption[] = "Removable Disk installer";
const char kInProgress[] = "Installing to removable disk is in progress...";
const char kSucceeded[] = "Installation to removable disk succeeded.";
const char kTargetRefused[] =
    "Zorvikan cannot be installed inside its own data folder. Please choose another location.";

bool IsThere(const CString& path) { return ::GetFileAttributesA(path.GetString()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolder(const CString& folder) { ::CreateDirectoryA(folder.GetString(), nullptr); }

// Copies one file, overwriting. A source that is not there fails only when
// the installation needs it.
bool CopyOne(const CString& source, const CString& destination, bool required)
{
    if (!IsThere(source)) return !required;
    return ::CopyFileA(source.GetString(), destination.GetString(), FALSE) != FALSE;
}

CString Lower(CString text)
{
    text.MakeLower();
    text.TrimRight("\\/");
    return text;
}

// True when inner is outer or lies below it.
bool IsWithin(const CString& inner, const CString& outer)
{
    const CString a = Lower(inner), b = Lower(outer);
    return !b.IsEmpty() && (a == b || a.Find(b + "\\") == 0);
}

}  // namespace

RemovableInstallPlan::RemovableInstallPlan() = default;
RemovableInstallPlan::~RemovableInstallPlan() = default;

std::unique_ptr<RemovableInstallPlan> CRemovableDiskInstaller::MakePlan(CUserItem* user)
{
    if (!user) return nullptr;
    auto manager = CAppPrefMgr::GetInstance();
    auto plan = std::make_unique<RemovableInstallPlan>();
    plan->user = std::make_unique<CUserItem>(user->GetRecord());
    plan->user->SetStandalone(user->IsStandalone());
    plan->user->SetId(user->GetId());
    plan->programFolder = GetAppDirectory();
    plan->dataRoot = manager->GetDataRoot();
    plan->safeKey = MakeSafeUserName(user->GetKeyName());
    plan->userFolder = manager->GetUserDirectory(user);
    plan->backupFolder = manager->GetUserBackupDirectory(user);
    plan->eventsLog = manager->GetEventsLogPath();
    plan->smartTypes = manager->GetSmartTypesPath(user);
    GetSpecialFolderPath(CSIDL_SYSTEM, plan->systemFolder);
    plan->prefsSection = CZorvikanDesktopApp::GetPrefsSection();
    return plan;
}

CRemovableDiskInstaller::CRemovableDiskInstaller(const RemovableInstallPlan& plan) : m_plan(plan) {}

bool CRemovableDiskInstaller::IsTargetAllowed(const CString& target) const
{
    const CString folder = JoinPath(target, kProductFolderName);
    return !IsWithin(folder, m_plan.dataRoot) && !IsWithin(m_plan.dataRoot, folder) &&
           !IsWithin(folder, m_plan.userFolder) && !IsWithin(folder, m_plan.backupFolder);
}

std::vector<CString> CRemovableDiskInstaller::CopyAll(const CString& target)
{
    std::vector<CString> failed;
    const CString folder = JoinPath(target, kProductFolderName);
    MakeFolder(folder);
    if (!IsThere(folder)) {
        failed.push_back(folder);
        return failed;
    }
    const CString& program = m_plan.programFolder;
    auto file = [&](const char* name, bool required) {
        const CString destination = JoinPath(folder, name);
        if (!CopyOne(JoinPath(program, name), destination, required)) failed.push_back(destination);
    };
    file("Zorvikan Desktop.exe", true);
    file("CVPlatformMgr.dll", true);
    file("sqlite3.dll", true);
    file("Zorvikan User Guide.pdf", false);
    {
        // The database file is copied whole, never while another process
        // writes it.
        const CString destination = JoinPath(folder, m_plan.safeKey);
        CDatabaseMutexLock lock;
        if (!lock.IsLocked() || CopyDirectoryTree(m_plan.userFolder, destination) != 0) failed.push_back(destination);
    }
    const CString prefsFolder = JoinPath(folder, kPreferencesFolderName);
    MakeFolder(prefsFolder);
    const CString prefsFile = JoinPath(prefsFolder, kPreferencesFileName);
    CAppPrefMgr::GetInstance()->CopyPreferencesTo(m_plan.prefsSection, prefsFile, m_plan.user.get());
    if (!IsThere(prefsFile)) failed.push_back(prefsFile);
    const CString eventsLog = JoinPath(prefsFolder, kEventsLogFileName);
    if (!CopyOne(m_plan.eventsLog, eventsLog, false)) failed.push_back(eventsLog);
    const CString smartFolder = JoinPath(folder, kSmartTypesFolderName);
    MakeFolder(smartFolder);
    MakeFolder(JoinPath(smartFolder, m_plan.safeKey));
    const CString smartTypes = JoinPath(JoinPath(smartFolder, m_plan.safeKey), kSmartTypesFileName);
    if (!CopyOne(m_plan.smartTypes, smartTypes, false)) failed.push_back(smartTypes);
    const CString backupFolder = JoinPath(folder, kBackupFolderName);
    MakeFolder(backupFolder);
    const CString backup = JoinPath(backupFolder, m_plan.safeKey);
    if (IsThere(m_plan.backupFolder) && CopyDirectoryTree(m_plan.backupFolder, backup) != 0) failed.push_back(backup);
    const CString dnssd = JoinPath(folder, "dnssd.dll");
    if (!m_plan.systemFolder.IsEmpty() && !CopyOne(JoinPath(m_plan.systemFolder, "dnssd.dll"), dnssd, false))
        failed.push_back(dnssd);
    const CString installers = JoinPath(folder, kInstallersFolderName);
    MakeFolder(installers);
    for (const char* name : {"Bonjour.msi", "wuwinstaller.exe"}) {
        const CString destination = JoinPath(installers, name);
        if (!CopyOne(JoinPath(program, name), destination, false)) failed.push_back(destination);
    }
    file(kBrowserPluginFileName, false);
    return failed;
}

CString DescribeInstallResult(const std::vector<CString>& failed)
{
    if (failed.empty()) return kSucceeded;
    CString text = "Installation to removable disk did not complete. These could not be copied:";
    for (const CString& path : failed) text += "\n" + path;
    return text;
}

UINT RemovableDiskInstallThread(LPVOID param)
{
    std::unique_ptr<RemovableInstallPlan> plan(static_cast<RemovableInstallPlan*>(param));
    if (!plan || !plan->user || plan->programFolder.IsEmpty()) return 1;
    CString title;
    title.LoadString(IDS_CHOOSE_REMOVABLE_TARGET);
    CString target;
    if (!AfxGetModalSeam().BrowseForFolder(nullptr, title, nullptr, target) || target.IsEmpty()) return 1;
    CRemovableDiskInstaller installer(*plan);
    if (!installer.IsTargetAllowed(target)) {
        AfxGetModalSeam().MessageBox(nullptr, kTargetRefused, kCaption, MB_OK | MB_ICONERROR);
        return 1;
    }
    auto progress = CBasicProgressBar::GetInstance();
    if (!progress->BeginRun()) return 1;
    progress->SendProgress(WM_PROGRESSBAR_SET_CAPTION, kCaption);
    progress->SendProgress(WM_PROGRESSBAR_SET_TEXT, kInProgress);
    CString result;
    try {
        result = DescribeInstallResult(installer.CopyAll(target));
    } catch (...) {
        result = "Installation to removable disk failed.";
    }
    progress->SendProgress(WM_PROGRESSBAR_DONE, result.GetString());
    return 1;
}

bool StartRemovableDiskInstall(CUserItem* user)
{
    std::unique_ptr<RemovableInstallPlan> plan = CRemovableDiskInstaller::MakePlan(user);
    if (!plan) return false;
    HANDLE thread = ::CreateThread(
        nullptr, 0, [](LPVOID p) -> DWORD { return RemovableDiskInstallThread(p); }, plan.get(), 0, nullptr);
    if (!thread) return false;
    plan.release();  // the thread owns it now
    ::CloseHandle(thread);
    return true;
}
