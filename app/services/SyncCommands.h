#pragma once
// ISyncCommands: what the main window and the options sheet use of the
// synchronisation, which sits beside the main window above the shell: the
// "File Synchronization" dialog, the file syncs run at start-up and at exit,
// and the handheld sync mode. The synchronisation implements it and the
// program installs it; without one, the commands do nothing.
#include <cstdint>

class CDatabaseObj;
class CUserItem;
class CWnd;

class ISyncCommands {
public:
    virtual ~ISyncCommands() = default;
    // The dialog by command over the database; its end (IDOK, IDCANCEL).
    virtual intptr_t OpenSyncSettings(CDatabaseObj* database, CUserItem* user, CWnd* pParent) = 0;
    // The user's files flagged for start-up (onExit false) or exit; whether
    // the dialog was shown to sync them.
    virtual bool RunAutoSyncs(CDatabaseObj* database, CUserItem* user, bool onExit, CWnd* pParent) = 0;
    // Handheld sync mode: 0 desktop overwrites handheld, 1 handheld
    // overwrites desktop, 2 synchronise. The mode for the next sync only,
    // and the default stored as "Sync Direction".
    virtual int GetSyncMode() = 0;
    virtual void SetSyncMode(int mode) = 0;
    virtual int GetSavedSyncMode() = 0;
    virtual void SaveSyncMode(int mode) = 0;
};

// The installed commands; null when none is installed.
ISyncCommands* GetSyncCommands();
// Installs commands (null: none); returns the previous ones. Not owned.
ISyncCommands* SetSyncCommands(ISyncCommands* commands);
