#include "toolkit/progress/BusyProgress.h"

#include "toolkit/ToolkitIds.h"
#include "toolkit/progress/BasicProgressBar.h"

namespace {

std::atomic<int> g_shownCount{0};

// Waits for the event while answering messages that other threads send to
// this one (the progress window's thread may be sending to it).
void WaitAnsweringSends(HANDLE event)
{
    for (;;) {
        const DWORD which = ::MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_SENDMESSAGE);
        if (which != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

int GetBusyProgressShownCount() { return g_shownCount.load(); }

CBusyProgress::CBusyProgress(const char* caption, const char* text, DWORD delayMs)
    : m_caption(caption), m_text(text), m_delayMs(delayMs)
{
    m_watcher = std::thread([this] { Watch(); });
}

CBusyProgress::~CBusyProgress()
{
    m_workDone.SetEvent();
    WaitAnsweringSends(m_watchDone.GetHandle());
    m_watcher.join();
    if (m_shown.load()) CBasicProgressBar::GetInstance()->EndRun();
}

void CBusyProgress::Watch()
{
    if (::WaitForSingleObject(m_workDone.GetHandle(), m_delayMs) == WAIT_TIMEOUT) {
        std::shared_ptr<CBasicProgressBar> progress = CBasicProgressBar::GetInstance();
        // A run already going (another piece of work) keeps its window.
        if (progress->BeginRun(false)) {
            m_shown = true;
            ++g_shownCount;
            progress->SendProgress(WM_PROGRESSBAR_SET_CAPTION, m_caption);
            progress->SendProgress(WM_PROGRESSBAR_SET_TEXT, m_text);
        }
    }
    m_watchDone.SetEvent();
}
