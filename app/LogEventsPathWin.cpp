#include "app/LogEvents.h"
#include "core/AppPrefMgr.h"

CString DefaultEventsLogPath() { return CAppPrefMgr::GetInstance()->GetEventsLogPath(); }
