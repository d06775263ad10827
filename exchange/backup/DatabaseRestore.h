#pragma once
// Restore of a database from an exchange file or folder. The file is read
// and imported into a database object of its own first; only when that
// gives records do they take the place of the database's items, and when
// the database then cannot be saved its old items come back. The user is
// never left with an emptied database.
#include <functional>
#include <memory>
#include <string>

#include "core/crypto/BlowfishKey.h"
#include "framework/CString.h"

class CDatabaseObj;
class CNotifyProviderList;

// Asks for the password of a protected file that the master key does not
// open: a cipher that opens the text, or null when the user cancelled.
using FilePasswordAsk = std::function<BlowfishKeyPtr(const std::string& text)>;

struct RestoreResult {
    enum Outcome {
        kRestored,      // the database holds the file's records and was saved
        kCancelled,     // the password prompt was cancelled
        kRefused,       // the file could not be read or is of no known kind (messageId)
        kNothingFound,  // the file holds no record (messageId 605)
        kSaveFailed,    // the database could not be saved (saveResult); its old items are back
    };
    Outcome outcome = kRefused;
    unsigned messageId = 0;
    int saveResult = 0;
    int records = 0;
    int attachmentsCopied = 0;
    // The items the database held before (kRestored only), for the caller to
    // report the old records as deleted; the database no longer holds them.
    std::shared_ptr<CDatabaseObj> previous;
    // The notices of every item the database gained (kRestored only), for
    // the caller to post.
    std::shared_ptr<CNotifyProviderList> notices;
};

// Restores the file at path (format decided from the content) into db.
// The attachment files of a version 4.0 folder are gathered beside
// attachmentsFolder and take its place once the database is saved (empty:
// none are copied). With save false the database is not saved (the caller
// does).
RestoreResult RestoreFromFile(CDatabaseObj& db, const CString& path, const BlowfishKeyPtr& masterKey,
                              const FilePasswordAsk& askPassword, const CString& attachmentsFolder, bool save = true);

// Moves every record, type and category of from to the end of to's lists.
void MoveDatabaseItems(CDatabaseObj& from, CDatabaseObj& to);
