#pragma once
// CAppCommunicator: each tool bar's link to the desktop program's data. This
// file holds its unlocking: asking for the master password in the "Security
// Option" dialog, keying the process with it, and forgetting the unlock
// again when the timer runs out. The unlock is process-wide: one unlock
// serves every band of the process, one expiry locks them all. Windows
// build only.
#include <memory>

#include "ZorvikanToolBar/link/UnlockTimer.h"
#include "core/crypto/SecretString.h"
#include "framework/CList.h"
#include "framework/CString.h"

class CDesktopData;

class CAppCommunicator : public ITimerListener {
public:
    CAppCommunicator();
    // Stop, then the data goes.
    virtual ~CAppCommunicator();
    CAppCommunicator(const CAppCommunicator&) = delete;
    CAppCommunicator& operator=(const CAppCommunicator&) = delete;

    // Asks for the master password when the user's database has one (the
    // cached one preset), keeps the time-out the user chose and starts the
    // timer, keys the process and reads the database: whether the data is
    // unlocked. Without a password the message "You need to set password
    // first" is shown unless quiet, and the data is unlocked anyway.
    bool UnlockWithPassword(bool quiet);
    // Unlocks quietly unless the process is unlocked already.
    bool EnsureUnlocked();
    // The web logins matching text (all for an empty text), read anew from
    // the file; false when the data stays locked.
    bool FindWebLogins(CObList& list, const CString& text);
    // The unlock ran out: the cached password is wiped and the user's data
    // read again (the process was locked by the timer already).
    void OnTimer() override;
    // The band lets go: the timer no longer calls this communicator, and
    // when it was the process's last one the unlock and its key go too.
    void Stop();
    // The band has a site again after Stop: counts as live once more.
    void Resume();

    // Made on first use (reads the users).
    CDesktopData& Data();
    int GetTimeoutMinutes() const { return m_timeoutMinutes; }

private:
    std::unique_ptr<CDesktopData> m_data;
    CSecretString m_password;
    int m_timeoutMinutes = 0;
    bool m_stopped = false;
};

// The process-wide unlocked flag.
bool IsPluginUnlocked();
void SetPluginUnlocked(bool unlocked);
