#pragma once
// Moving records to another type or category, and a record dropped on a row
// of the panel's type list. Every record that changes is marked modified and
// gets one "modified" change notice in the sequence the caller then runs;
// only the last record moved is handed to the application's record hook, so
// a move of many records is one "Record edited" event. A record that already
// has the target is left as it is (a new type would otherwise wipe its own
// labels for nothing).
//
// The target is a real key: a type's or category's, or KEY_UNFILED. The
// filter values KEY_ALL and KEY_EDIT_ENTRY are never written into a record,
// and each move changes only its own key, so a record stays under the other
// filter it was found by.
#include <cstdint>
#include <vector>

#include "core/items/UniqueKey.h"

class CBaseItem;
class CRecord;
class CRecordChangeSequence;
class CTypeItem;

// KEY_UNFILED or the key of an item; not one of the filter-only keys.
bool IsMoveTargetKey(const uint8_t key[kUniqueKeySize]);

// The records take the type (null: no type) with its icon and hidden-field
// mask, and lose their own labels. The number of records changed.
int MoveRecordsToType(const std::vector<CRecord*>& records, const CTypeItem* type, CRecordChangeSequence& change);

// The records take the category key; type, icon, mask and labels stay. The
// number of records changed (0 for a filter-only key).
int MoveRecordsToCategory(const std::vector<CRecord*>& records, const uint8_t key[kUniqueKeySize],
                          CRecordChangeSequence& change);

// The record dropped on a type row takes the row's key and icon (the
// "Unfiled" row: the null key and the default icon); its labels and mask
// stay. False, with nothing changed, when it already has that type.
bool DropRecordOnType(CRecord& record, const CBaseItem& type, CRecordChangeSequence& change);
