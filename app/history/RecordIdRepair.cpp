#include "app/history/RecordIdRepair.h"

#include "core/store/DatabaseObj.h"
#include "core/os/FileUtils.h"
#include "core/store/PasswordVerifier.h"
#include "core/crypto/Random.h"
#include "core/items/Record.h"
#include "core/users/UserItem.h"

int AssignMissingRecordIdsIn(const CString& databasePath, const BlowfishContext* key, bool requirePlain)
{
    // Loading a missing file would make a new database; nothing to repair.
    if (databasePath.IsEmpty() || !FileExists(databasePath)) return -1;
    CDatabaseObj db;
    if (const int loaded = db.Load(databasePath, key)) return loaded;
    if (requirePlain && !VerifierIsZero(db.GetVerifier())) return -1;
    CRecordList& records = db.GetRecords();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(records.GetNext(pos));
        if (item && item->GetId() == 0) item->SetId(NewItemId());
    }
    return db.Save(0, key);
}

void AssignMissingRecordIds(CUserList& users, CUserItem* currentUser, const RecordIdRepairEnv& env)
{
    for (POSITION pos = users.GetHeadPosition(); pos;) {
        CUserItem* user = static_cast<CUserItem*>(users.GetNext(pos));
        if (!user || !env.databasePathOf) continue;
        const CString path = env.databasePathOf(user);
        if (user == currentUser) {
            AssignMissingRecordIdsIn(path, env.currentKey, env.currentKey == nullptr);
        } else if (env.hasPassword && !env.hasPassword(user)) {
            // Another user's key is not known: only a database without a
            // password can be read and written faithfully.
            AssignMissingRecordIdsIn(path, nullptr, true);
        }
    }
}
