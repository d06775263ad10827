#pragma once
// CDesktopData: what the plug-in reads of the desktop program's data: the
// users that the preferences know, the current user and that user's web
// logins, from the files themselves. Windows build only (preferences).
#include <memory>
#include <stdexcept>

#include "ZorvikanToolBar/link/WebLoginDatabase.h"
#include "core/crypto/SecretString.h"
#include "framework/CString.h"

class CUserItem;
class CUserList;

// No user can be found at all (GetCurrentUser).
class CNoDesktopUser : public std::runtime_error {
public:
    CNoDesktopUser() : std::runtime_error("no desktop user") {}
};

class CDesktopData {
public:
    // The users are loaded; the current user is the one given, else the
    // preferences' current user (none when there is no user at all). No
    // database file is read yet.
    explicit CDesktopData(CUserItem* user = nullptr);
    ~CDesktopData();
    CDesktopData(const CDesktopData&) = delete;
    CDesktopData& operator=(const CDesktopData&) = delete;

    void LoadUsers();
    // The preferences' "Current User" of the section "Preferences iPhone",
    // found case-insensitively, else the first user; the users are read
    // again when the name found differs from the stored one. Throws
    // CNoDesktopUser when there is no user at all.
    CUserItem* GetCurrentUser();
    // Current user anew, then its database. A failure to read the users
    // (on a listener thread too) keeps the user and data read last: false.
    bool ReloadForCurrentUser();
    // The current user's database file read again (false without a path).
    bool ReloadDatabase();

    bool CurrentUserHasPassword();
    bool VerifyPassword(const CSecretString& password);
    // Keys the master-password manager (an empty text drops the key). The
    // text is not kept.
    void SetPassword(const CSecretString& password);
    CString GetCurrentUserName();
    CUserItem* CurrentUser() const { return m_current; }
    void CollectWebLogins(CObList& list, const CString& text) const { m_db.CollectWebLogins(list, text); }
    const CWebLoginDatabase& Database() const { return m_db; }

private:
    // The current user in users, reloading them into users when the stored
    // name has gone stale. Throws CNoDesktopUser.
    CUserItem* FindCurrentUser(std::unique_ptr<CUserList>& users);

    std::unique_ptr<CUserList> m_users;
    CUserItem* m_current = nullptr;
    CWebLoginDatabase m_db;
    CString m_edition = "iPhone";
};
