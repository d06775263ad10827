#include "tests/exchange/ExchangeTestSupport.h"

#include "core/items/Record.h"
#include "core/store/DatabaseObj.h"
#include "tests/support/ScratchDir.h"

namespace zvtest {

const char kFixturePassword[] = "fixture pw";

BlowfishKeyPtr CipherOf(const char* password) { return MakeBlowfishKey(CSecretString(password)); }

BlowfishKeyPtr FixtureCipher() { return CipherOf(kFixturePassword); }

std::string ExchangeFixture(const std::string& name) { return ReadFileBytes(FixturePath("exchange/" + name)); }

std::vector<CRecord*> LiveRecords(CDatabaseObj& db)
{
    std::vector<CRecord*> records;
    CRecordList& list = db.GetRecords();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CRecord* record = static_cast<CRecord*>(list.GetNext(pos));
        if (!record->IsDeleted()) records.push_back(record);
    }
    return records;
}

namespace {
CBaseItem* Named(CObjectList& list, const char* name)
{
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CBaseItem* item = static_cast<CBaseItem*>(list.GetNext(pos));
        if (!item->IsDeleted() && item->GetName() == name) return item;
    }
    return nullptr;
}
}  // namespace

CBaseItem* TypeNamed(CDatabaseObj& db, const char* name) { return Named(db.GetTypes(), name); }
CBaseItem* CategoryNamed(CDatabaseObj& db, const char* name) { return Named(db.GetCategories(), name); }

CString TypeNameOf(CDatabaseObj& db, const CRecord& record)
{
    const CBaseItem* type =
        IsNullUniqueKey(record.GetTypeKey()) ? nullptr : db.GetTypes().FindByKey(record.GetTypeKey());
    return type ? type->GetName() : CString();
}

}  // namespace zvtest
