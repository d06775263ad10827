#pragma once
// One sync of the open database with another database file on disk: finds
// the key of the other file (asking for its password when it differs from
// this one's) and has the store merge the two in the chosen mode under the
// chosen conflict rule. "Current" is the open database, "remote" the file.
#include "core/crypto/SecretString.h"
#include "framework/CString.h"

class CDatabaseObj;
class CNWSyncProgress;

// Sync modes: which side is walked and which file is saved.
const int kSyncCurrentToRemote = 0;  // saves the remote file
const int kSyncRemoteToCurrent = 1;  // saves the current file
const int kSyncBothWays = 2;         // saves the remote file, then the current one

// Conflict rules for an item changed on both sides.
const int kSyncCurrentWins = 0;
const int kSyncRemoteWins = 1;
const int kSyncLatestWins = 2;  // the later change; the current item on a tie

// Asks for the password of a remote file protected by another password.
class CRemotePasswordPrompt {
public:
    virtual ~CRemotePasswordPrompt() = default;
    // False when the user skips the file; else the typed password.
    virtual bool Ask(const CString& remotePath, CSecretString& password) = 0;
};

class CSyncDatabase {
public:
    CSyncDatabase() = default;
    virtual ~CSyncDatabase() = default;

    void SetPath(const CString& path) { m_path = path; }
    void SetMode(int mode) { m_mode = mode; }
    void SetRule(int rule) { m_rule = rule; }
    // Without a prompt a remote file under another password is skipped.
    void SetPasswordPrompt(CRemotePasswordPrompt* prompt) { m_prompt = prompt; }

    const CString& GetPath() const { return m_path; }
    int GetMode() const { return m_mode; }
    int GetRule() const { return m_rule; }

    // A SyncResult. A remote file that cannot be read (missing, locked,
    // damaged) is never merged, written or created. On a failure the current
    // database keeps its items as they were, except in the one case
    // WroteRemoteFile() tells of.
    virtual int Sync(CDatabaseObj& current, CNWSyncProgress* progress);

    // Whether the last Sync wrote the remote file. With a failed result (a
    // both-ways sync whose save of the current file failed) the remote file
    // holds the merge and the current one does not.
    bool WroteRemoteFile() const { return m_wroteRemote; }

private:
    CSyncDatabase(const CSyncDatabase&) = delete;
    CSyncDatabase& operator=(const CSyncDatabase&) = delete;

    CString m_path;
    int m_mode = kSyncBothWays;
    int m_rule = kSyncRemoteWins;
    CRemotePasswordPrompt* m_prompt = nullptr;
    bool m_wroteRemote = false;
};
