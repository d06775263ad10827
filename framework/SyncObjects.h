#pragma once
// Synchronisation objects over the Win32 kernel objects, and CSingleLock,
// which holds one of them for its lifetime.

#include <windows.h>

class CSyncObject {
public:
    virtual ~CSyncObject();
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    // TRUE when the object was obtained within the time (INFINITE waits).
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    HANDLE GetHandle() const { return m_hObject; }
    operator HANDLE() const { return m_hObject; }  // NOLINT

    HANDLE m_hObject = nullptr;

protected:
    CSyncObject() = default;
};

class CCriticalSection : public CSyncObject {
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() override { ::DeleteCriticalSection(&m_sect); }
    BOOL Lock(DWORD dwTimeout = INFINITE) override;  // waits without limit
    BOOL Unlock() override
    {
        ::LeaveCriticalSection(&m_sect);
        return TRUE;
    }

    CRITICAL_SECTION m_sect;
};

class CMutex : public CSyncObject {
public:
    // A named mutex is shared with every process that opens the same name.
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL Unlock() override { return ::ReleaseMutex(m_hObject); }
};

class CEvent : public CSyncObject {
public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL SetEvent() const { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() const { return ::ResetEvent(m_hObject); }
    BOOL PulseEvent() const { return ::PulseEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeout = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
