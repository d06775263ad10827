#pragma once
// Window messages, commands and copy-data identifiers of the application
// shell. Plain defines first: the resource scripts include this file too.

// Help menu commands of the main frame.
#define ID_HELP_USER_GUIDE 32803
#define ID_HELP_FAQ 32849
#define ID_HELP_SUPPORT 32805
#define ID_HELP_DOWNLOAD 32806

// Tray menu commands; the main view handles them.
#define ID_TRAY_OPEN 32916
#define ID_TRAY_ADD 32917
#define ID_TRAY_PREFERENCES 32918

// Notifications of the tray icon to the main frame.
#define WM_TRAY_NOTIFY 0x044B
// Id of the tray icon.
#define ZV_TRAY_ICON_ID 128

// WM_COPYDATA identifier of a second start's command line.
#define ZV_COPYDATA_COMMAND_LINE 0

#ifndef RC_INVOKED
#include <windows.h>

// Registered at load time; every module that registers a name gets the same
// number. The change notice: operation in the low word of wParam, item class
// in the high word, item id in lParam.
extern const UINT WM_Zorvikan10_DatabaseNotify;
// Posted by the record editor to itself to finish a type or category choice.
extern const UINT WM_Corvantide_Zorvikan_EndSelChange;
#endif

// Messages of the Wi-Fi sync sessions to the windows registered with the sync
// server (the main view, the progress window, the setup wizard). Sent ones
// make the session wait for them.
#define WM_SYNC_SWITCH_USER 0x0504   // sent: wParam session, lParam CUserItem*
#define WM_SYNC_REFRESH_USER 0x0505  // sent: wParam CUserItem*, lParam 1
#define WM_SYNC_MERGE_NOTIFY 0x0506  // posted: wParam CUserItem*
#define WM_SYNC_CLOSE 0x0507         // posted: the session's connection is closed; see below
#define WM_SYNC_USER_NAME 0x0508     // posted: wParam user name, lParam user id (const char*)
#define WM_SYNC_STATE 0x0509         // posted: wParam the session state
#define WM_SYNC_USER_DONE 0x0511     // sent: wParam CUserItem*
#define WM_SYNC_STARTING 0x0512      // sent: a session starts
// WM_SYNC_CLOSE's wParam after a session that completed; lParam then the
// synced user's key name (const char*). 0 and 0 after any other.
#define kSyncClosedSucceeded 1
