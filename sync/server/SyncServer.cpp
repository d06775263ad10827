#include "sync/server/SyncServer.h"

#include <algorithm>

#include "app/AppIds.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/FrameworkRes.h"
#include "framework/WinApp.h"
#include "sync/server/SocketTransport.h"
#include "sync/server/SyncPort.h"
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
    if (m_thread.joinable()) m_thread.join();
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
    if (!m_bonjour) m_bonjour = std::make_unique<CBonjourServiceRef>();
    // Without the announcement the handheld cannot find the desktop: no
    // server then.
    if (m_bonjour->Register(true) != 1) return;
    StartServer(SyncServerPort());
}

int CSyncServer::StartServer(int port)
{
    if (m_started) return 0;
    if (int error = m_listener.Start(port)) return error;
    m_started = true;
    m_thread = std::thread([this] {
        m_listener.Run(
            [this](SOCKET socket, const std::string& address, unsigned short) { RunSession(socket, address); });
    });
    return 0;
}

void CSyncServer::StartProgressThread()
{
    if (m_showProgress) AfxBeginThread(SyncProgressThreadProc, this);
}

bool CSyncServer::RunSetupWizard(CString& createdUser)
{
    iPhoneSetupWizard::CSetupWizardPS wizard("Zorvikan Setup Wizard", this, nullptr, 0);
    wizard.SetWizardMode();
    const bool finished = wizard.DoModal() == ID_WIZFINISH;
    createdUser = wizard.GetCreatedUserName();
    return finished;
}
