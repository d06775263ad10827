#include <windows.h>

#include "framework/CEvent.h"

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName)
{
    m_hObject = ::CreateEventA(nullptr, bManualReset, bInitiallyOwn, lpszName);
}

CEvent::~CEvent()
{
    if (m_hObject) ::CloseHandle(m_hObject);
}

BOOL CEvent::SetEvent() { return m_hObject && ::SetEvent(m_hObject); }

BOOL CEvent::ResetEvent() { return m_hObject && ::ResetEvent(m_hObject); }

BOOL CEvent::PulseEvent() { return m_hObject && ::PulseEvent(m_hObject); }

BOOL CEvent::Lock(DWORD dwTimeout) { return m_hObject && ::WaitForSingleObject(m_hObject, dwTimeout) == WAIT_OBJECT_0; }
