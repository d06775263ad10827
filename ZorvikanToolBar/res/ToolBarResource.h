#pragma once
// Resource ids of the plug-in library.
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
