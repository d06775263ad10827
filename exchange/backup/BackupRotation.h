#pragma once
// Backups of a whole database as an exchange folder ("ZkvFolder": the
// version 4.0 exchange file of the folder's name and its "Files"), and the
// automatic backup when the program ends, which rotates through five such
// folders per user.
#include "core/crypto/Blowfish.h"
#include "framework/CString.h"

class CDatabaseObj;

// Names of the automatic backups, "Backup-%d.zkv" with 0 to 4.
CString AutomaticBackupName(int number);
// The number after counter: counter + 1, and 0 after 4 (or for anything out
// of range).
int NextBackupNumber(int counter);

// All records that are not deleted, with their attachment files from
// attachmentsFolder, as a ZkvFolder at path; cipher null writes plain
// values. 0, or IDS_EXPORT_CREATE_ERROR (602) / IDS_EXPORT_WRITE_ERROR
// (603).
unsigned WriteBackupFolder(const CDatabaseObj& db, const CString& path, const BlowfishContext* cipher,
                           const CString& attachmentsFolder);

// What one automatic backup did.
struct AutomaticBackupResult {
    enum Outcome {
        kWritten,         // the backup stands at path; the counter moved on
        kNothingToWrite,  // no live record: nothing written, counter kept
        kNoFolder,        // no backup folder
        kNoKey,           // the database has a password but no key was given: nothing written
        kFailed,          // not written, or not complete: every older backup stays
    };
    Outcome outcome = kNothingToWrite;
    CString path;
    unsigned messageId = 0;
};

// The automatic backup into folder: the next number after counter, written
// whole into a folder of its own beside the backups and only then put in
// place of the backup of that number, which stays until then. counter is
// moved on only when the new backup stands. A database with a password is
// never written without its key (as when the program ends while locked).
AutomaticBackupResult WriteAutomaticBackup(const CDatabaseObj& db, const CString& folder, int& counter,
                                           const BlowfishContext* cipher, const CString& attachmentsFolder);
