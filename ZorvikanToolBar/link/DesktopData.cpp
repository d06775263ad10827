#include "ZorvikanToolBar/link/DesktopData.h"

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/UserItem.h"

namespace {

void LoadInto(CUserList& users, const CString& edition)
{
    CString prefix;
    prefix.Format("software\\corvantide\\zorvikan desktop\\%s - ", edition.GetString());
    users.LoadUsers("Zorvikan", prefix);
}

}  // namespace

CDesktopData::CDesktopData(CUserItem* user) : m_users(new CUserList())
{
    LoadUsers();
    if (user) {
        m_current = user;
        return;
    }
    try {
        m_current = FindCurrentUser(m_users);
    } catch (const CNoDesktopUser&) {
        m_current = nullptr;
    }
}

CDesktopData::~CDesktopData() = default;

void CDesktopData::LoadUsers()
{
    m_users->DeleteAll();
    m_current = nullptr;
    LoadInto(*m_users, m_edition);
}

CUserItem* CDesktopData::FindCurrentUser(std::unique_ptr<CUserList>& users)
{
    CString section;
    section.Format("Preferences %s", m_edition.GetString());
    CString stored = CAppPrefMgr::GetInstance()->GetPrefs()->GetCurrentUser(section);
    CUserItem* user = users->FindByKeyNameOrFirst(stored);
    if (user && user->GetKeyName().CompareNoCase(stored) != 0) {
        std::unique_ptr<CUserList> fresh(new CUserList());
        LoadInto(*fresh, m_edition);
        user = fresh->FindByKeyNameOrFirst(stored);
        if (user) users.swap(fresh);
    }
    if (!user) throw CNoDesktopUser();
    return user;
}

CUserItem* CDesktopData::GetCurrentUser()
{
    CUserItem* user = FindCurrentUser(m_users);
    m_current = user;
    return user;
}

bool CDesktopData::ReloadForCurrentUser()
{
    // Read into a list of its own, so a failure leaves the users, the
    // current user and the database as they were.
    std::unique_ptr<CUserList> users(new CUserList());
    CUserItem* user = nullptr;
    try {
        LoadInto(*users, m_edition);
        user = FindCurrentUser(users);
    } catch (...) {
        return false;
    }
    m_users.swap(users);
    m_current = user;
    ReloadDatabase();
    return true;
}

bool CDesktopData::ReloadDatabase()
{
    if (!m_current) return false;
    return m_db.Load(CAppPrefMgr::GetInstance()->GetDatabasePath(m_current));
}

bool CDesktopData::CurrentUserHasPassword() { return m_current && UserHasMasterPassword(m_current); }

bool CDesktopData::VerifyPassword(const CSecretString& password)
{
    return m_current && GetMasterPwdMgr()->VerifyPassword(m_current, password);
}

void CDesktopData::SetPassword(const CSecretString& password) { GetMasterPwdMgr()->SetPassword(password); }

CString CDesktopData::GetCurrentUserName() { return m_current ? m_current->GetDisplayName() : CString(); }
