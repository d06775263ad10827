#pragma once
// CViewLockState: what the main view knows about locking. Whether the program
// is locked, whether a change notice came in meanwhile (so a reload is due
// when it unlocks), whether an editing dialog is open; how a change notice is
// answered before it reaches the records, and how long the auto-lock
// countdown runs. Plain state: the view owns one and does the window work.

class CViewLockState {
public:
    // While the program is locked a change notice only marks a reload as due.
    void SetLocked(bool locked) { m_locked = locked; }
    bool IsLocked() const { return m_locked; }
    bool IsReloadDue() const { return m_reloadDue; }
    // A lock starts and ends with no reload due.
    void ClearReloadDue() { m_reloadDue = false; }
    // Set while an editing dialog of the view is open.
    void SetEditingDialogOpen(bool open) { m_editingDialogOpen = open; }
    bool IsEditingDialogOpen() const { return m_editingDialogOpen; }

    // The first look at a change notice. The editing-dialog query
    // (NOTIFY_PING) is answered here: 1 while an editing dialog is open,
    // else 0. While locked, any other notice only marks a reload as due and
    // is answered 0. Returns true when the notice is done with, result then
    // holding the message's result; false when the view applies it.
    bool TakeNotice(int operation, long& result);

    // The auto-lock countdown in milliseconds for the user's sleep time in
    // minutes; 0 (no countdown) for a time of 0 minutes or less.
    static unsigned AutoLockDelayMs(int sleepMinutes);
    // The countdown this view runs: the sleep time's, or a fixed period put
    // in place instead (0 puts the sleep time back).
    unsigned CountdownMs(int sleepMinutes) const;
    void SetFixedCountdownMs(unsigned periodMs) { m_fixedCountdownMs = periodMs; }
    // Each start of the countdown is counted.
    void NoteCountdownStarted() { ++m_countdownStarts; }
    int GetCountdownStarts() const { return m_countdownStarts; }

    // What an expired countdown does, given the dialogs open at that moment.
    // Timers run inside every modal loop, and a lock beneath a dialog would
    // reopen the database under the items that dialog holds; only the record
    // editor can be closed safely (as by its OK button), and only when
    // nothing is open above it.
    enum class Expiry {
        Lock,              // nothing is open: lock now
        CloseEditorFirst,  // close the record editor, lock once it has gone
        Rearm              // another dialog is open: start the countdown again
    };
    static Expiry OnCountdownExpired(bool recordEditorOpen, bool otherDialogOpen);

private:
    bool m_locked = false;
    bool m_reloadDue = false;
    bool m_editingDialogOpen = false;
    unsigned m_fixedCountdownMs = 0;
    int m_countdownStarts = 0;
};
