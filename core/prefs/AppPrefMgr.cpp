#include "core/prefs/AppPrefMgr.h"

#include <windows.h>
#include <shlobj.h>

#include "core/os/FileUtils.h"
#include "core/prefs/INIAppPrefs.h"
#include "core/prefs/ProductNames.h"
#include "core/os/PathUtils.h"
#include "core/os/ProcessWide.h"
#include "core/os/ShellFileOps.h"
#include "core/os/SystemInfo.h"
#include "core/users/UserItem.h"

namespace {

std::shared_ptr<CAppPrefMgr> MakeManager() { return std::make_shared<CAppPrefMgr>(); }

CProcessWide<CAppPrefMgr>& Instance()
{
    static CProcessWide<CAppPrefMgr> slot(&MakeManager);
    return slot;
}

// One folder level, when it does not exist yet; failures show up later.
void CreateOneFolder(const CString& path)
{
    if (!path.IsEmpty() && !FileExists(path)) CreateDirectoryA(path, nullptr);
}

bool IsRemovableDrive(const CString& folder)
{
    char root[MAX_PATH + 1] = {};
    if (folder.IsEmpty() || !GetVolumePathNameA(folder, root, MAX_PATH)) return false;
    return GetDriveTypeA(root) == DRIVE_REMOVABLE;
}

// Full, normalised form for comparing folders: no trailing backslash, upper
// case. Empty when the system cannot make it full.
CString ComparablePath(const CString& path)
{
    if (path.IsEmpty()) return CString();
    char full[MAX_PATH * 4] = {};
    DWORD n = GetFullPathNameA(path, sizeof(full), full, nullptr);
    if (n == 0 || n >= sizeof(full)) return CString();
    CString result(full);
    result.Replace('/', '\\');
    result.TrimRight('\\');
    result.MakeUpper();
    return result;
}

// True when ancestor is folder or lies above it.
bool IsSameOrAbove(const CString& ancestor, const CString& folder)
{
    if (ancestor.IsEmpty() || folder.IsEmpty()) return false;
    if (ancestor == folder) return true;
    return folder.GetLength() > ancestor.GetLength() && folder.Left(ancestor.GetLength()) == ancestor &&
           folder[ancestor.GetLength()] == '\\';
}

}  // namespace

std::shared_ptr<CAppPrefMgr> CAppPrefMgr::GetInstance() { return Instance().Get(); }

std::shared_ptr<CAppPrefMgr> CAppPrefMgr::ReplaceInstance(std::shared_ptr<CAppPrefMgr> instance)
{
    return Instance().Replace(std::move(instance));
}

CAppPrefMgr::CAppPrefMgr()
{
    CString current = GetCurrentDirectoryPath();
    CString documents;
    bool removable = IsRemovableDrive(current);
    if (!removable) GetSpecialFolderPath(CSIDL_PERSONAL, documents);
    m_dataRoot = ChooseDataRoot(current, removable, documents, m_removable);
    MakeFixedFolders();
}

CString CAppPrefMgr::ChooseDataRoot(const CString& currentDirectory, bool currentIsRemovable,
                                    const CString& documentsFolder, int& removable)
{
    removable = currentIsRemovable && !currentDirectory.IsEmpty() ? 1 : 0;
    return removable ? currentDirectory : MakeDataRootUnder(documentsFolder);
}

CAppPrefMgr::CAppPrefMgr(const CString& dataRoot, int removable) : m_dataRoot(dataRoot), m_removable(removable)
{
    MakeFixedFolders();
}

CString CAppPrefMgr::GetDocumentsDataRoot()
{
    CString documents;
    if (!GetSpecialFolderPath(CSIDL_PERSONAL, documents) || documents.IsEmpty()) return CString();
    return MakeDataRootUnder(documents);
}

CString CAppPrefMgr::MakeDataRootUnder(const CString& documentsFolder)
{
    if (documentsFolder.IsEmpty()) return CString();
    CString maker = JoinPath(documentsFolder, kMakerFolderName);
    CreateOneFolder(maker);
    CString root = JoinPath(maker, kProductFolderName);
    CreateOneFolder(root);
    return root;
}

void CAppPrefMgr::MakeFixedFolders()
{
    // Without a data root nothing is made: the fixed folders would otherwise
    // land in whatever the current directory is.
    if (m_dataRoot.IsEmpty()) return;
    CString preferences = JoinPath(m_dataRoot, kPreferencesFolderName);
    CreateOneFolder(preferences);
    m_backupRoot = JoinPath(m_dataRoot, kBackupFolderName);
    CreateOneFolder(m_backupRoot);
    m_smartTypesRoot = JoinPath(m_dataRoot, kSmartTypesFolderName);
    CreateOneFolder(m_smartTypesRoot);
    m_searchHistoryRoot = JoinPath(m_dataRoot, kSearchHistoryFolderName);
    CreateOneFolder(m_searchHistoryRoot);
    m_prefsPath = JoinPath(preferences, kPreferencesFileName);
    m_eventsLogPath = JoinPath(preferences, kEventsLogFileName);
}

std::shared_ptr<CAppPrefs> CAppPrefMgr::MakePrefs() const { return std::make_shared<CINIAppPrefs>(m_prefsPath); }

std::shared_ptr<CAppPrefs> CAppPrefMgr::GetPrefs() { return m_prefs.Get(); }

void CAppPrefMgr::SetPrefs(std::shared_ptr<CAppPrefs> prefs) { m_prefs.Replace(std::move(prefs)); }

CString CAppPrefMgr::SafeKeyFolder(const CString& root, CUserItem* user, bool create)
{
    if (!user || root.IsEmpty() || !IsUsableKeyName(user->GetKeyName())) return CString();
    CString folder = JoinPath(root, MakeSafeUserName(user->GetKeyName()));
    if (create) CreateOneFolder(folder);
    return folder;
}

CString CAppPrefMgr::GetUserDirectory(CUserItem* user)
{
    if (!user) return CString();
    CString custom = GetPrefs()->GetUserDirectory(user);
    if (!custom.IsEmpty()) return custom;
    return SafeKeyFolder(m_dataRoot, user, false);
}

CString CAppPrefMgr::GetDatabasePath(CUserItem* user)
{
    if (!user || m_dataRoot.IsEmpty()) return CString();
    CString folder = GetUserDirectory(user);
    return folder.IsEmpty() ? CString() : JoinPath(folder, kDatabaseFileName);
}

CString CAppPrefMgr::GetAttachmentsDirectory(CUserItem* user)
{
    CString folder = GetUserDirectory(user);
    if (folder.IsEmpty()) return CString();
    CString files = JoinPath(folder, kAttachmentsFolderName);
    CreateOneFolder(files);
    return files;
}

CString CAppPrefMgr::GetIconsDirectory(CUserItem* user)
{
    CString folder = GetUserDirectory(user);
    if (folder.IsEmpty()) return CString();
    CString icons = JoinPath(folder, kIconsFolderName);
    CreateOneFolder(icons);
    return icons;
}

CString CAppPrefMgr::GetUserBackupDirectory(CUserItem* user)
{
    if (!user) return CString();
    CString custom = GetPrefs()->GetBackupDirectory(user);
    if (!custom.IsEmpty()) return custom;
    return SafeKeyFolder(m_backupRoot, user, true);
}

CString CAppPrefMgr::GetBackupFolderOrDocuments(CUserItem* user)
{
    if (user) {
        CString custom = GetPrefs()->GetBackupDirectory(user);
        if (!custom.IsEmpty()) return custom;
    }
    CString documents;
    GetSpecialFolderPath(CSIDL_PERSONAL, documents);
    return documents;
}

CString CAppPrefMgr::GetUserSmartTypesFolder(CUserItem* user) { return SafeKeyFolder(m_smartTypesRoot, user, true); }

CString CAppPrefMgr::GetUserSearchHistoryFolder(CUserItem* user)
{
    return SafeKeyFolder(m_searchHistoryRoot, user, true);
}

CString CAppPrefMgr::GetSmartTypesPath(CUserItem* user)
{
    CString folder = GetUserSmartTypesFolder(user);
    return folder.IsEmpty() ? CString() : JoinPath(folder, kSmartTypesFileName);
}

CString CAppPrefMgr::GetSearchHistoryPath(CUserItem* user)
{
    CString folder = GetUserSearchHistoryFolder(user);
    return folder.IsEmpty() ? CString() : JoinPath(folder, kSearchHistoryFileName);
}

CString CAppPrefMgr::GetTempDirectory()
{
    char buffer[MAX_PATH] = {};
    DWORD n = GetTempPathA(MAX_PATH, buffer);
    if (n == 0 || n >= MAX_PATH) return CString();
    CString folder = JoinPath(buffer, kProductFolderName);
    CreateOneFolder(folder);
    return folder;
}

bool CAppPrefMgr::HasCustomUserDirectory(CUserItem* user)
{
    return user && !GetPrefs()->GetUserDirectory(user).IsEmpty();
}

bool CAppPrefMgr::HasCustomBackupDirectory(CUserItem* user)
{
    return user && !GetPrefs()->GetBackupDirectory(user).IsEmpty();
}

int CAppPrefMgr::RenameUser(CUserItem* user, const CString& displayName, const CString& keyName)
{
    if (!user || displayName.IsEmpty()) return -1;
    CString oldFolder = GetUserDirectory(user);
    CString oldBackup = GetUserBackupDirectory(user);
    CString oldSection = user->GetSectionName();
    CString oldDisplay = user->GetDisplayName();
    CString oldKey = user->GetKeyName();

    if (!user->SetNames(displayName, keyName)) return -1;
    CString newFolder = GetUserDirectory(user);
    CString newBackup = GetUserBackupDirectory(user);

    // A folder that does not exist yet has nothing to move; one taken from a
    // preference keeps its name.
    auto needsRename = [](const CString& from, const CString& to) {
        return !from.IsEmpty() && !to.IsEmpty() && from.CompareNoCase(to) != 0 && FileExists(from);
    };
    // The new backup folder was created by the look-up above; an empty one
    // makes way for the renamed folder.
    if (needsRename(oldBackup, newBackup)) RemoveDirectoryA(newBackup);

    bool folderRenamed = false;
    bool ok = true;
    if (needsRename(oldFolder, newFolder)) {
        ok = RenamePathSilently(oldFolder, newFolder, nullptr);
        folderRenamed = ok;
    }
    bool backupRenamed = false;
    if (ok && needsRename(oldBackup, newBackup)) {
        ok = RenamePathSilently(oldBackup, newBackup, nullptr);
        backupRenamed = ok;
    }
    // The settings follow last: a user renamed without them would start
    // afresh under the new name.
    if (ok && GetPrefs()->MoveUserSection(oldSection, user) != 0) ok = false;
    if (!ok) {
        // Put everything back as it was: names, and the folders already moved.
        if (backupRenamed) RenamePathSilently(newBackup, oldBackup, nullptr);
        if (folderRenamed) RenamePathSilently(newFolder, oldFolder, nullptr);
        user->SetNames(oldDisplay, oldKey);
        return -1;
    }
    return 0;
}

bool CAppPrefMgr::IsProtectedPath(const CString& path) const
{
    CString target = ComparablePath(path);
    if (target.IsEmpty()) return true;
    // A drive or share root is never a user's folder.
    if (target.GetLength() <= 2 || (target.GetLength() == 3 && target[1] == ':')) return true;
    if (IsSameOrAbove(target, ComparablePath(m_dataRoot))) return true;
    CString preferences = JoinPath(m_dataRoot, kPreferencesFolderName);
    const CString fixed[] = {preferences, m_backupRoot, m_smartTypesRoot, m_searchHistoryRoot};
    for (const CString& folder : fixed)
        if (!folder.IsEmpty() && IsSameOrAbove(target, ComparablePath(folder))) return true;
    return false;
}

int CAppPrefMgr::DeleteUserData(CUserItem* user)
{
    if (!user) return -1;
    const CString folders[] = {GetUserDirectory(user), GetUserBackupDirectory(user), GetUserSmartTypesFolder(user),
                               GetUserSearchHistoryFolder(user)};
    int result = 0;
    for (const CString& folder : folders) {
        if (folder.IsEmpty()) continue;
        if (IsProtectedPath(folder)) {
            result = -1;
            continue;
        }
        if (FileExists(folder) && !DeletePathSilently(folder, nullptr)) result = -1;
    }
    GetPrefs()->DeleteUser(user);
    return result;
}
