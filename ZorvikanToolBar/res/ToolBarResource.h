#pragma once
// Resource, command and message ids of the plug-in library.
#define IDS_PROJNAME 100
#define IDR_ZORVIKANTOOLBAR 101
#define IDR_ZORVIKBAND 103
#define IDD_SECURITY_OPTION 212
#define IDB_SECURITY 213

// Controls of the "Security Option" dialog.
#define IDC_SECURITY_USER 201
#define IDC_SECURITY_PASSWORD 202
#define IDC_TIMEOUT_CHECK 203
#define IDC_TIMEOUT_SPIN 204
#define IDC_TIMEOUT_MINUTES 205
#define IDC_MISMATCH_MARK 206
#define IDC_SECURITY_PICTURE 207

// The tool bar's menu "IEMenu", its bitmaps and the button's icon.
#define IDR_IEMENU 208
#define IDB_MENU_NEW_RECORD 204
#define IDB_MENU_SECURITY 205
#define IDB_MENU_HOME 206
#define IDB_MENU_WEB_LOGINS 207
#define IDB_MENU_USER_GUIDE 214
#define IDI_TOOLBAR_BUTTON 210

// Commands of the tool bar. The entries of the "Web Logins..." sub-menu take
// the ids from ID_WEB_LOGIN_FIRST, those of the search pop-up from
// ID_SEARCH_RESULT_FIRST, each up to its last id.
#define ID_WEB_LOGIN_FIRST 0
#define ID_WEB_LOGIN_LAST 500
#define ID_SEARCH_RESULT_FIRST 501
#define ID_SEARCH_RESULT_LAST 1000
#define ID_TOOLBAR_BUTTON 1001
#define ID_HOME_PAGE 32773
#define ID_NEW_RECORD 32775
#define ID_SECURITY_OPTIONS 32776
#define ID_WEB_LOGINS_PLACEHOLDER 32777
#define ID_AUTO_SUBMIT 32779
#define ID_USER_GUIDE 32781

// Posted to the tool bar by the link's listener threads: the program changed
// the database or the user; the data is read again on the tool bar's thread.
#define WM_DESKTOP_DATA_CHANGED (0x8000 + 0x120)
