#pragma once
// CProgramSyncCommands: the program's synchronisation commands for the main
// window and the options sheet (ISyncCommands): the "File Synchronization"
// dialog, and the handheld sync mode, which is the Wi-Fi sync's own: the
// sessions read the very setting the options sheet sets.
#include "app/services/SyncCommands.h"

class CProgramSyncCommands : public ISyncCommands {
public:
    CProgramSyncCommands();
    ~CProgramSyncCommands() override;

    intptr_t OpenSyncSettings(CDatabaseObj* database, CUserItem* user, CWnd* pParent) override;
    bool RunAutoSyncs(CDatabaseObj* database, CUserItem* user, bool onExit, CWnd* pParent) override;
    int GetSyncMode() override;
    void SetSyncMode(int mode) override;
    int GetSavedSyncMode() override;
    void SaveSyncMode(int mode) override;
};
