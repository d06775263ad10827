#include "app/reset/ResetDatabase.h"

#include <windows.h>

#include "app/pluginlink/BrowserPlugin.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/ProductNames.h"
#include "core/prefs/Registry.h"
#include "core/users/UserItem.h"

namespace {

bool PathExistsHere(const CString& path) { return ::GetFileAttributesA(path.GetString()) != INVALID_FILE_ATTRIBUTES; }

// Moves source into the folder; a source that is not there has nothing to
// move.
bool MoveIfThere(const CString& source, const CString& folder)
{
    if (source.IsEmpty() || !PathExistsHere(source)) return true;
    return MovePathSilently(source, folder, nullptr);
}

}  // namespace

CString UniqueArchiveName(const CString& path)
{
    CString name = path + ".old";
    for (int n = 2; PathExistsHere(name); ++n) {
        name.Format("%s.old%d", path.GetString(), n);
    }
    return name;
}

CResetDatabase::CResetDatabase(CUserList& users, CUserItem* currentUser, const CString& dataRoot)
    : m_users(users), m_pCurrentUser(currentUser), m_dataRoot(dataRoot)
{}

int CResetDatabase::UninstallBrowserPlugin()
{
    if (m_removePlugin) return m_removePlugin();
    if (RegisterBrowserPlugin(1, 0) == 0) return 0;
    if (IsInternetExplorerRunning()) RestartInternetExplorer();
    return 1;
}

int CResetDatabase::Reset(bool currentUserOnly, bool archive, bool removePlugin)
{
    if (removePlugin && UninstallBrowserPlugin() == 0) return kResetPluginFailed;
    bool ok;
    if (archive)
        ok = currentUserOnly ? ArchiveUser(m_pCurrentUser) : ArchiveAllUsers();
    else
        ok = currentUserOnly ? DeleteUser(m_pCurrentUser) : DeleteAllUsers();
    return ok ? kResetDone : kResetIncomplete;
}

bool CResetDatabase::ArchiveUser(CUserItem* user)
{
    if (!user) return false;
    auto manager = CAppPrefMgr::GetInstance();
    const CString userFolder = manager->GetUserDirectory(user);
    if (userFolder.IsEmpty()) return false;
    const CString archive = UniqueArchiveName(userFolder);
    if (!::CreateDirectoryA(archive.GetString(), nullptr)) return false;
    const bool dataMoved = MoveIfThere(userFolder, archive);
    const bool backupMoved = MoveIfThere(manager->GetUserBackupDirectory(user), JoinPath(archive, kBackupFolderName));
    return dataMoved && backupMoved;
}

bool CResetDatabase::ArchiveAllUsers()
{
    if (m_dataRoot.IsEmpty()) return false;
    auto manager = CAppPrefMgr::GetInstance();
    bool ok = true;
    for (POSITION pos = m_users.GetHeadPosition(); pos;) {
        auto* user = static_cast<CUserItem*>(m_users.GetNext(pos));
        if (manager->HasCustomUserDirectory(user)) ok &= MoveIfThere(manager->GetUserDirectory(user), m_dataRoot);
        if (manager->HasCustomBackupDirectory(user))
            ok &= MoveIfThere(manager->GetUserBackupDirectory(user), JoinPath(m_dataRoot, kBackupFolderName));
    }
    return RenamePathSilently(m_dataRoot, UniqueArchiveName(m_dataRoot), nullptr) && ok;
}

bool CResetDatabase::DeleteUser(CUserItem* user)
{
    if (!user) return false;
    return CAppPrefMgr::GetInstance()->DeleteUserData(user) == 0;
}

bool CResetDatabase::DeleteAllUsers()
{
    if (m_dataRoot.IsEmpty()) return false;
    const LONG registry = DeleteRegistryTree(HKEY_CURRENT_USER, kLegacyRegistryRoot);
    bool ok = registry == ERROR_SUCCESS || registry == ERROR_FILE_NOT_FOUND;
    auto manager = CAppPrefMgr::GetInstance();
    for (POSITION pos = m_users.GetHeadPosition(); pos;) {
        auto* user = static_cast<CUserItem*>(m_users.GetNext(pos));
        if (manager->HasCustomUserDirectory(user) || manager->HasCustomBackupDirectory(user))
            ok &= manager->DeleteUserData(user) == 0;
    }
    return DeletePathSilently(m_dataRoot, nullptr) && ok;
}
