#pragma once
// CSyncServerWindow: the sync server's hidden window on the GUI thread. What
// a session has to show the user is shown from there, so that no message box
// ever holds a session's thread, and so the server, while it waits.
#include <windows.h>

#include <atomic>
#include <functional>

class CSyncServerWindow {
public:
    CSyncServerWindow() = default;
    ~CSyncServerWindow();
    CSyncServerWindow(const CSyncServerWindow&) = delete;
    CSyncServerWindow& operator=(const CSyncServerWindow&) = delete;

    // Makes the window on the calling thread, which must be the GUI thread.
    void Create();
    // Destroys it (on the GUI thread): work asked for from now on, or
    // waiting, is not run.
    void Destroy();
    HWND Window() const { return m_window; }

    // From any thread: the SQLite library's message, once while it shows.
    void ReportSqliteMissing();
    // Runs the work on the GUI thread and waits for it (at most waitMs);
    // false when there is no window or the wait ran out. A work that waited
    // too long still runs later: what it uses must live on.
    bool RunOnGuiThread(std::function<void()> work, UINT waitMs);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::atomic<HWND> m_window{nullptr};
    std::atomic<bool> m_sqliteShown{false};
};
