#include "ZorvikanToolBar/link/UnlockTimer.h"

#include <windows.h>

#include "core/os/ProcessSeams.h"
#include "core/os/ProcessWide.h"

namespace {

const UINT_PTR kTimerIdRequest = 1001;

void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD) { CTimer::Instance()->Fire(); }

uintptr_t SystemTimer(uintptr_t runningId, uint32_t periodMs)
{
    if (runningId) KillTimer(nullptr, runningId);
    return periodMs ? SetTimer(nullptr, kTimerIdRequest, periodMs, &TimerProc) : 0;
}

UnlockTimerSetter g_setter = nullptr;

uintptr_t SetSystemTimer(uintptr_t runningId, uint32_t periodMs)
{
    return (g_setter ? g_setter : &SystemTimer)(runningId, periodMs);
}

}  // namespace

UnlockTimerSetter SetUnlockTimerSetter(UnlockTimerSetter setter)
{
    UnlockTimerSetter previous = g_setter;
    g_setter = setter;
    return previous;
}

CTimer::~CTimer()
{
    if (m_id) SetSystemTimer(m_id, 0);
}

std::shared_ptr<CTimer> CTimer::Instance()
{
    static CProcessWide<CTimer> slot([] { return std::make_shared<CTimer>(); });
    return slot.Get();
}

void CTimer::Start(int minutes, ITimerListener* listener)
{
    m_id = SetSystemTimer(m_id, static_cast<uint32_t>(minutes) * 60000u);
    m_listener = listener;
}

void CTimer::Detach(ITimerListener* listener)
{
    if (m_listener == listener) m_listener = nullptr;
}

void CTimer::Fire()
{
    LockPluginProcess();
    if (m_listener) m_listener->OnTimer();
}
