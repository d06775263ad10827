// The parts of the users that reach the program's preferences and folders.
#include <windows.h>

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/users/Platform.h"
#include "core/os/ShellFileOps.h"
#include "core/users/UserItem.h"

void CUserList::LoadUsers(const CString& productName, const CString& legacyKeyPrefix)
{
    CAppPrefMgr::GetInstance()->GetPrefs()->EnumUsers(productName, legacyKeyPrefix, *this);
}

CUserItem* CUserList::AddNewUser(const CString& displayName, const CString& keyName)
{
    CUserItem* user = MakeNewUser(displayName, keyName);
    if (user) AddUser(user);
    return user;
}

CUserItem* CUserList::MakeNewUser(const CString& displayName, const CString& keyName)
{
    if (displayName.IsEmpty() || keyName.IsEmpty() || !IsUsableKeyName(keyName)) return nullptr;
    UserRecord record = MakeEmptyUserRecord();
    // A platform name that does not fit the record is left out.
    SetUserRecordText(record.platformName, sizeof(record.platformName), PlatformGetPlatformName());
    if (!SetUserRecordText(record.displayName, sizeof(record.displayName), displayName) ||
        !SetUserRecordText(record.keyName, sizeof(record.keyName), keyName))
        return nullptr;
    record.platformType = PlatformGetPlatform();
    return new CUserItem(record);
}

void CUserList::AddUser(CUserItem* user)
{
    if (!user) return;
    CAppPrefMgr::GetInstance()->GetPrefs()->AddUser(user);
    AddTail(user);
}

CString CUserItem::GetNextBackupFilePath()
{
    std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
    CString folder = manager->GetUserBackupDirectory(this);
    if (folder.IsEmpty()) return CString();
    std::shared_ptr<CAppPrefs> prefs = manager->GetPrefs();
    int next = prefs->GetBackupFileCounter(this) + 1;
    if (next > 4 || next < 0) next = 0;
    CString name;
    name.Format("Backup-%d.zkv", next);
    CString path = JoinPath(folder, name);
    if (FileExists(path)) DeletePathSilently(path, nullptr);
    prefs->SetBackupFileCounter(this, next);
    return path;
}
