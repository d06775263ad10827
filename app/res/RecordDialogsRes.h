#pragma once
// Resource ids of the record dialogs of the main window (res/RecordDialogs.rc).

// The password generator (template 211).
#define IDD_GENERATE_PASSWORD 211
#define IDC_GEN_LENGTH_SPIN 1065
#define IDC_GEN_LENGTH 1066
#define IDC_GEN_LOWER 1067
#define IDC_GEN_UPPER 1068
#define IDC_GEN_DIGITS 1069
#define IDC_GEN_SYMBOLS 1070
#define IDC_GEN_LATIN1 1071
#define IDC_GEN_PRONOUNCEABLE 1072
#define IDC_GEN_GENERATE 1073
#define IDC_GEN_STRENGTH 1105
#define IDC_GEN_CANDIDATES 1113
#define IDC_GEN_METER 1221
#define IDS_NEED_CHAR_SET 182

// Custom labels and masking of one record (template 208): field i+1 has the
// label edit 1015 + i and the mask box 1059 + i.
#define IDD_CUSTOM_RECORD 208
#define IDC_CUSTOM_LABEL_FIRST 1015
#define IDC_CUSTOM_MASK_FIRST 1059
#define IDC_CUSTOM_RESET 3

// The record editor (template 130).
#define IDD_DETAIL_VIEW 130
#define IDC_DV_TYPE 1005
#define IDC_DV_CATEGORY 1013
#define IDC_DV_NOTES 1012
#define IDC_DV_ATTACHMENT_NAME 1224
#define IDC_DV_ATTACHMENT 1223
#define IDC_DV_ICON 1040
#define IDC_DV_ICON_BUTTON 1033
#define IDC_DV_AUTOFILL_ALLOWED 1114
#define IDC_DV_DUPLICATE 3
#define IDC_DV_DELETE 4
#define IDC_DV_CUSTOM 5
#define IDC_DV_PASSWORD 6
#define IDC_DV_AUTOFILL 7
#define IDC_DV_PRINT 1204
// The editor's button icons (16 x 16).
#define IDI_DV_CANCEL 382
#define IDI_DV_OK 383
#define IDI_DV_PASSWORD 384
#define IDI_DV_DELETE 385
#define IDI_DV_DUPLICATE 386
#define IDI_DV_CUSTOM 387
#define IDI_DV_AUTOFILL 403
#define IDI_DV_PRINT 434
#define IDI_DV_ADD_ATTACHMENT 452
#define IDI_DV_REMOVE_ATTACHMENT 453
// Field i's masking mark: 1059 + i.
#define IDC_DV_MARK_FIRST 1059
#define IDS_DELETE_ATTACHMENT_ASK 133
#define IDS_DELETE_ITEMS_ASK 159
#define IDS_ATTACHMENT_TOO_LARGE 609
#define IDS_ATTACHMENT_NOT_STORED 611

// The copy-field commands' menu text: the type's label and the digit.
#define IDS_COPY_FIELD_MENU 7103

// The attachment download (template 442).
#define IDD_ATTACHMENT_DOWNLOAD 442
#define IDC_DOWNLOAD_OPEN 1230
#define IDC_DOWNLOAD_EXPLORE 1231
#define IDS_DOWNLOAD_LOCATION 200
#define IDS_DOWNLOAD_REPLACE_ASK 612
#define IDS_DOWNLOAD_FAILED 613

// The duplicate records' confirmation (its own template: 456 is the
// import's confirmation).
#define IDD_DUPLICATE_RECORDS 457
#define IDC_DUPLICATES_TEXT 1240
#define IDC_DUPLICATES_LIST 1241

// The type and category editors (templates 131, 132, 207).
#define IDD_DEFINE_TYPE 131
#define IDD_EDIT_ITEMS 132
#define IDD_DEFINE_CATEGORY 207
#define IDC_ITEM_NAME 11021
#define IDC_TYPE_LABEL_FIRST 1015
#define IDC_TYPE_MASK_FIRST 1059
#define IDC_TYPE_ICON 1040
#define IDC_ITEMS_LIST 1058
#define IDC_ITEMS_NEW 1003
#define IDC_ITEMS_EDIT 1004
#define IDC_ITEMS_DELETE 4
#define IDS_DELETE_TYPE_ASK 129
#define IDS_TYPE_NAME_MISSING 140
#define IDS_TYPE_NAME_TAKEN 141
#define IDS_EDIT_CATEGORIES 179
