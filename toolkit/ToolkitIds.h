#pragma once
// Every message, command, timer and resource id of the window toolkit.
// Plain defines: resource scripts include this file too.

// Progress dialog: sent with wParam a NUL-terminated ANSI text that stays
// valid until handled; each answers 1.
#define WM_PROGRESSBAR_SET_CAPTION 0x0501
#define WM_PROGRESSBAR_SET_TEXT 0x0502
#define WM_PROGRESSBAR_DONE 0x0503

// Dialog templates and their controls.
#define IDD_PROGRESS_BAR 439
#define IDC_PROGRESS_BAR 1226
#define IDC_PROGRESS_TEXT 1227
#define IDD_STARTUP_SCREEN 376

// Timers.
#define ZV_TIMER_STARTUP_SCREEN 123
