#pragma once
// CBusyProgress: the progress window over work that the calling thread does
// itself, for as long as the object lives. Work that is over within the delay
// shows nothing; past it, the process-wide progress window comes up on a
// thread of its own with the caption and the text, its marquee running while
// the caller is busy, and goes when the object goes. The window has no owner:
// the busy thread could not answer for one.
//
//   {
//       CBusyProgress progress("Import", "Importing records...");
//       ... the work ...
//   }
#include <windows.h>

#include <atomic>
#include <thread>

#include "framework/CEvent.h"
#include "framework/CString.h"

class CBusyProgress {
public:
    static constexpr DWORD kDefaultDelayMs = 1000;

    CBusyProgress(const char* caption, const char* text, DWORD delayMs = kDefaultDelayMs);
    ~CBusyProgress();
    CBusyProgress(const CBusyProgress&) = delete;
    CBusyProgress& operator=(const CBusyProgress&) = delete;

    // Whether the window came up (known for certain once the object is gone).
    bool WasShown() const { return m_shown.load(); }

private:
    void Watch();

    const CString m_caption;
    const CString m_text;
    const DWORD m_delayMs;
    CEvent m_workDone{FALSE, TRUE};
    CEvent m_watchDone{FALSE, TRUE};
    std::atomic<bool> m_shown{false};
    std::thread m_watcher;
};

// The number of progress windows work of this process has shown (tests).
int GetBusyProgressShownCount();
