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

// The Wi-Fi sync's progress window.
#define IDD_SYNC_PROGRESS 405
#define IDC_SYNC_PROGRESS_BAR 1158
#define IDC_SYNC_PROGRESS_TEXT 1164

// The setup wizard of the first start.
#define IDD_SETUP_WIZARD_WELCOME 106
#define IDD_SETUP_WIZARD_CREATE_USER 1590
#define IDD_SETUP_WIZARD_FINISH 1591
#define IDC_WIZARD_TITLE 1169
#define IDC_WIZARD_STEP1 1170
#define IDC_WIZARD_STEP2 1171
#define IDC_WIZARD_STEP3 1172
#define IDC_WIZARD_IP_ADDRESS 1278
// The setup wizard's pictures: bitmaps beside the welcome page's steps, and
// the pictures drawn on the first two pages (resource type "PNG").
#define IDB_WIZARD_HANDHELD 413
#define IDB_WIZARD_NETWORK 416
#define IDR_WIZARD_WELCOME_PICTURE 471
#define IDR_WIZARD_CREATE_USER_PICTURE 472
#define IDC_WIZARD_BITMAP1 1279
#define IDC_WIZARD_BITMAP2 1280
