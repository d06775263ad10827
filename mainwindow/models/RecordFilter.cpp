#include "mainwindow/models/RecordFilter.h"

#include <cstring>

#include "core/items/Record.h"
#include "core/items/RecordList.h"

namespace {

bool SameKey(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, kUniqueKeySize) == 0; }

// Every record of the list, deleted ones included, in list order.
template <typename Visit> void ForEachRecord(const CRecordList& records, Visit visit)
{
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        const CRecord* record = dynamic_cast<const CRecord*>(static_cast<CObject*>(records.GetNext(pos)));
        if (record) visit(*record);
    }
}

}  // namespace

bool IsRecordShown(const CRecord& record, const uint8_t typeKey[kUniqueKeySize],
                   const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search)
{
    if (record.IsDeleted() || !record.MatchesFilter(typeKey, categoryKey)) return false;
    return search.text.IsEmpty() ||
           record.MatchesSearch(search.text, search.caseSensitive, search.wholeWord, search.fieldMask);
}

int CountRecordsByKey(const uint8_t key[kUniqueKeySize], int kind, const CRecordList& records)
{
    if (kind != kCountByType && kind != kCountByCategory && kind != kCountAll) return 0;
    int count = 0;
    ForEachRecord(records, [&](const CRecord& record) {
        if (record.IsDeleted()) return;
        if (kind == kCountAll || SameKey(kind == kCountByType ? record.GetTypeKey() : record.GetCategoryKey(), key))
            ++count;
    });
    return count;
}

int CountShownRecords(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize], int kind,
                      const CRecordList& records, const RecordSearch& search)
{
    int count = 0;
    ForEachRecord(records, [&](const CRecord& record) {
        if (kind == kCountByType || kind == kCountByBoth) {
            if (!SameKey(record.GetTypeKey(), typeKey)) return;
        }
        if (kind == kCountByCategory || kind == kCountByBoth) {
            if (!SameKey(record.GetCategoryKey(), categoryKey)) return;
        }
        if (kind < kCountByType || kind > kCountAll) return;
        if (IsRecordShown(record, typeKey, categoryKey, search)) ++count;
    });
    return count;
}

std::vector<CRecord*> CollectShownRecords(const CRecordList& records, const uint8_t typeKey[kUniqueKeySize],
                                          const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search)
{
    std::vector<CRecord*> shown;
    ForEachRecord(records, [&](const CRecord& record) {
        if (IsRecordShown(record, typeKey, categoryKey, search)) shown.push_back(const_cast<CRecord*>(&record));
    });
    return shown;
}
