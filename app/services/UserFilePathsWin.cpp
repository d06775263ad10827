#include "app/services/UserFilePaths.h"
#include "core/prefs/AppPrefMgr.h"

CString DefaultEventsLogPath() { return CAppPrefMgr::GetInstance()->GetEventsLogPath(); }

CString DefaultSmartTypesPath(CUserItem* user) { return CAppPrefMgr::GetInstance()->GetSmartTypesPath(user); }

CString DefaultSearchHistoryPath(CUserItem* user) { return CAppPrefMgr::GetInstance()->GetSearchHistoryPath(user); }
