#include "core/items/RecordList.h"

#include <new>

#include "core/items/FilterKeys.h"
#include "core/items/Record.h"
#include "core/items/TypeItem.h"

CRecordList::CRecordList() = default;

CRecordList::~CRecordList() = default;

CBaseItem* CRecordList::NewItem()
{
    try {
        return WithFreeId(new CRecord);
    } catch (const std::exception&) {
        return nullptr;
    }
}

const CRuntimeClass* CRecordList::ElementClass() const { return RUNTIME_CLASS(CRecord); }

int CRecordList::CountMatching(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize]) const
{
    int count = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        const CRecord* record = dynamic_cast<const CRecord*>(static_cast<CBaseItem*>(GetNext(pos)));
        if (record && record->MatchesFilter(typeKey, categoryKey)) ++count;
    }
    return count;
}

CRecord* CRecordList::NthMatching(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize],
                                  int n) const
{
    if (n < 0) return nullptr;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CRecord* record = dynamic_cast<CRecord*>(static_cast<CBaseItem*>(GetNext(pos)));
        if (record && record->MatchesFilter(typeKey, categoryKey) && n-- == 0) return record;
    }
    return nullptr;
}

bool CRecordList::DeleteRecord(CBaseItem* item, const CString& databasePath)
{
    CRecord* record = dynamic_cast<CRecord*>(item);
    if (!record) return false;
    if (record->HasAttachment() && !databasePath.IsEmpty()) record->DeleteAttachmentFile(databasePath);
    record->SetDeleted(true);
    record->SetModified(true);
    return true;
}

void CRecordList::ApplyTypeChanges(const CTypeItem& type, WORD clearMask, WORD hideMask, bool copyIcon)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CRecord* record = dynamic_cast<CRecord*>(static_cast<CBaseItem*>(GetNext(pos)));
        // Records of this type in every category: KEY_ALL, not the null key
        // (which would find only the unfiled ones).
        if (!record || !record->MatchesFilter(type.GetKey(), KEY_ALL)) continue;
        CStringArray labels;
        labels.SetSize(kItemFieldCount);
        for (int i = 0; i < kItemFieldCount; ++i)
            labels[i] = (clearMask >> i) & 1 ? CString() : record->GetCustomLabel(i);
        record->SetCustomLabels(labels);
        const WORD mask = static_cast<WORD>((record->GetHiddenMask() & ~hideMask) | (type.GetHiddenMask() & hideMask));
        record->SetHiddenMask(mask);
        if (copyIcon) record->SetIcon(type.GetIcon());
        record->SetModified(true);
    }
}
