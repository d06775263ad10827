#include "app/services/UserFilePaths.h"

CString DefaultEventsLogPath() { return CString(); }

CString DefaultSmartTypesPath(CUserItem*) { return CString(); }

CString DefaultSearchHistoryPath(CUserItem*) { return CString(); }
