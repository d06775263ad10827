#pragma once
// CEvent: a kernel event object, optionally named so that other processes
// can open the same one. Windows build only.
#include "framework/ZvTypes.h"

class CEvent {
public:
    // Creates the event, or opens the existing one when an event of that name
    // exists already (its reset mode and state are then the existing ones).
    // Without a name the event is private to the process. When the system
    // refuses, the handle stays null and every operation fails.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = nullptr);
    virtual ~CEvent();
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    BOOL SetEvent();
    BOOL ResetEvent();
    // Releases the threads waiting at this moment (one for an automatic-reset
    // event) and leaves the event non-signalled; nothing is remembered when
    // none waits.
    BOOL PulseEvent();
    // Waits until the event is signalled or the time-out (milliseconds,
    // 0xFFFFFFFF for none) passes; TRUE when signalled.
    BOOL Lock(DWORD dwTimeout = 0xFFFFFFFFu);
    BOOL Unlock() { return TRUE; }

    void* GetHandle() const { return m_hObject; }
    bool IsValid() const { return m_hObject != nullptr; }

protected:
    void* m_hObject = nullptr;
};
