#include "sync/dialogs/ProgramSyncCommands.h"

#include "app/services/ZorvikanDesktopApp.h"
#include "sync/dialogs/SyncSettingsDlg.h"
#include "framework/WinApp.h"

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

namespace {

CZorvikanDesktopApp* App() { return dynamic_cast<CZorvikanDesktopApp*>(AfxGetApp()); }

}  // namespace

// The application forwards to the Wi-Fi sync's setting (2 without one).
int CProgramSyncCommands::GetSyncMode() { return App() ? App()->GetSyncMode() : 2; }

void CProgramSyncCommands::SetSyncMode(int mode)
{
    if (CZorvikanDesktopApp* app = App()) app->SetSyncMode(mode);
}

int CProgramSyncCommands::GetSavedSyncMode() { return App() ? App()->GetSavedSyncMode() : 2; }

void CProgramSyncCommands::SaveSyncMode(int mode)
{
    if (CZorvikanDesktopApp* app = App()) app->SaveSyncMode(mode);
}
