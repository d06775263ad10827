#pragma once
// The log-on step of the start-up: whether the current user's database asks
// for a master password, and the log-on dialog that asks for it.
#include <windows.h>

#include "core/crypto/SecretString.h"

class CUserItem;
class CUserList;

// True when the user's database file carries a master password.
bool StartupUserHasMasterPassword(CUserItem* user);

// Shows the log-on dialog with no parent, offering the choice of user when
// the list holds more than one, preset to user. IDOK: user is the chosen
// user and password the accepted password; anything else ends the start-up.
INT_PTR RunStartupLogonDialog(CUserList& users, CUserItem*& user, CSecretString& password);
