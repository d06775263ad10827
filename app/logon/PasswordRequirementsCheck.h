#pragma once
// The password-requirements check that follows the log-on: a password that
// does not meet the installer's requirements must be replaced before the
// program starts. The steps that need the preferences, the database and a
// dialog come in as functions, so the rules can be tested on their own.
#include <functional>

#include "app/logon/PasswordRules.h"

class CDatabaseObj;

struct PasswordRequirementsEnv {
    // The stored "Password requirements" block; false when none is stored.
    std::function<bool(BYTE block[kPasswordRequirementsSize])> readRequirements;
    // Loads the user's database into the object; the load's result.
    std::function<int(CDatabaseObj& database)> openDatabase;
    // The set-password dialog in its welcome form; false on cancel.
    std::function<bool(CSecretString& newPassword)> askNewPassword;
    // Stores the new password for the loaded database (new verifier, new
    // key, database saved); 0 on success.
    std::function<int(const CSecretString& newPassword, CDatabaseObj& database)> storeNewPassword;
};

// The system's error code for a network name that cannot be found.
const int kLoadResultBadNetPath = 67;

// True when the start may go on. No requirements stored, or a password that
// meets them: true. Otherwise the user's database is loaded: unreachable on
// the network (67), true without asking; any other failed load, true
// without asking too, since a database that was not read must never be
// saved (the check runs again at the next start). A loaded database: the
// welcome dialog asks for a new password; cancel gives false, OK stores it.
bool CheckPasswordRequirements(const CSecretString& password, const PasswordRequirementsEnv& env);
