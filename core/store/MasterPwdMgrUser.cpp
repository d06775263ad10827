// The password checks for a user: the user's folder comes from the
// preference manager, which only the windows build has.
#include "core/prefs/AppPrefMgr.h"
#include "core/store/MasterPwdMgr.h"

bool CMasterPwdMgr::VerifyPassword(CUserItem* user, const CSecretString& password) const
{
    return VerifyPassword(CAppPrefMgr::GetInstance()->GetUserDirectory(user), password);
}

bool UserHasMasterPassword(CUserItem* user)
{
    return UserHasMasterPassword(CAppPrefMgr::GetInstance()->GetUserDirectory(user));
}
