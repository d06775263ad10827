#include "sync/dialogs/ProgramSyncCommands.h"

#include "app/services/ZorvikanDesktopApp.h"
#include "core/prefs/AppPrefMgr.h"
#include "sync/dialogs/SyncSettingsDlg.h"
#include "sync/session/SyncModeSetting.h"

CProgramSyncCommands::CProgramSyncCommands() = default;

CProgramSyncCommands::~CProgramSyncCommands() = default;

intptr_t CProgramSyncCommands::OpenSyncSettings(CDatabaseObj* database, CUserItem* user, CWnd* pParent)
{
    return ::OpenSyncSettings(database, user, pParent);
}

bool CProgramSyncCommands::RunAutoSyncs(CDatabaseObj* database, CUserItem* user, bool onExit, CWnd* pParent)
{
    return ::RunAutoSyncs(database, user, onExit, pParent);
}

CSyncModeSetting& CProgramSyncCommands::Mode()
{
    if (!m_mode)
        m_mode = std::make_unique<CSyncModeSetting>([] { return CAppPrefMgr::GetInstance()->GetPrefs().get(); },
                                                    CZorvikanDesktopApp::GetPrefsSection());
    return *m_mode;
}

int CProgramSyncCommands::GetSyncMode() { return Mode().GetMode(); }

void CProgramSyncCommands::SetSyncMode(int mode) { Mode().SetMode(mode); }

int CProgramSyncCommands::GetSavedSyncMode() { return Mode().GetSavedMode(); }

void CProgramSyncCommands::SaveSyncMode(int mode) { Mode().SaveMode(mode); }
