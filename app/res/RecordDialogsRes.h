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
