#pragma once
// Which records the main view shows and how many: the type and category
// filter keys (an item's key, KEY_ALL or KEY_UNFILED, core/items/FilterKeys.h)
// and the search box's text. The list, tree and panel fills and the record
// counts of the filter combos, tree nodes and panel rows all go through
// these, so a record is counted exactly where it is shown.
#include <cstdint>
#include <vector>

#include "core/items/UniqueKey.h"
#include "framework/CString.h"

class CRecord;
class CRecordList;

// The search box and its options. An empty text admits every record.
struct RecordSearch {
    CString text;
    bool caseSensitive = false;
    bool wholeWord = false;
    // Fields searched (bit i: field i+1); the notes are always searched.
    WORD fieldMask = 1;
};

// Kinds of CountRecordsByKey and CountShownRecords.
enum RecordCountKind { kCountByType = 0, kCountByCategory = 1, kCountByBoth = 2, kCountAll = 3 };

// Not deleted, type and category match the filter keys, and the search finds
// the text.
bool IsRecordShown(const CRecord& record, const uint8_t typeKey[kUniqueKeySize],
                   const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search);

// Records not deleted whose type key (kind 0) or category key (kind 1) equals
// the key; kind 3 counts every record not deleted; other kinds count none.
int CountRecordsByKey(const uint8_t key[kUniqueKeySize], int kind, const CRecordList& records);

// Records shown under the filter keys and search whose type key (kind 0),
// category key (kind 1) or both (kind 2) also equal the filter key exactly;
// kind 3 adds no test.
int CountShownRecords(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize], int kind,
                      const CRecordList& records, const RecordSearch& search);

// The shown records in list order.
std::vector<CRecord*> CollectShownRecords(const CRecordList& records, const uint8_t typeKey[kUniqueKeySize],
                                          const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search);
