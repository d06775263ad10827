#pragma once
#include <cstdint>

#include "core/users/UserRecord.h"

namespace zvtest {

// A user record with the given names and platform type, as the tests of users
// and their preferences build them.
inline UserRecord MakeUserRecord(const char* display, const char* key, int32_t type)
{
    UserRecord record = MakeEmptyUserRecord();
    SetUserRecordText(record.displayName, sizeof(record.displayName), display);
    SetUserRecordText(record.keyName, sizeof(record.keyName), key);
    record.platformType = type;
    return record;
}

}  // namespace zvtest
