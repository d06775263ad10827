#include "toolkit/progress/BasicProgressBar.h"

#include <commctrl.h>

#include "core/os/ProcessWide.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include "toolkit/ToolkitIds.h"

IMPLEMENT_DYNAMIC(CBasicProgressBar, CDialog)

BEGIN_MESSAGE_MAP(CBasicProgressBar, CDialog)
    ON_MESSAGE(WM_PROGRESSBAR_SET_CAPTION, &CBasicProgressBar::OnSetCaption)
    ON_MESSAGE(WM_PROGRESSBAR_SET_TEXT, &CBasicProgressBar::OnSetText)
    ON_MESSAGE(WM_PROGRESSBAR_DONE, &CBasicProgressBar::OnDone)
END_MESSAGE_MAP()

CBasicProgressBar::CBasicProgressBar() : CDialog(IDD_PROGRESS_BAR, nullptr) { m_finished.SetEvent(); }

CBasicProgressBar::~CBasicProgressBar()
{
    // A run still showing when the program ends is left to the system.
    if (m_hWnd) DestroyWindow();
}

std::shared_ptr<CBasicProgressBar> CBasicProgressBar::GetInstance()
{
    static CProcessWide<CBasicProgressBar> slot([] { return std::make_shared<CBasicProgressBar>(); });
    return slot.Get();
}

void CBasicProgressBar::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_TEXT, m_text);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_progress);
}

BOOL CBasicProgressBar::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_progress.SetRange(0, 100);
    m_progress.SetStep(50);
    m_progress.ModifyStyle(0, PBS_MARQUEE);
    m_progress.SetMarquee(TRUE, 15);
    UpdateData(FALSE);
    m_ready.SetEvent();
    return TRUE;
}

BOOL CBasicProgressBar::BeginRun(bool withOwner)
{
    bool expected = false;
    if (!m_running.compare_exchange_strong(expected, true)) return FALSE;
    m_withOwner = withOwner;
    m_ready.ResetEvent();
    m_finished.ResetEvent();
    if (!AfxBeginThread(RunProgressDialog, this)) {
        m_finished.SetEvent();
        m_running = false;
        return FALSE;
    }
    return TRUE;
}

INT_PTR CBasicProgressBar::RunModal()
{
    const INT_PTR result = DoModal();
    m_ready.ResetEvent();
    m_running = false;
    m_finished.SetEvent();
    return result;
}

HWND CBasicProgressBar::WaitUntilReady(DWORD timeoutMs)
{
    if (!m_running.load()) return nullptr;
    HANDLE events[2] = {m_ready.GetHandle(), m_finished.GetHandle()};
    const DWORD which = ::WaitForMultipleObjects(2, events, FALSE, timeoutMs);
    if (which != WAIT_OBJECT_0) return nullptr;
    return m_hWnd;
}

BOOL CBasicProgressBar::SendProgress(UINT message, const char* text, DWORD timeoutMs)
{
    HWND hWnd = WaitUntilReady(timeoutMs);
    if (!hWnd) return FALSE;
    DWORD_PTR result = 0;
    // Bounded: a window that stopped answering must not hold the worker.
    if (!::SendMessageTimeoutA(hWnd, message, (WPARAM)text, 0, SMTO_NORMAL, timeoutMs, &result)) return FALSE;
    return result == 1;
}

LRESULT CBasicProgressBar::OnSetCaption(WPARAM wParam, LPARAM)
{
    SetWindowText(wParam ? (const char*)wParam : "");
    return 1;
}

LRESULT CBasicProgressBar::OnSetText(WPARAM wParam, LPARAM)
{
    m_text.SetWindowText(wParam ? (const char*)wParam : "");
    return 1;
}

LRESULT CBasicProgressBar::OnDone(WPARAM wParam, LPARAM)
{
    m_text.SetWindowText(wParam ? (const char*)wParam : "");
    m_progress.SetMarquee(FALSE, 0);
    m_progress.ModifyStyle(PBS_MARQUEE, 0);
    m_progress.SetPos(100);
    if (CWnd* ok = GetDlgItem(IDOK)) ok->ShowWindow(SW_SHOW);
    return 1;
}

HWND CBasicProgressBar::GetModalOwner() const { return m_withOwner.load() ? CDialog::GetModalOwner() : nullptr; }

namespace {

// Waits for one of the handles while answering messages that other threads
// send to this one; the handle's index, or -1 when the time ran out.
int WaitAnsweringSends(const HANDLE* handles, DWORD count, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return -1;
        const DWORD which = ::MsgWaitForMultipleObjects(count, handles, FALSE, timeoutMs - elapsed, QS_SENDMESSAGE);
        if (which < WAIT_OBJECT_0 + count) return (int)(which - WAIT_OBJECT_0);
        if (which != WAIT_OBJECT_0 + count) return -1;
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

BOOL CBasicProgressBar::EndRun(DWORD timeoutMs)
{
    if (!m_running.load()) return TRUE;
    HANDLE events[2] = {m_ready.GetHandle(), m_finished.GetHandle()};
    const int which = WaitAnsweringSends(events, 2, timeoutMs);
    if (which < 0) return FALSE;
    if (which == 0 && m_hWnd) ::PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
    HANDLE finished = m_finished.GetHandle();
    return WaitAnsweringSends(&finished, 1, timeoutMs) == 0;
}

UINT RunProgressDialog(LPVOID pParam)
{
    if (pParam) static_cast<CBasicProgressBar*>(pParam)->RunModal();
    return 1;
}
