// One Wi-Fi sync session of the server: the program's side of the session's
// local work (users, lock state, messages to the registered windows).
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "app/AppIds.h"
#include "app/logon/PasswordHint.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/os/FileUtils.h"
#include "core/os/ShellFileOps.h"
#include "core/prefs/AppPrefs.h"
#include "core/users/UserItem.h"
#include "sync/handheld/SQLiteLibrary.h"
#include "sync/server/SocketTransport.h"
#include "sync/server/SyncGateTransport.h"
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

    void OnState(int state) override
    {
        if (!m_staged) {
            m_state = state;
            return;
        }
        m_server.PostToWindows(WM_SYNC_STATE, static_cast<WPARAM>(state), 0);
    }

    void OnUserName(const CString& userName, const CString& userId) override
    {
        if (!m_staged) {
            m_userName = userName;
            m_userId = userId;
            m_named = true;
            return;
        }
        m_server.PostToWindows(WM_SYNC_USER_NAME, reinterpret_cast<WPARAM>(m_server.KeepText(userName)),
                               reinterpret_cast<LPARAM>(m_server.KeepText(userId)));
    }

    // The session has the stage: the windows hear of it from now on, first
    // what it did before.
    void Stage()
    {
        m_staged = true;
        // The main view closes its record editor, which keeps its edits.
        m_server.SendToWindows(WM_SYNC_STARTING, 0, 0);
        m_server.SaveViewDatabase();
        m_server.StartProgressThread();
        if (m_named) OnUserName(m_userName, m_userId);
        if (m_state >= 0) OnState(m_state);
    }
    bool Staged() const { return m_staged; }

    bool FindUser(const CString& userName, const CString& userId, SyncUserPlace& place) override
    {
        if (!m_app) return false;
        CUserItem* user = FindByKeyName(m_app->GetUsers(), userId);
        if (!user) {
            // Where a new user would keep its database: a file left there
            // must take the handheld's password as a known user's does.
            std::unique_ptr<CUserItem> stranger(CUserList::MakeNewUser(userName, userId));
            std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
            if (stranger && manager) place.databasePath = manager->GetDatabasePath(stranger.get());
            return false;
        }
        m_user = user;
        place = PlaceOf(user);
        return !place.databasePath.IsEmpty();
    }

    bool AdoptUser(const CString& userName, const CString& userId, SyncUserPlace& place) override
    {
        if (!m_app) return false;
        m_user = FindByKeyName(m_app->GetUsers(), userId);
        if (m_user) {
            TakeOverDisplayName(userName);
        } else {
            // Known to the program only once the session has completed.
            m_newUser.reset(CUserList::MakeNewUser(userName, userId));
            m_user = m_newUser.get();
            if (!m_user || !MakeNewUserFolder()) return false;
        }
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
        // Kept until the session has completed: a new user has no section
        // before that.
        m_hint = hint;
        m_hasHint = true;
    }

    void SessionEnded(SyncOutcome outcome, bool merged) override
    {
        if (outcome == SyncOutcome::kSucceeded) {
            if (m_newUser && m_app) m_app->GetUsers().AddUser(m_newUser.release());
            if (m_hasHint && m_user) CPasswordHint(m_user).SetHint(-1, CSecretString(), m_hint);
        } else if (m_newUser) {
            // A session that did not complete leaves no user behind.
            if (m_createdFolder) DeletePathSilently(m_newUserFolder, nullptr);
            m_user = nullptr;
        }
        m_newUser.reset();
        if (!m_user || !m_app || m_user != m_app->GetCurrentUser()) return;
        const bool told = outcome == SyncOutcome::kSucceeded || outcome == SyncOutcome::kPasswordMismatch ||
                          outcome == SyncOutcome::kCancelled;
        // A failure after the merge put the earlier files back: shown again.
        if (told || merged) {
            m_server.SendToWindows(WM_SYNC_USER_DONE, reinterpret_cast<WPARAM>(m_user), 0);
            m_server.SendToWindows(WM_SYNC_REFRESH_USER, reinterpret_cast<WPARAM>(m_user), 1);
        }
    }

    // The key name of the user the session synced with, once it succeeded.
    CString UserKeyName() const { return m_user ? m_user->GetKeyName() : CString(); }

private:
    // The handheld's name becomes the user's, its settings going along to
    // the section of the new name. A name that cannot be taken, or a section
    // that cannot be moved, leaves the user as it was.
    void TakeOverDisplayName(const CString& userName)
    {
        if (userName.IsEmpty() || m_user->GetDisplayName() == userName) return;
        std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
        std::shared_ptr<CAppPrefs> prefs = manager ? manager->GetPrefs() : nullptr;
        if (!prefs) return;
        const CString oldName = m_user->GetDisplayName();
        const CString oldSection = m_user->GetSectionName();
        if (!m_user->SetNames(userName, m_user->GetKeyName())) return;
        if (prefs->MoveUserSection(oldSection, m_user) != 0) m_user->SetNames(oldName, m_user->GetKeyName());
    }

    // The new user's folder with its database, attachment and icon folders.
    bool MakeNewUserFolder()
    {
        std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
        if (!manager) return false;
        m_newUserFolder = manager->GetUserDirectory(m_user);
        if (m_newUserFolder.IsEmpty()) return false;
        m_createdFolder = !PathExists(m_newUserFolder);
        return CreateFolderPath(m_newUserFolder) == 0 && PathExists(m_newUserFolder);
    }

    CSyncServer& m_server;
    CZorvikanDesktopApp* m_app;
    CUserItem* m_user = nullptr;
    std::unique_ptr<CUserItem> m_newUser;
    CString m_newUserFolder;
    bool m_createdFolder = false;
    bool m_current = false;
    CString m_hint;
    bool m_hasHint = false;
    bool m_staged = false;
    int m_state = -1;
    bool m_named = false;
    CString m_userName, m_userId;
};

// The session's work as the conversation sees it: the session takes the
// stage just before its password check.
class CStagedWork : public ISyncSessionWork {
public:
    CStagedWork(CHandheldSession& session, std::function<void()> stage, std::function<void()> noLibrary)
        : m_session(session), m_stage(std::move(stage)), m_noLibrary(std::move(noLibrary))
    {}

    int Mode() override { return m_session.Mode(); }
    std::unique_ptr<ISyncFileWriter> CreateReceivedFile(SyncBatch batch, const std::string& name) override
    {
        return m_session.CreateReceivedFile(batch, name);
    }
    bool CanSync() override { return m_session.CanSync(); }
    bool ReadDatabaseInfo() override
    {
        // Without the SQLite library nothing can be read: the session ends
        // at once, and the user is told elsewhere.
        void* library = LoadSqliteModule();
        if (!library) {
            m_noLibrary();
            return false;
        }
        FreeSqliteModule(library);
        return m_session.ReadDatabaseInfo();
    }
    SyncMergeResult CheckPasswordAndMerge() override
    {
        m_stage();
        return m_session.CheckPasswordAndMerge();
    }
    std::vector<std::string> ListFiles(SyncSendSet set) override { return m_session.ListFiles(set); }
    std::unique_ptr<ISyncFileReader> OpenFileToSend(SyncSendSet set, const std::string& name) override
    {
        return m_session.OpenFileToSend(set, name);
    }
    bool ApplyHandheldAttachments() override { return m_session.ApplyHandheldAttachments(); }
    bool WantsPasswordHint() override { return m_session.WantsPasswordHint(); }
    void StorePasswordHint(const std::string& hint) override { m_session.StorePasswordHint(hint); }

private:
    CHandheldSession& m_session;
    std::function<void()> m_stage;
    std::function<void()> m_noLibrary;
};

}  // namespace

SyncOutcome CSyncServer::RunSession(SOCKET socket, const std::string&)
{
    CSocketTransport socketTransport(socket);
    CSyncGateTransport transport(socketTransport, std::min(m_limits.receiveMs, CSyncGateTransport::kQuietMs));
    CServerSessionHost host(*this);
    CHandheldSession session(host);
    session.SetTimeLimit(m_limits.sessionMs);
    host.OnState(kSyncStateReceiving);
    std::unique_lock<std::mutex> stage(m_stage, std::defer_lock);
    CStagedWork work(
        session,
        [&] {
            LeaveWaiting();
            stage.lock();
            transport.Open();
            host.Stage();
        },
        [&] {
            host.OnState(kSyncStateUnreadable);
            m_window.ReportSqliteMissing();
        });
    SyncOutcome outcome = SyncOutcome::kFailed;
    if (session.Begin(TempFolder()) == 0) {
        CSyncWire wire(transport, m_limits);
        CSyncConversation conversation(wire, work);
        outcome = conversation.Run();
    }
    session.Finish(outcome);
    if (!host.Staged()) {
        LeaveWaiting();
        return outcome;
    }
    // The setup wizard learns from it whether a user is there to finish with.
    if (outcome == SyncOutcome::kSucceeded)
        CloseProgress(kSyncClosedSucceeded, reinterpret_cast<LPARAM>(KeepText(host.UserKeyName())));
    else
        CloseProgress();
    return outcome;
}
