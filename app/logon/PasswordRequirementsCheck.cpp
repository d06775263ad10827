#include "app/logon/PasswordRequirementsCheck.h"

#include "core/store/DatabaseObj.h"

bool CheckPasswordRequirements(const CSecretString& password, const PasswordRequirementsEnv& env)
{
    BYTE block[kPasswordRequirementsSize] = {};
    if (!env.readRequirements || !env.readRequirements(block)) return true;
    if (MeetsPasswordRequirements(block, password)) return true;
    CDatabaseObj database;
    const int loaded = env.openDatabase ? env.openDatabase(database) : -1;
    if (loaded != 0) return true;  // 67 (the share cannot be reached) and every other failure alike
    CSecretString newPassword;
    if (!env.askNewPassword || !env.askNewPassword(newPassword)) return false;
    if (env.storeNewPassword) env.storeNewPassword(newPassword, database);
    return true;
}
