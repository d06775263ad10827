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
// The search box's history popup.
#define IDR_SEARCH_MENU 479

// The main view's tool buttons (normal, pressed, disabled) and its built-in
// small-icon strip (64 cells of 19 x 15).
#define IDB_SHOW_DETAILS 352
#define IDB_SHOW_DETAILS_DOWN 353
#define IDB_DUPLICATE_DOWN 354
#define IDB_DUPLICATE 355
#define IDB_EMAIL_DOWN 356
#define IDB_DELETE_ITEM 357
#define IDB_EDIT_ITEM 358
#define IDB_EDIT_ITEM_DOWN 359
#define IDB_EMAIL 360
#define IDB_NEW_TYPE_DOWN 361
#define IDB_MASK 362
#define IDB_MASK_DOWN 363
#define IDB_NEW_ITEM 364
#define IDB_NEW_ITEM_DOWN 365
#define IDB_NEW_TYPE 366
#define IDB_DELETE_ITEM_DOWN 367
#define IDB_SMALL_ICONS 372
#define IDB_AUTO_FILL 373
#define IDB_AUTO_FILL_DOWN 374
#define IDB_AUTO_FILL_DISABLED 377
#define IDB_ADD_ATTACHMENT_DOWN 443
#define IDB_ADD_ATTACHMENT_DISABLED 444
#define IDB_ADD_ATTACHMENT 445
#define IDB_DELETE_ATTACHMENT_DOWN 446
#define IDB_DELETE_ATTACHMENT_DISABLED 447
#define IDB_DELETE_ATTACHMENT 448
#define IDB_PRINT_RECORD_DOWN 449
#define IDB_PRINT_RECORD_DISABLED 450
#define IDB_PRINT_RECORD 451

// Strings.
#define IDS_SAME_PASSWORD_ON_HANDHELD 160
#define IDS_IMPORT_FILE_ASK 161
#define IDS_USER_GUIDE_FILE 162
#define IDS_FAQ_URL 163
#define IDS_SUPPORT_URL 164
#define IDS_DOWNLOAD_URL 165
#define IDS_LABEL_ATTACHMENT 126
#define IDS_LABEL_CATEGORY 154
#define IDS_LABEL_NOTE 190
#define IDS_PLATFORM_INIT_FAILED 191
#define IDS_PLATFORM_NAME_FAILED 199
#define IDS_PRINT_REPORT_TITLE 300
#define IDS_COMPANY_KEY 7100
#define IDS_PRODUCT_NAME 7101
#define IDS_APP_NAME 7104

// The type-icon strips of the other sizes (64 cells each, down columns of 8):
// 12 x 10, 23 x 20, 31 x 27, and 31 x 27 on black for drawing enlarged.
#define IDB_TYPE_ICONS_SMALL 203
#define IDB_TYPE_ICONS_MEDIUM 214
#define IDB_TYPE_ICONS_LARGE 200
#define IDB_TYPE_ICONS_ENLARGED 440

// The program-wide button strips: the small copy buttons' states (12 x 13
// cells across) and the pressed attachment button (14 x 14).
#define IDB_COPY_BUTTONS 204
// The record editor's masking mark: cell 0 (12 x 13) of a strip on the
// colour key 0x3399FF.
#define IDB_MASK_MARK 213
#define IDB_ATTACHMENT_PRESSED 438
