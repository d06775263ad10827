#pragma once
// Window messages and timer ids of the synchronisation layer.

// Sent by the sync-file list to its dialog: before an in-place combo opens
// (wParam the column, lParam the CStringList of choices to fill), and after
// a cell's new text was stored (wParam the list's id, lParam the list
// view's display information).
#define WM_COMBOLIST_GET_CHOICES 0x83FC
#define WM_COMBOLIST_CELL_EDITED 0x83FD

// Posted by a Wi-Fi sync session to the sync server's window on the GUI
// thread: the SQLite library could not be loaded.
#define WM_SYNC_SQLITE_MISSING 0x83FE
// Sent the same way: lParam the work to run there.
#define WM_SYNC_RUN_ON_GUI 0x83FF

// The start-up and exit runs of the sync-file dialog start their syncs on
// this timer's first tick, once the dialog shows.
#define ID_TIMER_SYNC_FILES_AUTORUN 123
