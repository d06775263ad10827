#pragma once
// Resource ids of the desktop-file sync dialogs (res/SyncFiles.rc).

// Dialog templates
#define IDD_SYNC_SETTINGS 240
#define IDD_REMOTE_FILE_PASSWORD 375

// Controls
#define IDC_SYNC_CHECK_ALL 1128
#define IDC_SYNC_UNCHECK_ALL 1129
#define IDC_SYNC_REMOVE_FILE 1127
#define IDC_SYNC_ADD_FILE 1130
#define IDC_REMOTE_PASSWORD 1140
#define IDC_SYNC_FILE_LIST 1142
#define IDC_SYNC_APPLY 1147
#define IDC_SYNC_NOW 1148
#define IDC_SYNC_SELECTED 1149
#define IDC_SYNC_OK 1150
