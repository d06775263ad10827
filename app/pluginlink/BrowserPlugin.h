#pragma once
// Registering the browser plug-in "ZorvikanToolBar.dll" (the file next to
// the program) with the system, and finding, ending and starting Internet
// Explorer, the plug-in's host. The parameter text is portable; the rest is
// Windows build only (BrowserPluginWin.cpp).
#include "framework/CString.h"

// The parameters of the registration tool: "/u " when unregistering, "/s "
// when silent, then the plug-in's path in double quotes.
CString BrowserPluginRegisterParameters(const CString& pluginPath, bool silent, bool install);

// The program's folder followed by "ZorvikanToolBar.dll".
CString GetBrowserPluginPath();

// Registers (install) or unregisters the plug-in next to the program with
// "regsvr32" and waits for the tool, handling this thread's messages
// meanwhile. 1 when the tool ran and reported success; 0 when the plug-in
// file is missing, the tool could not be started or it reported a failure.
// The callers show their own messages.
int RegisterBrowserPlugin(int silent, int install);
// The same for a plug-in file at another path.
int RegisterBrowserPluginFile(const CString& pluginPath, int silent, int install);

// 1 when a process whose executable is "iexplore.exe" (in any case) runs.
int IsInternetExplorerRunning();
// Ends every "iexplore.exe" process, then starts the browser again.
// Processes that cannot be opened or ended are passed over.
void RestartInternetExplorer();
// Starts "iexplore.exe" from the "Internet Explorer" folder of the program
// files folder, without a command line; the result is not checked.
void StartInternetExplorer();
