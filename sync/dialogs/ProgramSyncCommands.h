#pragma once
// CProgramSyncCommands: the program's synchronisation commands for the main
// window and the options sheet (ISyncCommands): the "File Synchronization"
// dialog and the handheld sync mode of the application's preferences section.
#include <memory>

#include "app/services/SyncCommands.h"

class CSyncModeSetting;

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

private:
    // Made on first use: the preferences section is known only once the
    // start-up has set it.
    CSyncModeSetting& Mode();
    std::unique_ptr<CSyncModeSetting> m_mode;
};
