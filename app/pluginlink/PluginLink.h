#pragma once
// CPluginLink: the program's end of the link with the browser plug-in. The
// main view owns one for as long as it lives. Five named objects, shared
// with every plug-in of the user's session:
//   "Corvantide-Zorvikan-AppRunning"      exists while the link lives; never set
//   "Corvantide-Zorvikan-WlSharedMemory"  1300 bytes, a WebLoginRecord
//   "Corvantide-Zorvikan-wl-EventAdded"   the plug-in wrote a record
//   "Corvantide-Zorvikan-wl-DBChange"     the user's records changed
//   "Corvantide-Zorvikan-wl-UserChange"   the master password or user changed
// and the change counts "Corvantide-Zorvikan-wl-ChangeCounts" (see
// LinkChangeCounts.h). All events are automatic-reset and start unsignalled.
//
// Signalling, for both sides. A pulse releases only a thread that waits at
// that very moment, so pulses lose events; nothing on this link pulses:
// - Web login: the plug-in writes the whole record, then SETS EventAdded.
//   The signal stays until the link's waiting worker takes it, so a login
//   handed over before the worker waits (just after the program started, or
//   while the previous worker hands its login on) is not lost; the plug-in
//   therefore never resets EventAdded, not even when it closes. The link
//   holds its EventAdded handle for its whole life and always keeps one
//   worker waiting; a woken worker copies the record at once, starts its
//   successor and only then talks to the view.
// - Database and user changes: the program first raises the matching change
//   count, then SETS the event. A listener of the plug-in remembers the count
//   it last acted on, waits on the event with a time-out of at most one
//   second, and after every wake-up or time-out compares the count: when it
//   differs, it stores the new count first and then reloads. So every
//   listener of every window and process sees every change (changes that
//   come in a burst may be seen as one), at once or within a second, and a
//   change made while no listener waits is not lost. Listeners never reset
//   the events.
// Windows build only.
#include <memory>

#include "core/link/WebLoginLink.h"

class CWnd;

class CPluginLink {
public:
    // Creates or opens the named objects (AppRunning first, so the plug-in
    // sees the program as running from here on), clears the busy flag and
    // starts the waiting worker. The owner's window may be created later; it
    // is looked up each time a message is sent.
    explicit CPluginLink(CWnd* pOwnerView);
    CPluginLink(CWnd* pOwnerView, const WebLoginLinkNames& names);
    // Stops the link: no message reaches the owner after this begins, the
    // waiting worker ends at once and is joined (a worker inside a sent
    // message is let finish, while this thread handles sent messages, for at
    // most a second; it keeps what it uses alive by itself). Then closes the
    // shared memory, UserChange, DBChange and AppRunning, in this order.
    ~CPluginLink();
    CPluginLink(const CPluginLink&) = delete;
    CPluginLink& operator=(const CPluginLink&) = delete;

    // After every change of the user's records (and after a handled web
    // login): raises the database count and sets DBChange.
    void SignalDatabaseChange();
    // After the master password was set and after a switch to another user:
    // raises the user count and sets UserChange.
    void SignalUserChange();

    // Set by the owner view while one of its modal dialogs is open; web
    // logins that arrive meanwhile bring the window to the front and are
    // dropped, not kept for later.
    void SetBusy(int busy);
    int GetBusy() const;

    // Worker threads of the link that have not ended yet: the waiting one
    // and any that is handing a web login to the view.
    int GetWorkerCount() const;

    struct State;

private:
    std::shared_ptr<State> m_state;
};
