#include "sync/dialogs/SyncProgressDlg.h"

#include <memory>

#include <commctrl.h>

#include "app/AppIds.h"
#include "app/res/SyncFilesRes.h"
#include "framework/MessageMap.h"
#include "framework/WndMessages.h"
#include "sync/server/SyncServer.h"

namespace {

const UINT_PTR kAnimationTimer = IDC_SYNC_PROGRESS_BAR;
const UINT kAnimationMs = 25;

}  // namespace

BEGIN_MESSAGE_MAP(CiPhoneSyncInProgressDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SYNC_USER_NAME, &CiPhoneSyncInProgressDlg::OnSyncUserName)
    ON_MESSAGE(WM_SYNC_STATE, &CiPhoneSyncInProgressDlg::OnSyncState)
    ON_MESSAGE(WM_SYNC_CLOSE, &CiPhoneSyncInProgressDlg::OnSyncClose)
END_MESSAGE_MAP()

UINT SyncProgressThreadProc(LPVOID start)
{
    std::unique_ptr<SyncProgressStart> started(static_cast<SyncProgressStart*>(start));
    if (!started || !started->server) return 1;
    CiPhoneSyncInProgressDlg dialog(nullptr, started->server, started->ticket);
    dialog.DoModal();
    return 1;
}

CiPhoneSyncInProgressDlg::CiPhoneSyncInProgressDlg(CWnd* pParent, CSyncServer* server, unsigned ticket)
    : CDialog(IDD_SYNC_PROGRESS, pParent), m_server(server), m_ticket(ticket), m_status("Starting Sync...")
{}

const char* CiPhoneSyncInProgressDlg::StateText(int state)
{
    switch (state) {
    case 1: return "Starting Sync...";
    case 2: return "Getting data from handheld";
    case 4: return "Comparing data with desktop";
    case 5: return "Writing updated data to desktop";
    case 6:
    case 7: return "Writing updated data to handheld";
    case 8: return "Sync aborted due to unknown reason";
    case 9: return "Sync aborted due to password mismatch";
    case 10:
    case 11: return "Sync completed";
    case 12: return "Finishing...";
    case 13: return "Sync canceled";
    default: return nullptr;
    }
}

BOOL CiPhoneSyncInProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND bar = ::GetDlgItem(m_hWnd, IDC_SYNC_PROGRESS_BAR);
    if (bar) {
        LONG_PTR style = ::GetWindowLongPtrA(bar, GWL_STYLE);
        style = (style & ~static_cast<LONG_PTR>(PBS_SMOOTH)) | PBS_MARQUEE;
        ::SetWindowLongPtrA(bar, GWL_STYLE, style);
        ::SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(1, 100));
        ::SendMessageA(bar, PBM_SETSTEP, 1, 0);
    }
    m_timer = SetTimer(kAnimationTimer, kAnimationMs, nullptr);
    m_initialised = true;
    ShowStatus();
    // A session that ended before the window was made closes it at once.
    if (m_server && !m_server->JoinProgress(m_hWnd, m_ticket)) PostMessage(WM_SYNC_CLOSE, 0, 0);
    return TRUE;
}

void CiPhoneSyncInProgressDlg::ShowStatus() { ::SetDlgItemTextA(m_hWnd, IDC_SYNC_PROGRESS_TEXT, m_status); }

void CiPhoneSyncInProgressDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kAnimationTimer) {
        HWND bar = ::GetDlgItem(m_hWnd, IDC_SYNC_PROGRESS_BAR);
        if (::SendMessageA(bar, PBM_GETPOS, 0, 0) == 100)
            ::SendMessageA(bar, PBM_SETPOS, 0, 0);
        else
            ::SendMessageA(bar, PBM_STEPIT, 0, 0);
    }
    CDialog::OnTimer(nIDEvent);
}

LRESULT CiPhoneSyncInProgressDlg::OnSyncUserName(WPARAM wParam, LPARAM)
{
    const char* name = reinterpret_cast<const char*>(wParam);
    CString caption("Sync is in progress with the user :\"");
    caption += name ? name : "";
    caption += "\"";
    SetWindowText(caption);
    if (m_initialised) ShowStatus();
    return 1;
}

LRESULT CiPhoneSyncInProgressDlg::OnSyncState(WPARAM wParam, LPARAM)
{
    if (const char* text = StateText(static_cast<int>(wParam))) m_status = text;
    ShowStatus();
    return 1;
}

LRESULT CiPhoneSyncInProgressDlg::OnSyncClose(WPARAM, LPARAM)
{
    Close();
    return 1;
}

void CiPhoneSyncInProgressDlg::OnDestroy()
{
    Close();
    CDialog::OnDestroy();
}

void CiPhoneSyncInProgressDlg::Close()
{
    if (m_server) m_server->RemoveProgressWindow(m_hWnd);
    if (!m_initialised || m_closed) return;
    m_closed = true;
    if (m_timer) KillTimer(m_timer);
    m_timer = 0;
    ::SendDlgItemMessageA(m_hWnd, IDC_SYNC_PROGRESS_BAR, PBM_SETPOS, 100, 0);
    EndDialog(IDCANCEL);
}
