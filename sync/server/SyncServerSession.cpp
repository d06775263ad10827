// One Wi-Fi sync session of the server: the program's side of the session's
// local work (users, lock state, messages to the registered windows).
#include <cstdlib>

#include "app/AppIds.h"
#include "app/logon/PasswordHint.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "sync/server/SocketTransport.h"
#include "sync/server/SyncServer.h"
#include "sync/session/HandheldSession.h"

namespace {

CUserItem* FindByKeyName(CUserList& users, const CString& keyName)
{
    for (POSITION pos = users.GetHeadPosition(); pos;) {
        CUserItem* user = dynamic_cast<CUserItem*>(users.GetNext(pos));
        if (user && user->GetKeyName() == keyName) return user;
    }
    return nullptr;
}

SyncUserPlace PlaceOf(CUserItem* user)
{
    SyncUserPlace place;
    std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
    if (!manager || !user) return place;
    place.databasePath = manager->GetDatabasePath(user);
    place.attachmentsFolder = manager->GetAttachmentsDirectory(user);
    place.iconsFolder = manager->GetIconsDirectory(user);
    return place;
}

std::string TempFolder()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof path, path);
    std::string folder(path, length > 0 && length < sizeof path ? length : 0);
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

class CServerSessionHost : public ISyncSessionHost {
public:
    explicit CServerSessionHost(CSyncServer& server) : m_server(server), m_app(server.App()) {}

    int Mode() override { return m_server.GetMode(); }

    bool CanSync() override { return !m_app || !m_app->IsLogonPending(); }

    void OnState(int state) override { m_server.PostToWindows(WM_SYNC_STATE, static_cast<WPARAM>(state), 0); }

    void OnUserName(const CString& userName, const CString& userId) override
    {
        m_server.PostToWindows(WM_SYNC_USER_NAME, reinterpret_cast<WPARAM>(m_server.KeepText(userName)),
                               reinterpret_cast<LPARAM>(m_server.KeepText(userId)));
    }

    bool FindUser(const CString&, const CString& userId, SyncUserPlace& place) override
    {
        if (!m_app) return false;
        CUserItem* user = FindByKeyName(m_app->GetUsers(), userId);
        if (!user) return false;
        m_user = user;
        place = PlaceOf(user);
        return !place.databasePath.IsEmpty();
    }

    bool AdoptUser(const CString& userName, const CString& userId, SyncUserPlace& place) override
    {
        if (!m_app) return false;
        CUserList& users = m_app->GetUsers();
        m_user = users.FindByKeyNameAndUpdate(userName, userId);
        if (!m_user) m_user = users.AddNewUser(userName, userId);
        if (!m_user) return false;
        m_current = m_user == m_app->GetCurrentUser();
        place = PlaceOf(m_user);
        return !place.databasePath.IsEmpty();
    }

    void BeforeMerge() override
    {
        if (m_current) m_server.PostToWindows(WM_SYNC_MERGE_NOTIFY, reinterpret_cast<WPARAM>(m_user), 0);
    }

    void AfterMerge() override
    {
        // The view shows the current user's data: reopened in every case,
        // as the session wrote under its own key and never switched it.
        if (CUserItem* current = m_app ? m_app->GetCurrentUser() : nullptr) {
            m_server.SendToWindows(WM_SYNC_REFRESH_USER, reinterpret_cast<WPARAM>(current), 1);
        }
    }

    bool WantsPasswordHint() override
    {
        std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
        std::shared_ptr<CAppPrefs> prefs = manager ? manager->GetPrefs() : nullptr;
        return prefs && prefs->GetVirginSync(CZorvikanDesktopApp::GetPrefsSection());
    }

    void StorePasswordHint(const CString& hint) override
    {
        if (m_user) CPasswordHint(m_user).SetHint(-1, CSecretString(), hint);
    }

    void SessionEnded(SyncOutcome outcome, bool merged) override
    {
        if (!m_user || !m_app || m_user != m_app->GetCurrentUser()) return;
        const bool told = outcome == SyncOutcome::kSucceeded || outcome == SyncOutcome::kPasswordMismatch ||
                          outcome == SyncOutcome::kCancelled;
        // A failure after the merge put the earlier files back: shown again.
        if (told || merged) {
            m_server.SendToWindows(WM_SYNC_USER_DONE, reinterpret_cast<WPARAM>(m_user), 0);
            m_server.SendToWindows(WM_SYNC_REFRESH_USER, reinterpret_cast<WPARAM>(m_user), 1);
        }
    }

private:
    CSyncServer& m_server;
    CZorvikanDesktopApp* m_app;
    CUserItem* m_user = nullptr;
    bool m_current = false;
};

}  // namespace

SyncOutcome CSyncServer::RunSession(SOCKET socket, const std::string&)
{
    CSocketTransport transport(socket);
    SendToWindows(WM_SYNC_STARTING, 0, 0);
    StartProgressThread();
    CServerSessionHost host(*this);
    CHandheldSession session(host);
    host.OnState(kSyncStateReceiving);
    SyncOutcome outcome = SyncOutcome::kFailed;
    if (session.Begin(TempFolder()) == 0) {
        CSyncWire wire(transport, m_limits);
        CSyncConversation conversation(wire, session);
        outcome = conversation.Run();
    }
    session.Finish(outcome);
    PostToWindows(WM_SYNC_CLOSE, 0, 0);
    return outcome;
}
