#pragma once
// Window messages, commands and timers of the main window.

// Sent to the main view by the plug-in link: WM_ADD_WEB_LOGIN and
// WM_BRING_TO_FRONT, in core/link/WebLoginLink.h.

// Posted by the first update when the platform wants a sync at start.
#define ID_AUTO_SYNC_AT_START 2000

// Timers of the main view.
#define ZV_TIMER_AUTO_LOCK 1000
#define ZV_TIMER_CLEAR_CLIPBOARD 1002

// Controls of the main view.
#define IDC_RECORD_LIST 5000
#define IDC_CATEGORY_TREE 99
#define IDC_PANEL_TYPES 10000
#define IDC_PANEL_RECORDS 10001
#define IDC_PANEL_SMART_LISTS 10008

// Commands of the main view (menus, accelerators and its tool buttons).
#define ID_NEW_TYPE 32770
#define ID_EDIT_TYPES 32771
#define ID_NEW_ITEM 32772
#define ID_EDIT_ITEM 32773
#define ID_COLUMN_CHOOSER 32777
#define ID_SHOW_DETAILS 32779
#define ID_DELETE_ITEM 32780
#define ID_DUPLICATE_ITEM 32782
#define ID_PAGE_UP 32783
#define ID_PAGE_DOWN 32784
#define ID_SELECT_ALL 32802
#define ID_EDIT_CATEGORIES 32834
#define ID_TOGGLE_MASK 32839
#define ID_AUTO_FILL 32901
#define ID_PRINT_RECORD 32906
#define ID_ADD_ATTACHMENT 32922
#define ID_EMAIL_ITEMS 32949
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_FIND 57636
#define ID_EDIT_PASTE 57637

// Record commands.
#define ID_CUSTOMIZE_FIELDS 32841

// Copy commands (fields 7 to 10 out of order, as the menu has them).
#define ID_COPY_CATEGORY 32838
#define ID_COPY_FIELD1 32809
#define ID_COPY_FIELD2 32810
#define ID_COPY_FIELD3 32811
#define ID_COPY_FIELD4 32812
#define ID_COPY_FIELD5 32813
#define ID_COPY_FIELD6 32814
#define ID_COPY_FIELD7 32879
#define ID_COPY_FIELD8 32876
#define ID_COPY_FIELD9 32877
#define ID_COPY_FIELD10 32878
#define ID_COPY_NOTE 32815
#define ID_EVENT_VIEWER 32909

// Upkeep commands.
#define ID_DELETE_DUPLICATES 32908
// Start-up, printing and small handlers of the main view.
#define ID_FILE_PAGE_SETUP 57605
#define ID_FILE_PRINT 57607
#define ID_FILE_PRINT_DIRECT 57608
#define ID_FILE_PRINT_PREVIEW 57609
// Taken and ignored, with the framework's New and Open.
#define ID_IGNORED_1091 1091
// Notification 1803 of the controls 2001 to 2011: answered 0, nothing done.
#define ZV_NOTIFY_IGNORED_CODE 1803
#define IDC_IGNORED_FIRST 2001
#define IDC_IGNORED_LAST 2011
// The details pane window.
#define IDC_DETAILS_PANE 2012
// Import and export commands of the main view (File > Import, File > Export).
#define ID_IMPORT_CSV 32789
#define ID_IMPORT_CRYPTINFO 32790
#define ID_IMPORT_TOPSECRET 32791
#define ID_IMPORT_MOBILESAFE 32792
#define ID_IMPORT_YAPS 32793
#define ID_IMPORT_EWALLET 32794
#define ID_EXPORT_ZKV 32800
#define ID_EXPORT_CSV 32801
#define ID_IMPORT_ZKV 32808
#define ID_IMPORT_DATABASE 32828
#define ID_EXPORT_ZKV3 32902
#define ID_EXPORT_ZKV4 32919
#define ID_IMPORT_ZKV_FOLDER 32920
#define ID_EXPORT_ZKV_LIST 32923
#define ID_IMPORT_1PASSWORD 32942
// Commands of the user, options, database sync and reset handlers
// (view/ViewUserCommands.cpp); Options is the tool bar's ID_OPTIONS.
#define ID_EDIT_USERS 32853
#define ID_DATABASE_SYNC 32900
#define ID_RESET_DATABASE 32950
// Backup and restore commands of the main view (File > Backup..., File >
// Restore), and their messages' string ids.
#define ID_BACKUP 32850
#define ID_RESTORE_ZKV_FOLDER 32936
#define ID_RESTORE_ZKV_FILE 32937
#define IDS_ZKV_FOLDER_PROMPT 127
#define IDS_FILE_REPLACE_ASK 204
#define IDS_ZKV_FILE_FILTER 405
#define IDS_EXPORT_WRITE_FAILED 603
#define IDS_BACKUP_DONE 7106
#define IDS_RESTORE_CONFIRM 7107
#define IDS_RESTORE_TITLE 7108
// Locking and clipboard clearing (view/ViewLocking.cpp); Lock is the tool
// bar's ID_LOCK_APP. Posted to the view to lock once the record editor,
// closed by an expired countdown, has gone.
#define ID_CLEAR_CLIPBOARD 32911
#define WM_DEFERRED_LOCK 0x8131
// Password and user commands (view/ViewUserCommands.cpp): the User menu's
// entries are 40000 + n; 33000 stands in no menu of the program's own.
#define ID_SET_PASSWORD 32781
#define ID_SYNC_ALLOWED 33000
#define ID_USER_FIRST 40000
#define ID_USER_LAST 40030
// Tool commands of the main view (view/ViewTools.cpp); the user guide is the
// shell's ID_HELP_USER_GUIDE (app/AppIds.h), which the view takes first. The
// string ids of their messages.
#define ID_CHECK_FOR_UPDATES 32904
#define ID_INSTALL_REMOVABLE 32910
#define ID_INSTALL_BROWSER_PLUGIN 32930
#define ID_UNINSTALL_BROWSER_PLUGIN 32931
#define IDS_UPDATE_ADDRESS 132
#define IDS_PLUGIN_REGISTERED_RESTART 134
#define IDS_PLUGIN_UNREGISTERED_RUN 203
#define IDS_PLUGIN_REGISTERED_RUN 58112
#define IDS_PLUGIN_REGISTER_FAILED 58113
#define IDS_PLUGIN_UNREGISTERED_RESTART 58114
#define IDS_PLUGIN_UNREGISTER_FAILED 58115
// The record popup menu (view/ViewMoveRecords.cpp): its Type and Category
// sub-menus move the selected records; entry n of a sub-menu has the range's
// first id + n.
#define ID_MOVE_TO_TYPE_FIRST 5000
#define ID_MOVE_TO_TYPE_LAST 5400
#define ID_MOVE_TO_CATEGORY_FIRST 4000
#define ID_MOVE_TO_CATEGORY_LAST 4256
#define ID_MOVE_TO_UNFILED_TYPE 32843
#define ID_MOVE_TO_UNFILED_CATEGORY 32847
// The search box's history popup (menu IDR_SEARCH_MENU): its recent searches,
// newest first, the greyed placeholder of an empty history and the clear
// command.
#define ID_RECENT_SEARCH_FIRST 8000
#define ID_RECENT_SEARCH_LAST 8010
#define ID_NO_RECENT_SEARCHES 32948
#define ID_CLEAR_SEARCH_HISTORY 32947
// Posted to the main view to close the program once no dialog is open over
// the frame (the icon chooser's Delete Icon).
#define WM_CLOSE_FOR_ICON_DELETION 0x0620
