#pragma once
// CHandheldSession: the local work of one Wi-Fi sync session (what the
// conversation asks of ISyncSessionWork), on the server thread. Everything
// the handheld sends lands in the session's own folder; nothing outside it
// is written before the handheld's password has been checked against the
// desktop user's database. The desktop database is read and saved under the
// key of that password, never by swapping the process-wide master key.
//
// Before the merge the user's database file and attachment folder are
// copied into the session folder; a session that fails or is cancelled
// after the merge puts them back, so the desktop keeps what it had. The
// handheld's attachments and icons take the place of the user's only once
// the session has succeeded (Finish).
// First: its member CreateFile must keep its name, before any header brings
// in the Windows headers that rename it.
#include "sync/session/SyncSessionFolder.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "core/crypto/SecretString.h"
#include "framework/CString.h"
#include "sync/handheld/HandheldDatabase.h"
#include "sync/handheld/IPhoneRecordTable.h"
#include "sync/protocol/SyncConversation.h"
#include "sync/protocol/SyncSessionWork.h"
#include "sync/protocol/SyncWire.h"
#include "sync/session/AttachmentReplacement.h"

// Where a desktop user keeps its data.
struct SyncUserPlace {
    CString databasePath;  // "...\ZorvikanDatabase.zdb"
    CString attachmentsFolder;
    CString iconsFolder;
};

// What the session asks of the program around it. Every call comes from the
// server thread.
class ISyncSessionHost {
public:
    virtual ~ISyncSessionHost() = default;
    virtual int Mode() = 0;
    // False while the program is locked or has no user.
    virtual bool CanSync() = 0;
    virtual void OnState(int state) = 0;
    virtual void OnUserName(const CString& userName, const CString& userId) = 0;
    // The desktop user whose key name is the handheld's user id: false when
    // there is none (place then tells where a new one would keep its data,
    // or stays empty when none can be made). Changes nothing.
    virtual bool FindUser(const CString& userName, const CString& userId, SyncUserPlace& place) = 0;
    // After the password check: finds the user (taking over the handheld's
    // name) or creates it. False when there is no user to sync with.
    virtual bool AdoptUser(const CString& userName, const CString& userId, SyncUserPlace& place) = 0;
    // Around the merge of the adopted user's database.
    virtual void BeforeMerge() = 0;
    virtual void AfterMerge() = 0;
    virtual bool WantsPasswordHint() = 0;
    virtual void StorePasswordHint(const CString& hint) = 0;
    // Once the session has ended (any outcome, after the files are settled).
    virtual void SessionEnded(SyncOutcome outcome, bool merged) = 0;
};

// Session states (SyncSessionState).
enum SyncSessionState {
    kSyncStateNew = 0,
    kSyncStateReceiving = 2,
    kSyncStateUnreadable = 3,
    kSyncStateComparing = 4,
    kSyncStateWritingDesktop = 5,
    kSyncStateMerged = 6,
    kSyncStateMismatch = 9,
    kSyncStateSucceeded = 10,
    kSyncStateClosed = 11,
    kSyncStateFinishing = 12,
    kSyncStateCancelled = 13,
};

class CHandheldSession : public ISyncSessionWork {
public:
    explicit CHandheldSession(ISyncSessionHost& host);
    ~CHandheldSession() override;

    // How long the session may take (its wire's limit): the handheld's file
    // is read and rewritten within it, from Begin on.
    void SetTimeLimit(int64_t ms) { m_timeLimitMs = ms; }
    // Makes the session's folder below the base folder (the system's
    // temporary folder). 0, or -1.
    int Begin(const std::string& tempBase);
    // Settles the files by the outcome and removes the session folder.
    void Finish(SyncOutcome outcome);

    int Mode() override;
    std::unique_ptr<ISyncFileWriter> CreateReceivedFile(SyncBatch batch, const std::string& name) override;
    bool CanSync() override;
    bool ReadDatabaseInfo() override;
    SyncMergeResult CheckPasswordAndMerge() override;
    std::vector<std::string> ListFiles(SyncSendSet set) override;
    std::unique_ptr<ISyncFileReader> OpenFileToSend(SyncSendSet set, const std::string& name) override;
    bool ApplyHandheldAttachments() override;
    bool WantsPasswordHint() override;
    void StorePasswordHint(const std::string& hint) override;

    const CSyncSessionFolder& Folder() const { return m_folder; }
    const CHandheldDatabaseInfo& Info() const { return m_info; }
    bool Merged() const { return m_merged; }
    const SyncUserPlace& Place() const { return m_place; }

private:
    void SetState(int state);
    // Copies the user's database file and attachments into the session
    // folder; puts them back.
    bool BackUpUserData();
    void RestoreUserData();
    bool InstallReceivedIcons();

    ISyncSessionHost& m_host;
    int64_t m_timeLimitMs = SyncWireLimits().sessionMs;
    int64_t m_deadline = 0;
    int m_mode = -1;
    CSyncSessionFolder m_folder;
    std::unique_ptr<CHandheldDatabase> m_reader;
    CHandheldDatabaseInfo m_info;
    bool m_infoRead = false;
    CiPhoneRecordTable m_table;
    SyncUserPlace m_place;
    bool m_merged = false;
    bool m_backedUp = false;
    bool m_hadDatabase = false;
    bool m_hadAttachments = false;
    std::set<uint32_t> m_recordIds;
    CAttachmentReplacement m_replacement;
};

// Whether the crib and password of a handheld fit a desktop user who has no
// database yet: both empty, or the crib is the verifier of the password.
bool HandheldPasswordFitsNewUser(const std::vector<uint8_t>& crib, const CSecretString& password);
