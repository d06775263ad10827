#pragma once
// CiPhoneSyncInProgressDlg: the "Sync progress" window of a Wi-Fi sync
// session, on a thread of its own. It follows the session through the posted
// sync messages (user name, state) and closes itself when the session's
// connection is closed. It cannot cancel the sync.
#include "framework/Dialog.h"

class CSyncServer;

class CiPhoneSyncInProgressDlg : public CDialog {
public:
    // ticket: the server's number of the session it shows.
    CiPhoneSyncInProgressDlg(CWnd* pParent, CSyncServer* server, unsigned ticket);

    BOOL OnInitDialog() override;

    const CString& GetStatus() const { return m_status; }

    // The text shown for a session state; null leaves the text as it is.
    static const char* StateText(int state);

protected:
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    LRESULT OnSyncUserName(WPARAM wParam, LPARAM lParam);
    LRESULT OnSyncState(WPARAM wParam, LPARAM lParam);
    LRESULT OnSyncClose(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void ShowStatus();
    void Close();

    CSyncServer* m_server;
    unsigned m_ticket;
    CString m_status;
    UINT_PTR m_timer = 0;
    bool m_initialised = false;
    bool m_closed = false;
};
