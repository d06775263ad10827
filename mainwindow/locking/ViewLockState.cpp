#include "mainwindow/locking/ViewLockState.h"

#include "core/os/ChangeNotify.h"

bool CViewLockState::TakeNotice(int operation, long& result)
{
    result = 0;
    if (operation == NOTIFY_PING) {
        result = m_editingDialogOpen ? 1 : 0;
        return true;
    }
    if (m_locked) {
        m_reloadDue = true;
        return true;
    }
    return false;
}

unsigned CViewLockState::AutoLockDelayMs(int sleepMinutes)
{
    const unsigned kMinuteMs = 60000;
    return sleepMinutes > 0 ? (unsigned)sleepMinutes * kMinuteMs : 0;
}

unsigned CViewLockState::CountdownMs(int sleepMinutes) const
{
    return m_fixedCountdownMs ? m_fixedCountdownMs : AutoLockDelayMs(sleepMinutes);
}

CViewLockState::Expiry CViewLockState::OnCountdownExpired(bool recordEditorOpen, bool otherDialogOpen)
{
    if (otherDialogOpen) return Expiry::Rearm;
    return recordEditorOpen ? Expiry::CloseEditorFirst : Expiry::Lock;
}
