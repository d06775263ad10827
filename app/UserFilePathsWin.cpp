#include "app/UserFilePaths.h"
#include "core/AppPrefMgr.h"

CString DefaultEventsLogPath() { return CAppPrefMgr::GetInstance()->GetEventsLogPath(); }

CString DefaultSmartTypesPath(CUserItem* user) { return CAppPrefMgr::GetInstance()->GetSmartTypesPath(user); }

CString DefaultSearchHistoryPath(CUserItem* user) { return CAppPrefMgr::GetInstance()->GetSearchHistoryPath(user); }
