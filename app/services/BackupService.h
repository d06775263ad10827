#pragma once
// IBackupService: backup and restore of the current user's database, which
// the main view's File > Backup and Restore commands and its end call. The
// import and export layer implements it and the program installs it; while
// none is installed the commands do nothing. GUI thread only.
#include <functional>
#include <memory>
#include <string>

#include "core/crypto/Blowfish.h"
#include "core/crypto/BlowfishKey.h"
#include "framework/CString.h"

class CDatabaseObj;
class CUserItem;
class CWnd;

class IBackupService {
public:
    virtual ~IBackupService() = default;

    // All records of the database that are not deleted, with their
    // attachment files, as an exchange folder at path (a folder ending in
    // ".zkv"); cipher null writes plain values. 0, or the id of the message
    // to show.
    virtual unsigned WriteBackup(const CDatabaseObj& db, CUserItem* user, const CString& path,
                                 const BlowfishContext* cipher) = 0;

    // The automatic backup when the program ends: into the next of the
    // user's five backup folders, under the master password when there is
    // one. Nothing for a database without live records, nor for one with a
    // password while no key is at hand. Shows nothing.
    virtual void BackupOnExit(const CDatabaseObj& db, CUserItem* user) = 0;
    // The tip before a backup (kind 2) or a restore from a folder (kind 3),
    // whose "Don't show this again" clears the kind's half of the user's
    // "BackupRestoreHint"; true when the user goes on.
    virtual bool ShowTip(CWnd* parent, CUserItem* user, int kind) = 0;
    // The name of a backup inside the chosen folder; path gets the full path
    // of the folder to write (an existing one of that name deleted after the
    // user agreed). False when cancelled.
    virtual bool AskBackupName(CWnd* parent, const CString& folder, CString& path) = 0;
    // The text of a message id that WriteBackup returned.
    virtual CString MessageText(unsigned messageId) const = 0;

    // What a restore did.
    struct RestoreOutcome {
        // The database now holds the file's records and was saved.
        bool restored = false;
        // The password prompt was cancelled: nothing happened.
        bool cancelled = false;
        // Otherwise the message to show (id 0 and no text: none); the
        // database is as it was.
        unsigned messageId = 0;
        CString messageText;
        // The items the database held before a restore; the caller reports
        // their records as deleted and drops them.
        std::shared_ptr<CDatabaseObj> previous;
    };
    // Asks for the password of a protected file that the master key does not
    // open; null when the user cancelled.
    using PasswordAsk = std::function<BlowfishKeyPtr(const std::string& text)>;
    // Replaces the database's records, types and categories and the user's
    // attachment files with those of the exchange file at path, only once
    // the file has been read whole and holds records. The change notices of
    // the items added are posted for the user.
    virtual RestoreOutcome Restore(CDatabaseObj& db, CUserItem* user, const CString& path,
                                   const PasswordAsk& askPassword) = 0;
};

// The service installed (null when none); Set returns the previous one. The
// caller keeps ownership.
IBackupService* GetBackupService();
IBackupService* SetBackupService(IBackupService* service);
