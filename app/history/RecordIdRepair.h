#pragma once
// The one-off repair after older preferences were migrated: records without
// an item id get one. A database is only ever saved under the key it was
// read with, and only when it was read whole: the current user's under the
// current key, another user's only when it has no password. Databases that
// cannot be opened that way, or fail to load, are left as they are.
#include <functional>

#include "framework/CString.h"

struct BlowfishContext;
class CUserItem;
class CUserList;

// Reads the database file at path under key (null: plain), gives every
// record with item id 0 a new id and saves the database under the same key
// (also when no record needed one). With requirePlain, a database whose
// verifier shows a password is not saved. A missing file is not created.
// 0; -1 when the file is missing or has a password that was not expected;
// else the load's or the save's failure, with the file as it was.
int AssignMissingRecordIdsIn(const CString& databasePath, const BlowfishContext* key, bool requirePlain);

struct RecordIdRepairEnv {
    // The user's database file.
    std::function<CString(CUserItem*)> databasePathOf;
    // Whether the user's database is protected by a password.
    std::function<bool(CUserItem*)> hasPassword;
    // The current user's key (null: the current user has no password).
    const BlowfishContext* currentKey = nullptr;
};

// Every user of the list, in list order, as far as the rule above allows.
void AssignMissingRecordIds(CUserList& users, CUserItem* currentUser, const RecordIdRepairEnv& env);
