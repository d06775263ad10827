#include "mainwindow/data/UserFolderMoves.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "core/os/FileUtils.h"
#include "core/os/PathUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/prefs/ProductNames.h"
#include "core/store/DatabaseObj.h"
#include "core/users/UserItem.h"

namespace {

// The names in a folder, without "." and "..".
std::vector<CString> FolderEntries(const CString& folder)
{
    std::vector<CString> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(JoinPath(folder, "*").GetString(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0)
            names.push_back(data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

bool FolderExists(const CString& folder)
{
    const DWORD attributes = ::GetFileAttributesA(folder.GetString());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString LastComponent(CString path)
{
    path.TrimRight("\\/");
    const int at = path.ReverseFind('\\');
    return at < 0 ? path : path.Mid(at + 1);
}

}  // namespace

bool IsSameFolder(const CString& a, const CString& b) { return a.CompareNoCase(b) == 0; }

DatabaseFolderMove MoveUserDatabaseFolder(CDatabaseObj& database, CUserItem* user, const CString& oldFolder,
                                          const CString& newFolder, HWND owner)
{
    if (!user || newFolder.IsEmpty() || IsSameFolder(oldFolder, newFolder)) return DatabaseFolderMove::Unchanged;
    const CString target = JoinPath(newFolder, MakeSafeUserName(user->GetKeyName()));
    if (IsSameFolder(target, oldFolder)) return DatabaseFolderMove::Unchanged;
    const int result = database.MoveToFolder(target);
    if (result == ERROR_FILE_EXISTS || result == ERROR_ALREADY_EXISTS) return DatabaseFolderMove::DatabaseThere;
    if (result != 0) return DatabaseFolderMove::Failed;
    // The database went first; attachments, icons and the rest follow.
    for (const CString& name : FolderEntries(oldFolder)) MovePathSilently(JoinPath(oldFolder, name), target, owner);
    ::RemoveDirectoryA(oldFolder.GetString());  // only when nothing was left behind
    CAppPrefMgr::GetInstance()->GetPrefs()->SetUserDirectory(user, target);
    return DatabaseFolderMove::Moved;
}

bool MoveUserBackupFolder(CUserItem* user, const CString& oldFolder, const CString& newFolder, HWND owner)
{
    if (!user || newFolder.IsEmpty() || IsSameFolder(oldFolder, newFolder)) return false;
    auto manager = CAppPrefMgr::GetInstance();
    const CString current = manager->GetUserBackupDirectory(user);
    const CString destination = JoinPath(newFolder, kBackupFolderName);
    CString moved;
    if (!current.IsEmpty() && FolderExists(current)) {
        if (!MovePathSilently(current, destination, owner)) return false;
        moved = JoinPath(destination, LastComponent(current));
    } else {
        moved = JoinPath(destination, MakeSafeUserName(user->GetKeyName()));
        ::CreateDirectoryA(destination.GetString(), nullptr);
        if (!::CreateDirectoryA(moved.GetString(), nullptr) && !FolderExists(moved)) return false;
    }
    if (!FolderExists(moved)) return false;
    manager->GetPrefs()->SetBackupDirectory(user, moved);
    return true;
}
