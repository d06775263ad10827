#include "sync/server/SyncServerWindow.h"

#include <memory>

#include "sync/SyncIds.h"
#include "sync/handheld/SQLiteLibrary.h"

namespace {

const char kClassName[] = "ZorvikanSyncServerWindow";

}  // namespace

CSyncServerWindow::~CSyncServerWindow() { Destroy(); }

void CSyncServerWindow::Destroy()
{
    if (HWND window = m_window.exchange(nullptr)) ::DestroyWindow(window);
}

void CSyncServerWindow::Create()
{
    if (m_window) return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &CSyncServerWindow::Proc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);  // fails harmlessly when already registered
    HWND window =
        ::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (window) ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_window = window;
}

void CSyncServerWindow::ReportSqliteMissing()
{
    HWND window = m_window;
    // One message at a time: sessions that fail meanwhile add none.
    if (!window || m_sqliteShown.exchange(true)) return;
    if (!::PostMessageA(window, WM_SYNC_SQLITE_MISSING, 0, 0)) m_sqliteShown = false;
}

bool CSyncServerWindow::RunOnGuiThread(std::function<void()> work, UINT waitMs)
{
    HWND window = m_window;
    if (!window) return false;
    // The window's procedure deletes it once run.
    auto* held = new std::function<void()>(std::move(work));
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutA(window, WM_SYNC_RUN_ON_GUI, 0, reinterpret_cast<LPARAM>(held), SMTO_NORMAL, waitMs,
                              &result))
        return true;
    // Not delivered at all (rather than waited for too long): never runs.
    if (::GetLastError() != ERROR_TIMEOUT) delete held;
    return false;
}

LRESULT CALLBACK CSyncServerWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYNC_RUN_ON_GUI) {
        std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
        (*work)();
        return 1;
    }
    if (message == WM_SYNC_SQLITE_MISSING) {
        auto* self = reinterpret_cast<CSyncServerWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        ReportSqliteLoadFailure();
        if (self) self->m_sqliteShown = false;
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}
