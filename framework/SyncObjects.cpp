#include "framework/SyncObjects.h"

CSyncObject::~CSyncObject()
{
    if (m_hObject) ::CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout)
{
    const DWORD result = ::WaitForSingleObject(m_hObject, dwTimeout);
    // An abandoned mutex is ours now; its owner ended without releasing it.
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

BOOL CCriticalSection::Lock(DWORD)
{
    ::EnterCriticalSection(&m_sect);
    return TRUE;
}

CMutex::CMutex(BOOL bInitiallyOwn, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
{
    m_hObject = ::CreateMutexA(lpsaAttribute, bInitiallyOwn, lpszName);
}

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
{
    m_hObject = ::CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
}

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock) : m_pObject(pObject)
{
    if (bInitialLock) Lock();
}

BOOL CSingleLock::Lock(DWORD dwTimeout)
{
    if (m_bAcquired) return TRUE;
    m_bAcquired = m_pObject && m_pObject->Lock(dwTimeout);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (!m_bAcquired) return TRUE;
    m_bAcquired = FALSE;
    return m_pObject->Unlock();
}
