#pragma once
// IWifiSyncService: the Wi-Fi sync as the application's start-up and its
// services see it: the service's start (announcement and server thread),
// the sync mode of the next session and the stored one. The sync layer
// implements it; the program installs it in the application object.
#include "framework/CString.h"

class IWifiSyncService {
public:
    virtual ~IWifiSyncService() = default;
    // Starts the server thread and announces the service (a failed
    // announcement is logged); at most once per run.
    virtual void StartService() = 0;
    // HandheldSyncMode of the next session; the stored one.
    virtual int GetMode() = 0;
    virtual void SetMode(int mode) = 0;
    virtual int GetSavedMode() = 0;
    virtual void SaveMode(int mode) = 0;
    // The next session uses the stored mode again.
    virtual void RestoreMode() = 0;
    // The first start's setup wizard, run modally: the key name of the user
    // a sync created or found (empty when none), and whether it ended with
    // Finish.
    virtual bool RunSetupWizard(CString& createdUser) = 0;
};
