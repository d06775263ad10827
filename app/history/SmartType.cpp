#include "app/history/SmartType.h"

#include <unordered_map>

#include "core/items/Record.h"
#include "core/items/RecordList.h"

CSmartType::CSmartType(int kind, CSmartTypesSerializer* serializer, int capacity)
    : m_capacity(capacity), m_serializer(serializer), m_kind(kind)
{}

CSmartType::~CSmartType() = default;

void CSmartType::Add(CRecord* record)
{
    if (!record || Contains(record)) return;
    while (m_entries.GetSize() > 0 && m_entries.GetSize() >= m_capacity) m_entries.RemoveAt(0);
    m_entries.Add(record);
    Save();
}

void CSmartType::Remove(CRecord* record)
{
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        if (m_entries[i] == record) {
            m_entries.RemoveAt(i);
            Save();
            return;
        }
    }
}

void CSmartType::GetRecords(const CRecordList& records, CRecordPtrArray& out)
{
    Load(records);
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) out.Add(m_entries[i]);
}

void CSmartType::Reset()
{
    m_loaded = 0;
    m_entries.RemoveAll();
}

bool CSmartType::Contains(CRecord* record) const
{
    if (!record) return false;
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
        if (m_entries[i]->GetId() == record->GetId()) return true;
    return false;
}

void CSmartType::Save()
{
    if (!m_serializer) return;
    m_serializer->ClearKind(m_kind);
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) m_serializer->AddId(m_kind, (DWORD)m_entries[i]->GetId());
}

void CSmartType::Load(const CRecordList& records)
{
    if (m_loaded) return;
    CDWordArray ids;
    if (m_serializer) m_serializer->GetIds(m_kind, ids);
    if (ids.GetSize() > 0) {
        // One pass over the records, then one look-up per stored id; the
        // first record of an id is the one found, as by the list's own search.
        std::unordered_map<int32_t, CBaseItem*> byId;
        for (POSITION pos = records.GetHeadPosition(); pos;) {
            CBaseItem* item = static_cast<CBaseItem*>(records.GetNext(pos));
            if (item->GetItemKind() == kItemKindRecord) byId.emplace(item->GetId(), item);
        }
        for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
            const auto found = byId.find((int32_t)ids[i]);
            if (found != byId.end() && !found->second->IsDeleted()) Add(static_cast<CRecord*>(found->second));
        }
    }
    m_loaded = 1;
}

CMostViewed::CMostViewed(CSmartTypesSerializer* serializer, int capacity)
    : CSmartType(kSmartMostViewed, serializer, capacity)
{}

int CMostViewed::IndexOfLeastViewed() const
{
    int least = -1;
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
        if (least < 0 || m_entries[i]->GetViewCount() <= m_entries[least]->GetViewCount()) least = (int)i;
    return least;
}

void CMostViewed::Add(CRecord* record)
{
    if (!record || Contains(record)) return;
    if (m_entries.GetSize() < m_capacity) {
        m_entries.Add(record);
    } else {
        const int least = IndexOfLeastViewed();
        if (least >= 0 && m_entries[least]->GetViewCount() < record->GetViewCount()) m_entries[least] = record;
    }
    Save();
}
