// The desktop program: the application object, given the main window's view
// class for its document template, and the services of the layers beside
// the main window that it reaches through the shell's interfaces: import
// and export, the clipboard's exchange text, backup and restore, the file
// syncs' commands and the Wi-Fi sync server.
#include "app/services/ExchangeService.h"
#include "app/services/SyncCommands.h"
#include "app/services/ZorvikanDesktopApp.h"
#include "exchange/backup/ExchangeBackupService.h"
#include "exchange/clipboard/RecordClipboardExchange.h"
#include "exchange/dialogs/ExchangeService.h"
#include "mainwindow/view/ZorvikanDesktopView.h"
#include "sync/dialogs/ProgramSyncCommands.h"
#include "sync/server/SyncServer.h"

namespace {

CProgramSyncCommands theSyncCommands;
[[maybe_unused]] const bool theSyncCommandsInstalled = (SetSyncCommands(&theSyncCommands), true);

CExchangeService g_exchangeService;

// Before the application object starts: the start-up may import a file
// named on the command line.
struct ServicesInstalled {
    ServicesInstalled() { SetExchangeService(&g_exchangeService); }
} g_servicesInstalled;

}  // namespace

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

// Installed before WinMain runs, so before any window exists.
CRecordClipboardExchange g_recordClipboard;
[[maybe_unused]] const bool g_recordClipboardInstalled = (SetRecordClipboardText(&g_recordClipboard), true);

// Backup and restore for the main view's commands and its end.
CExchangeBackupService theBackupService;
CScopedBackupService theBackupServiceInstalled(&theBackupService);

// Made after the application object and so gone before it: the server's
// thread has ended before the users it works with go.
struct WifiSyncInstall {
    CSyncServer server{&theApp};
    WifiSyncInstall()
    {
        theApp.SetSyncViewRegistry(&server);
        theApp.SetWifiSyncService(&server);
    }
    ~WifiSyncInstall()
    {
        theApp.SetSyncViewRegistry(nullptr);
        theApp.SetWifiSyncService(nullptr);
    }
} g_wifiSync;

}  // namespace
