#pragma once
// CSyncServer: the Wi-Fi sync server of the program. It announces the
// service, accepts handheld connections on its own thread and runs each as a
// session (CHandheldSession over a CSyncConversation) on a thread of its own,
// telling the registered windows (main view, progress window, setup wizard)
// what happens through the sync messages of app/AppIds.h. It is what the main
// view registers with (ISyncViewRegistry) and what the application starts and
// asks for the sync mode (IWifiSyncService).
//
// Anybody on the network can connect. Until its password check a session
// receives side by side with the others, under short time-outs and without
// a word to the windows, so silent or slow peers hold up nobody; from the
// password check to its end a session has the stage to itself: one merge,
// one progress window and one set of messages at a time.
//
// The registered windows are kept under a lock: the progress window's thread
// joins and leaves while a session walks the list. Sent messages wait at most
// a while, so a window that hangs cannot hold a session for ever.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/services/SyncViewRegistry.h"
#include "app/services/WifiSyncService.h"
#include "sync/protocol/SyncConversation.h"
#include "sync/protocol/SyncWire.h"
#include "sync/server/BonjourServiceRef.h"
#include "sync/server/SyncListener.h"
#include "sync/server/SyncServerWindow.h"
#include "sync/session/SyncModeSetting.h"

class CDatabaseObj;
class CZorvikanDesktopApp;

class CSyncServer : public ISyncViewRegistry, public IWifiSyncService {
public:
    // app: the application whose users, current user and lock state the
    // sessions use; null in tests that run sessions without one.
    explicit CSyncServer(CZorvikanDesktopApp* app);
    // Stops the accept loop and waits for the server thread.
    ~CSyncServer() override;
    CSyncServer(const CSyncServer&) = delete;
    CSyncServer& operator=(const CSyncServer&) = delete;

    // ISyncViewRegistry.
    void AddProgressWindow(HWND window) override;
    void RemoveProgressWindow(HWND window) override;
    void SetDatabase(CDatabaseObj* database) override;

    // IWifiSyncService.
    void StartService() override;
    int GetMode() override { return ModeSetting().GetMode(); }
    void SetMode(int mode) override { ModeSetting().SetMode(mode); }
    int GetSavedMode() override { return ModeSetting().GetSavedMode(); }
    void SaveMode(int mode) override { ModeSetting().SaveMode(mode); }
    void RestoreMode() override { ModeSetting().RestoreMode(); }
    bool RunSetupWizard(CString& createdUser) override;

    // Starts the server thread on the port without announcing it (the
    // service's start does both). 0, or the system's error.
    int StartServer(int port);
    int Port() const { return m_listener.Port(); }
    // Sets the accept loop's stop flag.
    void StopSyncServer() { m_listener.Stop(); }

    // Runs one session on a connected socket (owned from then on) to its end.
    SyncOutcome RunSession(SOCKET socket, const std::string& peerAddress);

    // Sessions not yet past their password check at most; further
    // connections wait in the listen queue.
    static const int kMaxWaitingSessions = 64;

    // Tells every registered window, in the order they registered.
    void SendToWindows(UINT message, WPARAM wParam, LPARAM lParam);
    void PostToWindows(UINT message, WPARAM wParam, LPARAM lParam);
    // Two texts that stay valid while posted messages may still point at them.
    const char* KeepText(const CString& text);

    // Shows the session's progress window on a thread of its own.
    void StartProgressThread();
    // The progress window joins the registered windows, unless the session
    // it was started for has closed meanwhile (false: it closes at once).
    bool JoinProgress(HWND window, unsigned ticket);
    // The session's connection is closed: its progress window goes, also one
    // that has not joined yet. The parameters go with WM_SYNC_CLOSE.
    void CloseProgress(WPARAM wParam = 0, LPARAM lParam = 0);
    // Saves the main view's database on the GUI thread when it holds edits
    // its file lacks, so that the merge reads them; nothing without a view or
    // before the service's start.
    void SaveViewDatabase();
    // Tests run sessions without a progress window.
    void SetShowProgress(bool show) { m_showProgress = show; }
    void SetLimits(const SyncWireLimits& limits) { m_limits = limits; }
    CZorvikanDesktopApp* App() const { return m_app; }

private:
    // Made on first use, once the application has named its preferences
    // section.
    CSyncModeSetting& ModeSetting();
    // The accept loop's handler: the session on a thread of its own.
    void StartSession(SOCKET socket, const std::string& peerAddress);
    // A session passes its password check (or ends before it).
    void LeaveWaiting();
    // Wakes every session still waiting for its peer and waits for all to end.
    void EndSessions();

    CZorvikanDesktopApp* m_app;
    std::mutex m_lock;
    std::vector<HWND> m_windows;
    // Progress windows started, and how many of their sessions have closed.
    unsigned m_progressStarted = 0;
    unsigned m_progressClosed = 0;
    CDatabaseObj* m_database = nullptr;
    std::once_flag m_modeOnce;
    std::unique_ptr<CSyncModeSetting> m_mode;
    CSyncListener m_listener;
    std::thread m_thread;
    // One session from its password check to its end.
    std::mutex m_stage;
    // The sessions' threads: their sockets, and how many wait before their
    // password check.
    std::mutex m_sessionsLock;
    std::condition_variable m_sessionsChanged;
    std::multiset<SOCKET> m_sessionSockets;
    int m_waitingSessions = 0;
    bool m_ending = false;
    std::unique_ptr<CBonjourServiceRef> m_bonjour;
    // Made by the service's start, on the GUI thread.
    CSyncServerWindow m_window;
    bool m_started = false;
    bool m_serviceAsked = false;
    bool m_showProgress = true;
    SyncWireLimits m_limits;
    std::mutex m_textLock;
    std::deque<std::string> m_texts;
};

// What the progress window's thread is started with.
struct SyncProgressStart {
    CSyncServer* server;
    unsigned ticket;
};
// The progress window's thread (a SyncProgressStart it deletes): shows it
// until the session closes. 1.
UINT SyncProgressThreadProc(LPVOID start);
