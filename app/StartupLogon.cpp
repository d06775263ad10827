// Until the master-password check and the log-on dialog are part of the
// program, no database can carry a password and a log-on cannot be passed:
// a database that asks for one is never opened without it.
#include "app/StartupLogon.h"

bool StartupUserHasMasterPassword(CUserItem*) { return false; }

INT_PTR RunStartupLogonDialog(CUserList&, CUserItem*&, CString&) { return IDCANCEL; }
