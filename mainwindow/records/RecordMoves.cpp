#include "mainwindow/records/RecordMoves.h"

#include <cstring>

#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/os/ChangeNotify.h"
#include "mainwindow/records/RecordChangeSequence.h"

namespace {

bool SameKey(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, kUniqueKeySize) == 0; }

// One notice per record; the hook only for the last.
void AddMoved(const std::vector<CRecord*>& moved, CRecordChangeSequence& change)
{
    for (size_t i = 0; i < moved.size(); ++i) {
        CRecord* record = moved[i];
        record->SetModified(true);
        change.Add(NOTIFY_MODIFIED, NOTIFY_ITEM_RECORD, record->GetId(), i + 1 == moved.size() ? record : nullptr);
    }
}

}  // namespace

bool IsMoveTargetKey(const uint8_t key[kUniqueKeySize])
{
    return key && !SameKey(key, KEY_ALL) && !SameKey(key, KEY_EDIT_ENTRY);
}

int MoveRecordsToType(const std::vector<CRecord*>& records, const CTypeItem* type, CRecordChangeSequence& change)
{
    if (type && !IsMoveTargetKey(type->GetKey())) return 0;
    const uint8_t* key = type ? type->GetKey() : KEY_UNFILED;
    std::vector<CRecord*> moved;
    for (CRecord* record : records) {
        if (!record || SameKey(record->GetTypeKey(), key)) continue;
        record->SetType(type);
        moved.push_back(record);
    }
    AddMoved(moved, change);
    return (int)moved.size();
}

int MoveRecordsToCategory(const std::vector<CRecord*>& records, const uint8_t key[kUniqueKeySize],
                          CRecordChangeSequence& change)
{
    if (!IsMoveTargetKey(key)) return 0;
    std::vector<CRecord*> moved;
    for (CRecord* record : records) {
        if (!record || SameKey(record->GetCategoryKey(), key)) continue;
        record->SetCategoryKey(key);
        moved.push_back(record);
    }
    AddMoved(moved, change);
    return (int)moved.size();
}

bool DropRecordOnType(CRecord& record, const CBaseItem& type, CRecordChangeSequence& change)
{
    const uint8_t* key = type.GetKey();
    if (!IsMoveTargetKey(key) || SameKey(record.GetTypeKey(), key)) return false;
    record.SetTypeKey(key);
    record.SetIcon(SameKey(key, KEY_UNFILED) ? kDefaultItemIcon : type.GetIcon());
    AddMoved({&record}, change);
    return true;
}
