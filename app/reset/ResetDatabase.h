#pragma once
// CResetDatabase: takes the program back to a clean state: archives or
// erases the data of the current user or of all users, and removes the
// browser plug-in first when asked to (windows only: shell file operations
// and the registry).
#include <functional>

#include "framework/CString.h"

class CUserItem;
class CUserList;

enum ResetResult {
    kResetPluginFailed = 0,  // the plug-in could not be removed: nothing done
    kResetDone = 1,          // everything archived or erased
    kResetIncomplete = 2,    // the reset ran, but part of the data stayed
};

class CResetDatabase {
public:
    // dataRoot: the default data root below the documents folder, which the
    // all-users reset archives or deletes.
    CResetDatabase(CUserList& users, CUserItem* currentUser, const CString& dataRoot);

    // Replaces the plug-in removal (tests); the default unregisters the
    // plug-in and restarts Internet Explorer. 1 on success.
    void SetPluginRemoval(std::function<int()> removal) { m_removePlugin = std::move(removal); }

    int Reset(bool currentUserOnly, bool archive, bool removePlugin);
    int UninstallBrowserPlugin();
    // Each true when all of its data went where it should.
    bool ArchiveUser(CUserItem* user);
    bool ArchiveAllUsers();
    bool DeleteUser(CUserItem* user);
    bool DeleteAllUsers();

private:
    CUserList& m_users;
    CUserItem* m_pCurrentUser;
    CString m_dataRoot;
    std::function<int()> m_removePlugin;
};

// path + ".old", or, when that exists already, path + ".old2", ".old3", ...:
// an archive never lands inside an older one.
CString UniqueArchiveName(const CString& path);
