#pragma once
// CMasterPwdMgr: the process-wide holder of the Blowfish key of the current
// user's master password. Items are packed under it unless a load or save is
// given another key explicitly (CItemKeyScope); the merge and the Wi-Fi sync
// pass their other file's key that way instead of swapping this one, so the
// GUI thread's saves always use the user's key.
#include <functional>
#include <memory>
#include <mutex>

#include "core/crypto/BlowfishKey.h"
#include "core/crypto/SecretString.h"
#include "core/store/PasswordVerifier.h"
#include "framework/CString.h"

class CDatabaseObj;
class CUserItem;

class CMasterPwdMgr {
public:
    CMasterPwdMgr() = default;
    CMasterPwdMgr(const CMasterPwdMgr&) = delete;
    CMasterPwdMgr& operator=(const CMasterPwdMgr&) = delete;

    // Keys the manager with the text; none or empty leaves it without a key.
    // The old key is wiped once nobody uses it any more. 0, or -1 when the
    // new context could not be allocated (the manager is then without key).
    int SetPassword(const CSecretString* password);
    int SetPassword(const CSecretString& password) { return SetPassword(&password); }
    // Lock, user switch, exit: drops the key (wiped once released).
    void ClearPassword();

    // The current key (null: items are packed plain). The caller's copy stays
    // valid whatever happens to the manager meanwhile.
    BlowfishKeyPtr GetKey() const;
    bool HasPassword() const { return GetKey() != nullptr; }
    // Installs a key made elsewhere (for example by a password change).
    void SetKey(BlowfishKeyPtr key);

    // A password change. Computes the verifier of the password (zeros for an
    // empty one) and its key, then calls save with both: save stores the
    // verifier in the database, saves it under the key (every item is packed
    // again, so the whole file is re-encrypted) and returns the save's result,
    // restoring the database's old verifier itself when it fails. Only when
    // save returns 0 does the manager take the new key; otherwise key and
    // verifier stay as before. Returns save's result, or -1 when no context
    // could be allocated (save is then not called).
    using SaveWithKey = std::function<int(const uint8_t verifier[kVerifierSize], const BlowfishContext* key)>;
    int StoreNewPassword(const CSecretString& password, const SaveWithKey& save);
    // The same for a database object: its verifier is set and it is saved
    // under the new key (CDatabaseObj::SaveWithVerifier).
    int StoreNewPassword(const CSecretString& password, CDatabaseObj& database);

    // Whether the password opens the database in the user's data folder. An
    // empty password is right only when the file exists nowhere or has no
    // password; an unreadable file accepts no password at all.
    bool VerifyPassword(const CString& userFolder, const CSecretString& password) const;
    // The same for a user, in the folder the preference manager gives it.
    bool VerifyPassword(CUserItem* user, const CSecretString& password) const;

private:
    mutable std::mutex m_lock;
    BlowfishKeyPtr m_key;
};

// The singleton, created on the first call.
std::shared_ptr<CMasterPwdMgr> GetMasterPwdMgr();

// Whether the user's database file is protected (an unreadable file counts
// as protected), in the folder the preference manager gives the user.
bool UserHasMasterPassword(CUserItem* user);
