#pragma once
// Resource ids of the event viewer (res/History.rc).
#define IDD_EVENT_VIEWER 430
#define IDC_EVENT_LIST 1219
#define IDC_EVENT_CLEAR_LOG 1220
