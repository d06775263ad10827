#pragma once
// The merge of a user's database with another database file, the core of the
// desktop-file synchronisation (CDatabaseObj::MergeWithFile). Items of the two
// sides are paired by uid (records by their record uid, types and categories
// by key) and copied, cloned or soft-deleted one way or both ways under a
// conflict rule; records take their attachment files along.
#include <vector>

#include "framework/CString.h"

class CObjectList;

// Directions.
const int kMergeThisIntoOther = 0;
const int kMergeOtherIntoThis = 1;
const int kMergeBothWays = 2;

// Conflict rules (for pairs whose checksums differ). Any other value copies
// nothing for a conflict.
const int kConflictThisWins = 0;
const int kConflictOtherWins = 1;
const int kConflictLaterWins = 2;  // the later modification time; this side on a tie

// MergeWithFile's answer when the key given does not open the other file
// (its password verifier differs): the system's "invalid password" code.
const int kMergeWrongKey = 86;

// What a caller shows while a merge runs.
class CMergeProgress {
public:
    virtual ~CMergeProgress() = default;
    // Called once before the first step with the number of steps to come.
    virtual void SetTotal(int count) = 0;
    virtual void Step() = 0;
};

// The attachment files a merge copies from one database's "Files" folder to
// the other's. Each is first copied beside its target under a temporary
// name, and put in place only once the database file that refers to it is
// saved: a merge that fails leaves every stored file as it was, and a saved
// record never meets an attachment of another key.
class CMergeAttachments {
public:
    CMergeAttachments() = default;
    // Removes the temporary copies that were not put in place.
    ~CMergeAttachments();
    CMergeAttachments(const CMergeAttachments&) = delete;
    CMergeAttachments& operator=(const CMergeAttachments&) = delete;

    // The stored file sourceName of the database file sourceDatabase goes to
    // targetName of targetDatabase. Later transfers to the same target win.
    void Add(const CString& sourceDatabase, const CString& sourceName, const CString& targetDatabase,
             const CString& targetName);
    // Copies every source that exists to its temporary file (a source that is
    // itself the target of an earlier transfer is taken from that one's copy),
    // creating the target "Files" folder when missing. 0, or -1 after
    // removing what it copied when a copy fails.
    int Stage();
    // Puts the staged files of one database in place. 0, or the first error
    // (the other files are still put in place).
    int Commit(const CString& targetDatabase);
    // Removes every temporary copy not yet put in place.
    void Discard();

    size_t GetCount() const { return m_transfers.size(); }

private:
    struct Transfer {
        CString targetDatabase;
        CString source;  // full paths
        CString target;
        CString temp;
        bool staged = false;
        bool committed = false;
    };
    std::vector<Transfer> m_transfers;
};

// Merges one pair of lists (own list first). Copies and clones take the two
// database file paths; with attachments given, attachment files are not
// copied here but collected there. In the one-way directions only the
// target list changes. Returns 0.
int MergeItemLists(CObjectList& own, CObjectList& other, int direction, int rule, CMergeProgress* progress,
                   const CString& ownPath, const CString& otherPath, CMergeAttachments* attachments = nullptr);
