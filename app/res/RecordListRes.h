#pragma once
// Resource ids of the main view's record list (res/RecordList.rc).

// Cell pictures of the notes and attachment columns (16 x 16).
#define IDI_RECORD_NOTES 141
#define IDI_RECORD_ATTACHMENT 441

// The column chooser.
#define IDD_SHOW_COLUMNS 136
#define IDC_SHOW_TYPE_COLUMN 1030
#define IDC_SHOW_CATEGORY_COLUMN 1032
#define IDC_SHOW_COLUMN_1 1033
#define IDC_SHOW_COLUMN_2 1034
#define IDC_SHOW_COLUMN_3 1035
#define IDC_SHOW_COLUMN_4 1036
#define IDC_SHOW_COLUMN_5 1037
#define IDC_SHOW_COLUMN_6 1038
#define IDC_SHOW_COLUMN_7 1039
#define IDC_SHOW_NOTE_COLUMN 1045
#define IDC_SHOW_COLUMN_8 1119
#define IDC_SHOW_COLUMN_9 1120
#define IDC_SHOW_DATE_COLUMN 1121
#define IDC_SHOW_ATTACHMENT_COLUMN 1225

// The record popup menu (right click on a record), its texts and the cursor
// of a record dragged onto a type.
#define IDR_LIST_POPUP 212
#define IDS_DELETE_ATTACHMENT 201
#define IDS_ADD_ATTACHMENT 202
#define IDC_RECORD_DRAG 427
// The pointing hand over the details pane's links.
#define IDC_LINK_HAND 1652
// Its menu images (16 x 15).
#define IDB_POPUP_PRINT 431
#define IDB_POPUP_EXPORT 457
#define IDB_POPUP_ADD_ATTACHMENT 454
#define IDB_POPUP_DELETE_ATTACHMENT 455
