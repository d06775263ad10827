#pragma once
// CRecordList: the records of a database.
#include "core/items/ObjectList.h"

class CRecord;
class CTypeItem;

class CRecordList : public CObjectList {
public:
    CRecordList();
    ~CRecordList() override;

    int GetItemKind() const override { return kItemKindRecord; }
    CBaseItem* NewItem() override;

    // Records for which CRecord::MatchesFilter (type key, category key) holds.
    int CountMatching(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize]) const;
    // The n-th of them (from 0), null when there are fewer.
    CRecord* NthMatching(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize], int n) const;
    // Deletes the record's attachment file (when it has one and the path is
    // given) and marks it deleted and modified: a record deleted this way
    // always stays as a tombstone. False for anything that is not a record.
    bool DeleteRecord(CBaseItem* item, const CString& databasePath);
    // After a type was edited, for every record of that type in any
    // category: drops the custom labels whose bit is set in clearMask, takes
    // the type's masking bits set in hideMask, optionally its icon, and marks
    // the record modified.
    void ApplyTypeChanges(const CTypeItem& type, WORD clearMask, WORD hideMask, bool copyIcon);

protected:
    const CRuntimeClass* ElementClass() const override;
};
