#pragma once
// Shared pieces of the exchange tests: fixtures, ciphers and look-ups in a
// database after an import.
#include <initializer_list>
#include <string>
#include <vector>

#include "core/crypto/BlowfishKey.h"
#include "framework/CArray.h"
#include "framework/CString.h"

class CDatabaseObj;
class CRecord;
class CBaseItem;

namespace zvtest {

// The password of the protected fixtures (make_exchange_fixtures.py).
extern const char kFixturePassword[];
BlowfishKeyPtr FixtureCipher();
BlowfishKeyPtr CipherOf(const char* password);
// Bytes of tests/fixtures/exchange/<name>.
std::string ExchangeFixture(const std::string& name);
// A CStringArray that tests can copy and build from texts.
struct StringList : CStringArray {
    StringList() = default;
    StringList(std::initializer_list<const char*> texts)
    {
        for (const char* text : texts) Add(text);
    }
    StringList(const StringList& other) : CStringArray() { Append(other); }
    StringList& operator=(const StringList& other)
    {
        RemoveAll();
        Append(other);
        return *this;
    }
};
inline StringList Strings(std::initializer_list<const char*> texts) { return StringList(texts); }
// The records of the database that are not deleted, in list order.
std::vector<CRecord*> LiveRecords(CDatabaseObj& db);
// The live type or category with that exact name; null when none.
CBaseItem* TypeNamed(CDatabaseObj& db, const char* name);
CBaseItem* CategoryNamed(CDatabaseObj& db, const char* name);
// The name of a record's type ("" for none).
CString TypeNameOf(CDatabaseObj& db, const CRecord& record);

}  // namespace zvtest
