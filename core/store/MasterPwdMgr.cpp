#include "core/store/MasterPwdMgr.h"

#include <cstring>

#include "core/os/ProcessWide.h"

int CMasterPwdMgr::SetPassword(const CSecretString* password)
{
    BlowfishKeyPtr key;
    int result = 0;
    if (password && !password->IsEmpty()) {
        key = MakeBlowfishKey(*password);
        if (!key) result = -1;
    }
    SetKey(std::move(key));
    return result;
}

void CMasterPwdMgr::ClearPassword() { SetKey(nullptr); }

BlowfishKeyPtr CMasterPwdMgr::GetKey() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_key;
}

void CMasterPwdMgr::SetKey(BlowfishKeyPtr key)
{
    BlowfishKeyPtr old;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        old = std::move(m_key);
        m_key = std::move(key);
    }
    // old goes here, outside the lock; the schedule is wiped when its last
    // holder lets go.
}

int CMasterPwdMgr::StoreNewPassword(const CSecretString& password, const SaveWithKey& save)
{
    uint8_t verifier[kVerifierSize] = {};
    BlowfishKeyPtr key;
    if (!password.IsEmpty()) {
        key = MakeBlowfishKey(password);
        if (!key) return -1;
        MakeVerifierWithKey(key.get(), verifier);
    }
    const int result = save ? save(verifier, key.get()) : -1;
    if (result == 0) SetKey(std::move(key));
    return result;
}

bool CMasterPwdMgr::VerifyPassword(const CString& userFolder, const CSecretString& password) const
{
    uint8_t stored[kVerifierSize];
    const int read = ReadUserDbVerifier(stored, userFolder);
    if (read != 0 && read != kVerifierNoFile) return false;
    if (password.IsEmpty() && VerifierIsZero(stored)) return true;
    uint8_t candidate[kVerifierSize];
    if (MakeCheckVerifier(password, candidate) != 0) return false;
    return VerifiersEqual(candidate, stored);
}

std::shared_ptr<CMasterPwdMgr> GetMasterPwdMgr()
{
    static CProcessWide<CMasterPwdMgr> slot([] { return std::make_shared<CMasterPwdMgr>(); });
    return slot.Get();
}
