#pragma once
// What the framework keeps per thread: the message being handled (so that
// Default() and GetCurrentMessage() can reach it), the window waiting to be
// hooked up while it is created, and the thread's CWinThread.

#include <windows.h>

class CWnd;
class CWinThread;

struct ZvThreadState {
    MSG m_lastSentMsg{};         // the message the innermost window procedure handles
    CWnd* m_pWndInit = nullptr;  // the wrapper of the window being created
    HHOOK m_hHookCbt = nullptr;  // creation hook, set while m_pWndInit waits
    // Windows hooked up to their wrappers so far: a failed Create that
    // changed it made a window, whose end already took a self-deleting object.
    unsigned m_nWndHooked = 0;
    CWinThread* m_pThread = nullptr;   // this thread's CWinThread, when it has one
    MSG m_msgCur{};                    // the message the loop of this thread pumps
    HMENU m_hMenuLastPopup = nullptr;  // the last pop-up menu tracked, for owner-drawn items
};

ZvThreadState* AfxGetThreadState();
