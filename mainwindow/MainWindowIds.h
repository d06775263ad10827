#pragma once
// Window messages, commands and timers of the main window.

// Sent to the main view by the plug-in link: WM_ADD_WEB_LOGIN and
// WM_BRING_TO_FRONT, in core/link/WebLoginLink.h.

// Posted by the first update when the platform wants a sync at start.
#define ID_AUTO_SYNC_AT_START 2000

// Timers of the main view.
#define ZV_TIMER_AUTO_LOCK 1000
#define ZV_TIMER_CLEAR_CLIPBOARD 1002
