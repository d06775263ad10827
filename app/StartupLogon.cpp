// Until the log-on dialog is part of the program, a log-on cannot be passed:
// a database that asks for a password is never opened without it.
#include "app/StartupLogon.h"

#include "core/MasterPwdMgr.h"

bool StartupUserHasMasterPassword(CUserItem* user) { return user && UserHasMasterPassword(user); }

INT_PTR RunStartupLogonDialog(CUserList&, CUserItem*&, CString&) { return IDCANCEL; }
