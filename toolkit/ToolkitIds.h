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

// ---- Messages the controls send their parents ----------------------------
// Owner-drawn lists and the tree: the mouse moved over a child list.
#define WM_CHILDLIST_MOUSEMOVE 0x040E
// Lists of the panel mode (CListCtrlEx).
#define WM_LISTCTRLEX_SELECTED 0x8310
#define WM_LISTCTRLEX_ESCAPE 0x040F
#define WM_LISTCTRLEX_COLUMNCLICK 0x040A
#define WM_LISTCTRLEX_BEGINDRAG 0x040B
#define WM_LISTCTRLEX_DRAGMOVE 0x040C
#define WM_LISTCTRLEX_DROP 0x040D
// Only this list starts drags.
#define ZV_LISTCTRLEX_DRAG_SOURCE_ID 10001
// The combo list control.
#define WM_COMBOLIST_GET_CHOICES 0x83FC
#define WM_COMBOLIST_CELL_EDITED 0x83FD
// Progress bars in a combo list are children with id row + this.
#define ZV_COMBOLIST_PROGRESS_ID_BASE 0x83FE
// The search box.
#define WM_SEARCHBOX_UPDATE 0x08B0
#define WM_SEARCHBOX_CLEAR 0x0FB8
#define WM_SEARCHBOX_HISTORY 0x0FB9
#define WM_SEARCHBOX_LEAVE 0x0FBA
// wParam of WM_SEARCHBOX_UPDATE: the text changed / Enter, Escape or a word taken.
#define ZV_SEARCHBOX_CHANGED 0x0400
#define ZV_SEARCHBOX_COMMIT 0x0100
// Sent to the application's main window: the window it keeps as its view
// (its handle), 0 while there is none.
#define WM_TOOLKIT_GET_MAIN_VIEW 0x83E0
// Posted by a dialog bar to itself once its window exists (WM_USER + 1; to a
// dialog's own procedure this number is DM_SETDEFID).
#define WM_DIALOGBAR_BIND 0x0401

// ---- Timers ----------------------------------------------------------------
// The auto-complete drop-down watches its tool bar while shown.
#define ZV_TIMER_AUTOCOMPLETE_WATCH 10
#define ZV_AUTOCOMPLETE_WATCH_MS 200

// ---- Control ids -----------------------------------------------------------
#define ZV_IDC_AUTOCOMPLETE_LIST 1000

// ---- The dialog tool bar (template 1589) -------------------------------------
#define IDD_DIALOG_TOOLBAR 1589
#define IDC_TOOLBAR_CATEGORIES 1001
#define IDC_TOOLBAR_TYPES 1057
#define IDC_TOOLBAR_TYPES_LABEL 1137
#define IDC_TOOLBAR_SEARCH 1090
#define IDC_TOOLBAR_SEARCH_CUE 1281
#define ID_VIEW_PANEL 1136
#define ID_VIEW_LIST 98
#define ID_VIEW_TREE 100
#define ID_OPTIONS 32854
#define ID_LOCK_APP 32857
// The search box's faces: empty, text, and the alternate empty and text.
#define IDB_SEARCH_EMPTY 475
#define IDB_SEARCH_EMPTY_ALT 476
#define IDB_SEARCH_TEXT 477
#define IDB_SEARCH_TEXT_ALT 478
// The bar's bitmap buttons (normal, pressed, disabled), loaded by the frame.
#define IDB_VIEW_LIST 341
#define IDB_VIEW_LIST_DISABLED 342
#define IDB_LOCK 343
#define IDB_OPTIONS 344
#define IDB_VIEW_PANEL 345
#define IDB_VIEW_PANEL_DISABLED 346
#define IDB_VIEW_TREE 347
#define IDB_VIEW_TREE_DISABLED 348
#define IDB_LOCK_DOWN 350
#define IDB_OPTIONS_DOWN 351
