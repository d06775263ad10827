#include "core/prefs/PreferenceCopy.h"

#include <windows.h>

#include <cstring>

#include "core/prefs/AppPrefMgr.h"
#include "core/os/FileUtils.h"
#include "core/prefs/INIAppPrefs.h"
#include "core/prefs/LegacyPrefs.h"
#include "core/os/PathUtils.h"
#include "core/prefs/ProductNames.h"
#include "core/users/Platform.h"
#include "core/prefs/Registry.h"
#include "core/items/ShowColumns.h"
#include "core/users/UserItem.h"
#include "core/users/UserRecord.h"

namespace {

bool FolderExists(const CString& path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool LegacyRegistryKeyExists()
{
    CRegistry key(HKEY_CURRENT_USER, kLegacyRegistryRoot);
    return key.OpenKey();
}

bool CopyApplicationSection(const CString& section, CAppPrefs& source, CAppPrefs& target, int mode)
{
    CString currentUser = source.GetCurrentUser(section);
    int version = source.GetDBVersion(section);
    bool virgin = source.GetVirginSync(section);
    bool noPrint = source.GetNoPrint(section);
    target.SetCurrentUser(section, currentUser);
    target.SetDBVersion(section, version);
    target.SetVirginSync(section, virgin);
    target.SetNoPrint(section, noPrint ? 1 : 0);
    // A target that cannot be written (a read-only or full disk) must not let
    // the source go.
    return target.GetCurrentUser(section) == currentUser && target.GetDBVersion(section) == version;
}

void CopyUserValues(const CString& section, CUserItem* user, CAppPrefs& source, CAppPrefs& target)
{
    uint8_t key[8];
    source.GetCurrentType(user, key);
    target.SetCurrentType(user, key);
    source.GetCurrentCategory(user, key);
    target.SetCurrentCategory(user, key);
    target.SetWindowPos(user, source.GetWindowPos(user));
    target.SetShowColumns(section, user, source.GetShowColumns(section, user));
    target.SetSortInfo(user, source.GetSortInfo(user));
    target.SetShowingDetails(user, source.GetShowingDetails(user) ? 1 : 0);
    target.SetDetailsPaneWidth(user, source.GetDetailsPaneWidth(user));
    target.SetAutoLock(user, source.GetAutoLock(user) ? 1 : 0);
    BYTE font[60];
    if (source.GetFont(user, font)) target.SetFont(user, font);
    target.SetRowColor(user, source.GetRowColor(user));
    target.SetSleepMinutes(user, source.GetSleepMinutes(user));
    target.SetMaxSleepMinutes(user, source.GetMaxSleepMinutes(user));
    target.SetPasswordGeneratorFlags(user, source.GetPasswordGeneratorFlags(user));
    target.SetCaseSensitive(user, source.GetCaseSensitive(user) ? 1 : 0);
    target.SetWholeWord(user, source.GetWholeWord(user) ? 1 : 0);
    target.SetBackupDirectory(user, source.GetBackupDirectory(user));
    target.SetRestoreDirectory(user, source.GetRestoreDirectory(user));
    target.SetBackupFileCounter(user, source.GetBackupFileCounter(user));
    CString hint = source.GetHint(user);
    if (!hint.IsEmpty()) target.SetHint(user, hint);
    target.SetLatestView(user, source.GetLatestView(user));
    target.SetAutoSubmit(user, source.GetAutoSubmit(user) ? 1 : 0);
    target.SetSearchColumns(user, source.GetSearchColumns(user) ? 1 : 0);
    target.SetClearClipboardOnExit(user, source.GetClearClipboardOnExit(user) ? 1 : 0);
}

int MoveUserDatabase(CAppPrefs& source, CAppPrefs& target, CUserItem* user, CAppPrefMgr& env)
{
    if (!user) return 0;
    const CString oldCustom = source.GetUserDirectory(user);
    const CString keyName = user->GetKeyName();
    if (!IsUsableKeyName(keyName)) {
        // No folder can be named after this key: the database stays, and the
        // target finds it where it is.
        if (!oldCustom.IsEmpty() && !target.SetUserDirectory(user, oldCustom)) return -1;
        return 0;
    }

    // Where the new layout expects the folder.
    CString newFolder = target.GetUserDirectory(user);
    if (newFolder.IsEmpty()) newFolder = JoinPath(env.GetDataRoot(), MakeSafeUserName(keyName));
    CString oldFolder = oldCustom;
    if (!oldFolder.IsEmpty())
        newFolder = JoinPath(oldFolder, MakeSafeFileName(keyName));
    else
        oldFolder = newFolder;  // nothing moves
    if (newFolder.IsEmpty()) return 0;

    if (!FolderExists(newFolder)) ::CreateDirectoryA(newFolder, nullptr);

    int result = 0;
    CString recorded = newFolder;
    const CString oldDatabase = JoinPath(oldFolder, kDatabaseFileName);
    if (oldFolder != newFolder && FileExists(oldDatabase)) {
        // Never over an existing file: a database already there stays, and so
        // does this one.
        if (FolderExists(newFolder) && ::MoveFileA(oldDatabase, JoinPath(newFolder, kDatabaseFileName))) {
            ::RemoveDirectoryA(oldFolder);  // only when it is empty now
        } else {
            recorded = oldFolder;
            result = -1;
        }
    }
    // Recorded only now, where the database really is.
    if (!oldCustom.IsEmpty() && !target.SetUserDirectory(user, recorded)) return -1;
    return result;
}

int CopyUserPreferences(CUserItem* user, const CString& section, CAppPrefMgr& env, int mode, CAppPrefs& source,
                        CAppPrefs& target)
{
    if (!user) return -1;
    // Copy mode leaves the database to the caller (the removable-disk install
    // copies the user's folder itself): the source's files stay where the
    // source preferences expect them, and the copy keeps the default folder.
    int result = mode == kPrefCopyMigrate ? MoveUserDatabase(source, target, user, env) : 0;
    if (!target.AddUser(user)) result = -1;
    CopyUserValues(section, user, source, target);
    target.SetVirginSync(section, false);

    // The copy is complete only when the target reads back what it was given.
    if (target.GetDisplayName(user) != user->GetDisplayName()) result = -1;

    if (mode == kPrefCopyMigrate && result == 0) source.DeleteUser(user);
    return result;
}

void CAppPrefMgr::CopyAllUsers(const CString& section, int mode, CAppPrefs& source, CAppPrefs& target)
{
    CString prefix;
    prefix.Format(kLegacyUserKeyFormat, PlatformGetPlatformName().GetString());
    CUserList users;
    source.EnumUsers(kProductName, prefix, users);
    for (POSITION pos = users.GetHeadPosition(); pos;) {
        CObject* item = users.GetNext(pos);
        if (auto* user = dynamic_cast<CUserItem*>(item))
            CopyUserPreferences(user, section, *this, mode, source, target);
    }
    users.DeleteAll();
}

int CopyPreferences(int mode, const CString& section, CAppPrefMgr& env, CUserItem* user, CAppPrefs& source,
                    CAppPrefs& target)
{
    bool sectionCopied = CopyApplicationSection(section, source, target, mode);
    int result = sectionCopied ? 0 : -1;
    if (user) {
        if (CopyUserPreferences(user, section, env, mode, source, target) != 0) result = -1;
    } else {
        env.CopyAllUsers(section, mode, source, target);
    }
    // The section goes last, so that values read with it (the column layout)
    // are still there while the users are copied. Without a section name the
    // key would be the whole older tree, users not taken over included.
    if (mode == kPrefCopyMigrate && sectionCopied && !section.IsEmpty())
        source.DeleteSection(CString(kLegacyRegistryRoot) + section);
    return result;
}

int CAppPrefMgr::MigrateLegacyPreferences(const CString& section, std::shared_ptr<CLegacyPrefs> legacy)
{
    auto prefs = std::make_shared<CINIAppPrefs>(m_prefsPath);
    SetPrefs(prefs);
    if (!legacy || !LegacyRegistryKeyExists() || m_prefsPath.IsEmpty() || FileExists(m_prefsPath)) return 0;
    CopyPreferences(kPrefCopyMigrate, section, *this, nullptr, *legacy, *prefs);
    return 1;
}

int CAppPrefMgr::CopyPreferencesTo(const CString& section, const CString& targetPath, CUserItem* user)
{
    CINIAppPrefs source(m_prefsPath);
    CINIAppPrefs target(targetPath);
    CopyPreferences(kPrefCopyCopy, section, *this, user, source, target);
    return 1;
}
