#pragma once
// What the desktop program and the browser plug-in agree on across their
// processes: the names of the link's named objects and the numbers of the
// messages the link's worker sends to the program's main view. Both sides
// build from this header (the plug-in links core alone). The objects and
// their signalling are described in app/pluginlink/PluginLink.h; the
// 1300-byte record in WebLoginRecord.h, the change counts in
// LinkChangeCounts.h.
#include "framework/CString.h"

// Sent to the owner view's window by the link's worker and waited for.
// Bring the main window to the top (wParam, lParam 0).
#define WM_BRING_TO_FRONT 0x0604
// Open the new-record editor for a web login: wParam the page title,
// lParam the page address, zero-terminated texts valid during the call.
#define WM_ADD_WEB_LOGIN 0x0603

// The names of the link's objects. The program uses the defaults; tests give
// their own so that parallel runs do not meet.
struct WebLoginLinkNames {
    CString appRunning = "Corvantide-Zorvikan-AppRunning";
    CString sharedMemory = "Corvantide-Zorvikan-WlSharedMemory";
    CString eventAdded = "Corvantide-Zorvikan-wl-EventAdded";
    CString dbChange = "Corvantide-Zorvikan-wl-DBChange";
    CString userChange = "Corvantide-Zorvikan-wl-UserChange";
    CString changeCounts = "Corvantide-Zorvikan-wl-ChangeCounts";
};
