#pragma once
// Resource ids of the desktop program (menus, icons, strings). The language
// library carries the same ids.

// The document template, main menu, main icon and window title.
#define IDR_MAINFRAME 128
// Tray icon and tray menu.
#define IDI_TRAY 459
#define IDR_TRAY_MENU 435
// Menu images: a tool bar whose buttons name the commands of the strip
// bitmap of the same id, and the two images of the tray menu.
#define IDR_MENU_IMAGES 337
#define IDB_TRAY_ADD 436
#define IDB_TRAY_PREFERENCES 437

// Strings.
#define IDS_IMPORT_FILE_ASK 161
#define IDS_USER_GUIDE_FILE 162
#define IDS_FAQ_URL 163
#define IDS_SUPPORT_URL 164
#define IDS_DOWNLOAD_URL 165
#define IDS_PLATFORM_INIT_FAILED 191
#define IDS_PLATFORM_NAME_FAILED 199
#define IDS_COMPANY_KEY 7100
#define IDS_PRODUCT_NAME 7101
#define IDS_APP_NAME 7104
