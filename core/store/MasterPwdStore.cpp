// The password change of a whole database object.
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"

int CMasterPwdMgr::StoreNewPassword(const CSecretString& password, CDatabaseObj& database)
{
    return StoreNewPassword(password, [&database](const uint8_t verifier[kVerifierSize], const BlowfishContext* key) {
        return database.SaveWithVerifier(verifier, key);
    });
}
