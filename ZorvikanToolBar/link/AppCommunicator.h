#pragma once
// CAppCommunicator: each tool bar's link to the desktop program and its
// data. AppCommunicator.cpp holds its unlocking: asking for the master
// password in the "Security Option" dialog, keying the process with it, and
// forgetting the unlock again when the timer runs out. The unlock is
// process-wide: one unlock serves every band of the process, one expiry
// locks them all. AppCommunicatorLink.cpp holds its end of the link with the
// program (the named objects and their signalling are those the program's
// end documents): handing over a web login, finding and starting the
// program, and the listeners that see the program's database and user
// changes. Windows build only.
#include <windows.h>

#include <memory>

#include "ZorvikanToolBar/link/UnlockTimer.h"
#include "core/crypto/SecretString.h"
#include "core/link/WebLoginLink.h"
#include "framework/CList.h"
#include "framework/CString.h"

class CDesktopData;
struct WebLoginRecord;

class CAppCommunicator : public ITimerListener {
public:
    // The link's objects under their names, the listeners started.
    CAppCommunicator();
    explicit CAppCommunicator(const WebLoginLinkNames& names);
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
    // when it was the process's last one the unlock and its key go too. The
    // link's threads are stopped and joined.
    void Stop();
    // The band has a site again after Stop: counts as live once more, the
    // listeners run again.
    void Resume();

    // ---- the link with the program ----
    // Hands the record to the program: written whole into the shared block,
    // then the program told. When the program does not run it is started
    // (nothing is written and "Failed to lauch Zorvikan application, so
    // current weblogin is not added to Zorvikan database" is shown when that
    // fails) and told once it runs; while such a start is pending no second
    // one is made, the newer record is written and the pending start hands
    // it over. False when nothing was handed over.
    bool AddCurrentWebLogin(const WebLoginRecord& record);
    // Whether the program's running-event exists.
    bool IsDesktopRunning() const;
    // Whether a start of the program waits for it to come up.
    bool IsStartPending() const;
    // Starts the program found by FindDesktopExecutable; whether it started.
    bool LaunchDesktop(const CString& commandLine);
    // The first valid of: the path found before, "AppPath", the installed
    // program, the program beside the plug-in, the user's choice in a file
    // dialog; the latter three are stored as "AppPath" when its key exists.
    // Empty when none is valid.
    CString FindDesktopExecutable();
    static CString ReadAppPath();
    static void SaveAppPath(const CString& path);
    static CString GetInstalledDesktopPath();
    static CString GetModuleFolderDesktopPath();
    static CString BrowseForDesktopExecutable();
    // Not empty, an existing file, and "Zorvikan Desktop.exe" (that case)
    // after its first character.
    static bool IsValidDesktopPath(const CString& path);

    // The window to which the listeners post WM_DESKTOP_DATA_CHANGED when
    // the program signalled a change (null: none; the changes wait for the
    // next use of the data).
    void SetChangeWindow(HWND window);
    // On the thread that owns the data, on that message: a user change locks
    // the process and forgets the cached password; any change reads the
    // user and the database again. Whether there was a change.
    bool ApplyDesktopChanges();

    // Made on first use (reads the users).
    CDesktopData& Data();
    int GetTimeoutMinutes() const { return m_timeoutMinutes; }

    struct Link;

private:
    void StartLink();
    void StopLink();

    std::shared_ptr<Link> m_link;
    CString m_desktopPath;
    std::unique_ptr<CDesktopData> m_data;
    CSecretString m_password;
    int m_timeoutMinutes = 0;
    bool m_stopped = false;
};

// Where the program's file is looked for besides "AppPath" and the file
// dialog: the installed program and the one beside the plug-in (by default
// CAppCommunicator's GetInstalledDesktopPath and GetModuleFolderDesktopPath).
// Tests put in their own; answers the finders in place before.
struct DesktopPathFinders {
    CString (*installed)();
    CString (*moduleFolder)();
};
DesktopPathFinders SetDesktopPathFinders(DesktopPathFinders finders);

// The process-wide unlocked flag.
bool IsPluginUnlocked();
void SetPluginUnlocked(bool unlocked);
