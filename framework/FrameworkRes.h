#pragma once
// Command, string and window ids that the framework itself knows. Plain
// defines only: resource scripts include this file too.

// Commands handled by the framework.
#define ID_SEPARATOR 0
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT 57607
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_VIEW_STATUS_BAR 0xE801

// Status bar indicators and their texts.
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702
#define ID_INDICATOR_SCRL 0xE703
#define AFX_IDS_IDLEMESSAGE 0xE001

// Child window ids of a frame.
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_DIALOGBAR 0xE805
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PREVIEW 0xE8F0

// Print preview buttons.
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NEXT 0xE301
#define AFX_ID_PREVIEW_PREV 0xE302
#define AFX_ID_PREVIEW_PRINT 0xE303

// Property sheet buttons.
#define ID_APPLY_NOW 0x3021
#define ID_WIZBACK 0x3023
#define ID_WIZNEXT 0x3024
#define ID_WIZFINISH 0x3025
