#include "sync/files/SyncDatabase.h"

#include <cstdint>

#include "core/crypto/BlowfishKey.h"
#include "core/store/DatabaseMerge.h"
#include "core/store/DatabaseMutex.h"
#include "core/store/DatabaseObj.h"
#include "core/store/MasterPwdMgr.h"
#include "core/store/PasswordVerifier.h"
#include "sync/files/NWSyncProgress.h"
#include "sync/files/SyncResult.h"

namespace {

// The system's codes for a file another program holds.
const int kSharingViolation = 32;
const int kLockViolation = 33;

bool IsInUse(int error)
{
    return error == kDatabaseMutexTimeout || error == kSharingViolation || error == kLockViolation;
}

// Passes the merge's steps on, and notes whether the merge got as far as
// stepping: before that only the remote file was being read.
class ProgressRelay : public CMergeProgress {
public:
    explicit ProgressRelay(CNWSyncProgress* sink) : m_sink(sink) {}
    void SetTotal(int count) override
    {
        m_started = true;
        if (m_sink) m_sink->SetRange(count);
    }
    void Step() override
    {
        if (m_sink) m_sink->Step();
    }
    bool Started() const { return m_started; }

private:
    CNWSyncProgress* m_sink;
    bool m_started = false;
};

}  // namespace

int CSyncDatabase::Sync(CDatabaseObj& current, CNWSyncProgress* progress)
{
    m_wroteRemote = false;
    if (m_mode != kSyncCurrentToRemote && m_mode != kSyncRemoteToCurrent && m_mode != kSyncBothWays)
        return kSyncFailure;
    const bool writesCurrent = m_mode != kSyncCurrentToRemote;
    if (writesCurrent && (current.IsReadOnly() || !current.CanSave() || current.GetFilePath().IsEmpty()))
        return kSyncLocalWriteError;

    // A missing file counts as unreadable too: a sync never creates one.
    uint8_t verifier[kVerifierSize];
    int rc = ReadPasswordVerifier(m_path, verifier);
    if (rc != 0) return IsInUse(rc) ? kSyncRemoteInUse : kSyncRemoteReadError;

    BlowfishKeyPtr key;
    if (current.VerifierEquals(verifier)) {
        key = GetMasterPwdMgr()->GetKey();
    } else if (!VerifierIsZero(verifier)) {
        CSecretString password;
        if (!m_prompt || !m_prompt->Ask(m_path, password)) return kSyncSkipped;
        if (password.IsEmpty()) return kSyncPasswordMismatch;
        uint8_t typed[kVerifierSize];
        if (MakeCheckVerifier(password, typed) != 0) return kSyncFailure;
        if (!VerifiersEqual(typed, verifier)) return kSyncPasswordMismatch;
        key = MakeBlowfishKey(password);
        if (!key) return kSyncFailure;
    }

    ProgressRelay relay(progress);
    rc = current.MergeWithFile(m_path, m_mode, m_rule, key.get(), &relay);
    m_wroteRemote = current.MergeWroteOtherFile();
    if (rc == 0) return kSyncSuccess;
    if (!relay.Started()) return IsInUse(rc) ? kSyncRemoteInUse : kSyncRemoteReadError;
    // The remote file is saved first; a failure after it lies with the
    // current file.
    if (m_mode == kSyncRemoteToCurrent || m_wroteRemote) return kSyncLocalWriteError;
    return kSyncRemoteWriteError;
}
