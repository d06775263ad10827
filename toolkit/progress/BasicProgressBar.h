#pragma once
// CBasicProgressBar: the progress window of a long operation that works on
// another thread: a running marquee bar and one line of text, driven only
// through three messages (ToolkitIds.h). One process-wide object serves every
// run; a run shows the dialog modally on a worker thread of its own.
//
// The window exists only some time after the run starts, so senders wait for
// it: the dialog signals when it is ready (or when the run ended without a
// window), and SendProgress waits for that signal before sending. While a run
// is going a second one is refused, never merged into it.
#include <windows.h>

#include <atomic>
#include <memory>

#include "framework/CEvent.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CBasicProgressBar : public CDialog {
    DECLARE_DYNAMIC(CBasicProgressBar)
public:
    CBasicProgressBar();
    ~CBasicProgressBar() override;

    static std::shared_ptr<CBasicProgressBar> GetInstance();

    BOOL OnInitDialog() override;

    // Starts a run (the dialog on a new worker thread); FALSE while a run is
    // already going or when the thread cannot start. Without an owner the
    // window stands alone: a thread busy with work of its own cannot answer
    // for an owner it would disable.
    BOOL BeginRun(bool withOwner = true);
    BOOL IsRunning() const { return m_running.load(); }
    // Waits up to timeoutMs for the window of the current run; null when no
    // run is going, the run ended without a window or the time ran out.
    HWND WaitUntilReady(DWORD timeoutMs);
    // Sends one of the three progress messages to the window of the current
    // run once it is ready; FALSE when there is no window to take it.
    BOOL SendProgress(UINT message, const char* text, DWORD timeoutMs = 10000);

    // Ends the current run as Escape does, once its window exists, and waits
    // until the run has ended, answering what other threads send to the
    // caller meanwhile. FALSE when it did not end within the time.
    BOOL EndRun(DWORD timeoutMs = 10000);

    // The thread's side: shows the dialog modally and marks the run ended.
    INT_PTR RunModal();

    CStatic m_text;
    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    HWND GetModalOwner() const override;
    LRESULT OnSetCaption(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnDone(WPARAM wParam, LPARAM lParam);

    std::atomic<bool> m_running{false};
    std::atomic<bool> m_withOwner{true};
    CEvent m_ready{FALSE, TRUE};     // the run's window exists
    CEvent m_finished{FALSE, TRUE};  // the run ended (with or without a window)

    DECLARE_MESSAGE_MAP()
};

// Worker-thread procedure: runs the dialog modally when pParam is not null.
// Returns 1 once the dialog has ended.
UINT RunProgressDialog(LPVOID pParam);
