#pragma once
// COneInstance: only one copy of the program runs. The first copy holds a
// named mutex from the start of its start-up, so a copy started while the
// first is still at its log-on (before its main window exists) is caught as
// well; the main window, found by its class name, is what the newcomer brings
// to the front and hands its command line to (WM_COPYDATA, identifier 0).
#include <windows.h>

#include "framework/CString.h"
#include "toolkit/SubclassWnd.h"

class COneInstance : public CSubclassWnd {
public:
    // The class name of the main window to look for and the name of the
    // mutex that marks a running copy.
    COneInstance(LPCSTR className, LPCSTR mutexName);
    ~COneInstance() override;

    // The first top-level window whose class name is exactly the guard's
    // (case-sensitive); none when there is none.
    virtual HWND FindRunningInstance();
    // Another copy runs: its window (restored, brought to the front, given
    // the command line when that is not empty) is returned and this start
    // must end. None: this is the one copy, which then holds the mutex.
    // When another copy holds the mutex but has no window yet (its log-on is
    // open), this waits until its window appears, or until that copy ends
    // and this one becomes the one copy.
    virtual HWND ActivateRunningInstance(const CString& commandLine);

    const CString& GetClassName() const { return m_className; }
    // Lets the mutex go (tests; the program keeps it to its end).
    void ReleaseInstanceMutex();

    // How often the wait for the running copy's window looks again.
    DWORD m_pollMilliseconds = 200;

private:
    void HandOver(HWND hWnd, const CString& commandLine);

    CString m_className;
    CString m_mutexName;
    HANDLE m_hMutex = nullptr;
    HWND m_hWndFound = nullptr;
};

// The guard of this program: the main frame's class "Zorvikan Desktop".
COneInstance& GetInstanceGuard();
