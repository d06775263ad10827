#include "sync/server/SyncServer.h"

#include <algorithm>

#include "app/AppIds.h"
#include "app/history/LogEvents.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/users/UserItem.h"
#include "framework/FrameworkRes.h"
#include "framework/WinApp.h"
#include "sync/server/SocketTransport.h"
#include "sync/server/SyncPort.h"
#include "sync/server/UnsavedEdits.h"
#include "sync/wizard/SetupWizard.h"

namespace {

// How long a sent message may keep a session waiting.
const UINT kSendWaitMs = 60000;
// Texts posted with WM_SYNC_USER_NAME that are kept for late readers.
const size_t kKeptTexts = 32;

}  // namespace

CSyncServer::CSyncServer(CZorvikanDesktopApp* app) : m_app(app)
{
    m_limits.receiveMs = SyncReceiveTimeoutMs();
    m_limits.sendMs = m_limits.receiveMs;
}

CSyncServer::~CSyncServer()
{
    m_listener.Stop();
    {
        // The accept loop may be waiting for a free place.
        std::lock_guard<std::mutex> lock(m_sessionsLock);
        m_ending = true;
        m_sessionsChanged.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
    // The GUI thread waits here: a session must not wait for it.
    m_window.Destroy();
    EndSessions();
}

CSyncModeSetting& CSyncServer::ModeSetting()
{
    std::call_once(m_modeOnce, [this] {
        m_mode = std::make_unique<CSyncModeSetting>(
            [] {
                std::shared_ptr<CAppPrefMgr> manager = CAppPrefMgr::GetInstance();
                return manager ? manager->GetPrefs().get() : nullptr;
            },
            CZorvikanDesktopApp::GetPrefsSection());
    });
    return *m_mode;
}

void CSyncServer::AddProgressWindow(HWND window)
{
    if (!window) return;
    std::lock_guard<std::mutex> guard(m_lock);
    m_windows.push_back(window);
}

void CSyncServer::RemoveProgressWindow(HWND window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = std::find(m_windows.begin(), m_windows.end(), window);
    if (found != m_windows.end()) m_windows.erase(found);
}

void CSyncServer::SetDatabase(CDatabaseObj* database)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_database = database;
}

void CSyncServer::SendToWindows(UINT message, WPARAM wParam, LPARAM lParam)
{
    std::vector<HWND> windows;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        windows = m_windows;
    }
    for (HWND window : windows) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendWaitMs, &result);
    }
}

void CSyncServer::PostToWindows(UINT message, WPARAM wParam, LPARAM lParam)
{
    std::vector<HWND> windows;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        windows = m_windows;
    }
    for (HWND window : windows) PostMessageA(window, message, wParam, lParam);
}

const char* CSyncServer::KeepText(const CString& text)
{
    std::lock_guard<std::mutex> guard(m_textLock);
    m_texts.push_back(text.Std());
    while (m_texts.size() > kKeptTexts) m_texts.pop_front();
    return m_texts.back().c_str();
}

void CSyncServer::StartService()
{
    // Once per run, whatever the outcome: a declined installation is not
    // offered again.
    if (m_serviceAsked) return;
    m_serviceAsked = true;
    // The handheld can also be given the desktop's address by hand: the
    // server listens whatever the announcement does.
    m_window.Create();
    StartServer(SyncServerPort());
    if (!m_bonjour) m_bonjour = std::make_unique<CBonjourServiceRef>();
    if (m_bonjour->Register(true) == 1) return;
    const CUserItem* user = m_app ? m_app->GetCurrentUser() : nullptr;
    CLogEvents::GetInstance()->AddEvent("Wi-Fi sync", "Service not announced",
                                        user ? user->GetDisplayName() : CString());
}

int CSyncServer::StartServer(int port)
{
    if (m_started) return 0;
    if (int error = m_listener.Start(port)) return error;
    m_started = true;
    m_thread = std::thread([this] {
        m_listener.Run(
            [this](SOCKET socket, const std::string& address, unsigned short) { StartSession(socket, address); });
    });
    return 0;
}

void CSyncServer::StartSession(SOCKET socket, const std::string& peerAddress)
{
    {
        std::unique_lock<std::mutex> lock(m_sessionsLock);
        // The accept loop waits while too many peers have not passed their
        // check yet: each is dropped within seconds.
        m_sessionsChanged.wait(lock, [this] { return m_ending || m_waitingSessions < kMaxWaitingSessions; });
        if (m_ending) {
            CloseSyncSocket(socket);
            return;
        }
        ++m_waitingSessions;
        m_sessionSockets.insert(socket);
    }
    std::thread([this, socket, peerAddress] {
        RunSession(socket, peerAddress);
        std::lock_guard<std::mutex> lock(m_sessionsLock);
        m_sessionSockets.erase(m_sessionSockets.find(socket));
        m_sessionsChanged.notify_all();
    }).detach();
}

void CSyncServer::LeaveWaiting()
{
    std::lock_guard<std::mutex> lock(m_sessionsLock);
    --m_waitingSessions;
    m_sessionsChanged.notify_all();
}

void CSyncServer::EndSessions()
{
    std::unique_lock<std::mutex> lock(m_sessionsLock);
    // A receive in progress ends at once when its socket is shut down.
    for (SOCKET socket : m_sessionSockets) shutdown(socket, SD_BOTH);
    m_sessionsChanged.wait(lock, [this] { return m_sessionSockets.empty(); });
}

void CSyncServer::SaveViewDatabase()
{
    m_window.RunOnGuiThread(
        [this] {
            CDatabaseObj* database = nullptr;
            {
                std::lock_guard<std::mutex> guard(m_lock);
                database = m_database;
            }
            if (!database || !database->CanSave()) return;
            const BlowfishKeyPtr key = GetMasterPwdMgr()->GetKey();
            if (HoldsUnsavedEdits(*database, key.get())) database->Save();
        },
        kSendWaitMs);
}

void CSyncServer::StartProgressThread()
{
    if (!m_showProgress) return;
    unsigned ticket;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ticket = ++m_progressStarted;
    }
    AfxBeginThread(SyncProgressThreadProc, new SyncProgressStart{this, ticket});
}

bool CSyncServer::JoinProgress(HWND window, unsigned ticket)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_progressClosed >= ticket) return false;
    m_windows.push_back(window);
    return true;
}

void CSyncServer::CloseProgress(WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_progressClosed = m_progressStarted;
    }
    PostToWindows(WM_SYNC_CLOSE, wParam, lParam);
}

bool CSyncServer::RunSetupWizard(CString& createdUser)
{
    iPhoneSetupWizard::CSetupWizardPS wizard("Zorvikan Setup Wizard", this, nullptr, 0);
    wizard.SetWizardMode();
    const bool finished = wizard.DoModal() == ID_WIZFINISH;
    createdUser = wizard.GetCreatedUserName();
    return finished;
}
