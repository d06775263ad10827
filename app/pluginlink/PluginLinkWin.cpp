#include <windows.h>
#include <process.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "core/link/LinkChangeCounts.h"
#include "app/pluginlink/PluginLink.h"
#include "core/link/WebLoginRecord.h"
#include "core/link/NamedEvent.h"
#include "core/link/SharedMemory.h"
#include "framework/CEvent.h"
#include "framework/Wnd.h"

static_assert(CSharedMemory::kSize == WebLoginRecord::kSize, "the shared block holds one record");

namespace {

// How long the link's end waits for a worker that is inside a sent message.
const DWORD kJoinMilliseconds = 1000;

unsigned __stdcall PluginLinkWaitThread(void* pParam);

}  // namespace

// Everything a worker uses. Each worker holds a shared reference, so a worker
// that is still busy when the link ends never touches freed memory; the
// members follow the link's order of creation, and go in the reverse one.
struct CPluginLink::State : std::enable_shared_from_this<CPluginLink::State> {
    explicit State(const WebLoginLinkNames& names)
        : appRunning(FALSE, FALSE, names.appRunning), dbChange(names.dbChange), userChange(names.userChange),
          memory(names.sharedMemory), eventAdded(names.eventAdded), counts(names.changeCounts), stop(FALSE, TRUE)
    {}

    ~State()
    {
        for (HANDLE thread : threads) ::CloseHandle(thread);
    }

    CEvent appRunning;
    CNamedEvent dbChange;
    CNamedEvent userChange;
    CSharedMemory memory;
    std::atomic<int> busy{0};
    CNamedEvent eventAdded;
    CLinkChangeCounts counts;
    CEvent stop;  // manual reset: every worker sees it

    mutable std::mutex lock;
    CWnd* owner = nullptr;  // null once the link is stopping
    bool stopping = false;
    std::vector<HANDLE> threads;  // the workers, for joining

    // The owner's window, or null once the link stops (or before the window
    // exists).
    HWND OwnerWindow() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return owner ? owner->GetSafeHwnd() : nullptr;
    }

    // Closes the handles of workers that have ended.
    void PruneEnded()
    {
        std::vector<HANDLE> running;
        for (HANDLE thread : threads) {
            if (::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0)
                ::CloseHandle(thread);
            else
                running.push_back(thread);
        }
        threads.swap(running);
    }

    void StartWaitThread()
    {
        std::lock_guard<std::mutex> guard(lock);
        if (stopping) return;
        PruneEnded();
        auto* param = new std::shared_ptr<State>(shared_from_this());
        // A plain run-time thread (normal priority, default stack): the worker
        // uses none of the framework's per-thread state.
        HANDLE handle = (HANDLE)_beginthreadex(nullptr, 0, &PluginLinkWaitThread, param, 0, nullptr);
        if (!handle) {
            delete param;
            return;
        }
        threads.push_back(handle);
    }

    void SignalDatabaseChange()
    {
        counts.Increment(CLinkChangeCounts::kDatabase);
        dbChange.SetEvent();
    }

    void SignalUserChange()
    {
        counts.Increment(CLinkChangeCounts::kUser);
        userChange.SetEvent();
    }

    // On a worker, after EventAdded was set.
    void OnWebLoginAdded()
    {
        // Copied first: the next hand-over may overwrite the block once the
        // successor waits. The block may hold anything: terminated here.
        WebLoginRecord record;
        unsigned char block[WebLoginRecord::kSize] = {};
        memory.Read(block);
        ReadWebLoginRecord(block, record);

        StartWaitThread();

        HWND view = OwnerWindow();
        if (!view) return;
        ::SendMessageA(view, WM_BRING_TO_FRONT, 0, 0);
        // A modal dialog of the view is open: the login is dropped.
        if (busy.load() != 0) return;
        view = OwnerWindow();
        if (!view) return;
        ::SendMessageA(view, WM_ADD_WEB_LOGIN, (WPARAM)record.title, (LPARAM)record.address);
        SignalDatabaseChange();
    }
};

namespace {

unsigned __stdcall PluginLinkWaitThread(void* pParam)
{
    std::shared_ptr<CPluginLink::State> state;
    {
        std::unique_ptr<std::shared_ptr<CPluginLink::State>> holder(
            static_cast<std::shared_ptr<CPluginLink::State>*>(pParam));
        state = *holder;
    }
    HANDLE handles[2] = {state->stop.GetHandle(), state->eventAdded.GetHandle()};
    // The stop event comes first: when both are set the link is going and the
    // login stays signalled for the next start.
    if (handles[0] && handles[1] && ::WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
        state->OnWebLoginAdded();
    return 1;
}

// Waits for the thread to end, handling the messages other threads send to
// this one (a worker may be inside SendMessage to a window of this thread),
// until the deadline.
bool JoinHandlingSentMessages(HANDLE thread, DWORD deadline)
{
    for (;;) {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD now = ::GetTickCount();
        DWORD left = (LONG)(deadline - now) > 0 ? deadline - now : 0;
        DWORD woke = ::MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) return true;
        if (woke != WAIT_OBJECT_0 + 1) return false;
    }
}

}  // namespace

CPluginLink::CPluginLink(CWnd* pOwnerView) : CPluginLink(pOwnerView, WebLoginLinkNames()) {}

CPluginLink::CPluginLink(CWnd* pOwnerView, const WebLoginLinkNames& names) : m_state(std::make_shared<State>(names))
{
    m_state->owner = pOwnerView;
    m_state->StartWaitThread();
}

CPluginLink::~CPluginLink()
{
    std::vector<HANDLE> threads;
    {
        std::lock_guard<std::mutex> guard(m_state->lock);
        m_state->stopping = true;
        m_state->owner = nullptr;
        threads.swap(m_state->threads);
    }
    m_state->stop.SetEvent();
    const DWORD deadline = ::GetTickCount() + kJoinMilliseconds;
    for (HANDLE thread : threads) {
        JoinHandlingSentMessages(thread, deadline);
        ::CloseHandle(thread);
    }
    // A worker that did not end in time holds its own reference; the objects
    // close with the last one.
    m_state.reset();
}

void CPluginLink::SignalDatabaseChange() { m_state->SignalDatabaseChange(); }

void CPluginLink::SignalUserChange() { m_state->SignalUserChange(); }

void CPluginLink::SetBusy(int busy) { m_state->busy.store(busy); }

int CPluginLink::GetBusy() const { return m_state->busy.load(); }

int CPluginLink::GetWorkerCount() const
{
    std::lock_guard<std::mutex> guard(m_state->lock);
    m_state->PruneEnded();
    return (int)m_state->threads.size();
}
