#include <windows.h>

#include "core/store/DatabaseMutex.h"

CDatabaseMutexLock::CDatabaseMutexLock(uint32_t waitMs)
{
    HANDLE h = CreateMutexA(nullptr, FALSE, kDatabaseMutexName);
    if (!h) {
        m_error = static_cast<int>(GetLastError());
        return;
    }
    // An abandoned mutex is ours now: its owner died, and the file itself is
    // only ever replaced whole, so it is safe to go on.
    DWORD result = WaitForSingleObject(h, waitMs);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
        m_handle = h;
        m_error = 0;
        return;
    }
    m_error = result == WAIT_TIMEOUT ? kDatabaseMutexTimeout : static_cast<int>(GetLastError());
    if (m_error == 0) m_error = -1;
    CloseHandle(h);
}

CDatabaseMutexLock::~CDatabaseMutexLock()
{
    if (m_handle) {
        ReleaseMutex(static_cast<HANDLE>(m_handle));
        CloseHandle(static_cast<HANDLE>(m_handle));
    }
}
