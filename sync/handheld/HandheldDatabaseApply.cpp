// The handheld's lists of edited and deleted items, applied to item lists.
// Each pass reads its whole table first, so a damaged table changes nothing.
#include <ctime>
#include <unordered_map>

#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "core/items/UniqueList.h"
#include "sync/handheld/HandheldDatabase.h"
#include "sync/handheld/HandheldStatement.h"

namespace {
void MarkModifiedNow(CBaseItem* item)
{
    item->SetModified(true);
    item->SetModifiedTime(static_cast<int32_t>(std::time(nullptr)));
}
}  // namespace

int CHandheldDatabase::ReadUidColumn(const char* sql, std::vector<std::vector<uint8_t>>& uids)
{
    HH_CHECK(CheckedSchema());
    CHandheldStatement statement(m_db.get());
    HH_CHECK(statement.Prepare(sql));
    int row;
    while ((row = statement.NextRow(1)) == 1) {
        std::vector<uint8_t> key(kUniqueKeySize);
        HH_CHECK(statement.Uid(0, key.data()));
        uids.push_back(std::move(key));
    }
    return row < 0 ? row : kHandheldOk;
}

int CHandheldDatabase::ReadIdColumn(const char* sql, std::vector<int32_t>& ids)
{
    HH_CHECK(CheckedSchema());
    CHandheldStatement statement(m_db.get());
    HH_CHECK(statement.Prepare(sql));
    int row;
    while ((row = statement.NextRow(2)) == 1) {
        int64_t id = 0;
        HH_CHECK(statement.Integer(1, id));
        ids.push_back(static_cast<int32_t>(static_cast<uint32_t>(id)));
    }
    return row < 0 ? row : kHandheldOk;
}

int CHandheldDatabase::ApplyEdited(const char* sql, CUniqueList& list)
{
    std::vector<std::vector<uint8_t>> uids;
    HH_CHECK(ReadUidColumn(sql, uids));
    for (const auto& uid : uids)
        if (CBaseItem* item = list.FindByUid(uid.data())) MarkModifiedNow(item);
    return kHandheldOk;
}

int CHandheldDatabase::ApplyEditedCategories(CUniqueList& categories)
{
    return ApplyEdited("SELECT * FROM EDITEDCATAGORIESTABLE;", categories);
}

int CHandheldDatabase::ApplyEditedTypes(CUniqueList& types)
{
    return ApplyEdited("SELECT * FROM EDITEDTYPESTABLE;", types);
}

int CHandheldDatabase::ApplyEditedRecords(CRecordList& records)
{
    std::vector<int32_t> ids;
    HH_CHECK(ReadIdColumn("SELECT * FROM EDITEDRECORDSTABLE;", ids));
    if (ids.empty()) return kHandheldOk;
    // A handheld may have edited every one of thousands of records: one
    // index instead of a walk of the list per id. The first record of an id
    // is the one marked, as a walk would find it.
    std::unordered_map<int32_t, CBaseItem*> byId;
    byId.reserve(static_cast<size_t>(records.GetCount()));
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        CBaseItem* record = static_cast<CBaseItem*>(records.GetNext(pos));
        byId.emplace(record->GetId(), record);
    }
    for (int32_t id : ids) {
        const auto found = byId.find(id);
        if (found != byId.end()) MarkModifiedNow(found->second);
    }
    return kHandheldOk;
}

int CHandheldDatabase::ApplyDeleted(const char* sql, CUniqueList& list, CRecordList& records, bool types)
{
    std::vector<std::vector<uint8_t>> uids;
    HH_CHECK(ReadUidColumn(sql, uids));
    for (const auto& uid : uids) {
        if (CBaseItem* item = list.FindByUid(uid.data())) list.SoftDelete(item);
        static const uint8_t kNone[kUniqueKeySize] = {};
        for (POSITION pos = records.GetHeadPosition(); pos;) {
            CRecord* record = static_cast<CRecord*>(records.GetNext(pos));
            if (types && IsSameUniqueKey(record->GetTypeKey(), uid.data())) record->SetTypeKey(kNone);
            if (!types && IsSameUniqueKey(record->GetCategoryKey(), uid.data())) record->SetCategoryKey(kNone);
        }
    }
    return kHandheldOk;
}

int CHandheldDatabase::ApplyDeletedCategories(CUniqueList& categories, CRecordList& records)
{
    return ApplyDeleted("SELECT * FROM DELETEDCATAGORIESTABLE;", categories, records, false);
}

int CHandheldDatabase::ApplyDeletedTypes(CUniqueList& types, CRecordList& records)
{
    return ApplyDeleted("SELECT * FROM DELETEDTYPESTABLE;", types, records, true);
}

int CHandheldDatabase::ApplyDeletedRecords(CRecordList& records)
{
    std::vector<int32_t> ids;
    HH_CHECK(ReadIdColumn("SELECT * FROM DELETEDRECORDSTABLE;", ids));
    for (int32_t id : ids)
        if (CBaseItem* record = records.FindOrDetachById(id, false)) records.DeleteRecord(record, m_databasePath);
    return kHandheldOk;
}
