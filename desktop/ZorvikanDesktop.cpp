// The desktop program: the application object, given the main window's view
// class for its document template, and the exchange layer's services that
// the main window reaches through the shell's interfaces.
#include "app/services/ZorvikanDesktopApp.h"
#include "exchange/clipboard/RecordClipboardExchange.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {
// Installed before WinMain runs, so before any window exists.
CRecordClipboardExchange g_recordClipboard;
[[maybe_unused]] const bool g_recordClipboardInstalled = (SetRecordClipboardText(&g_recordClipboard), true);
}  // namespace
