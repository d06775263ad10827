#include "ZorvikanToolBar/link/WebLoginDatabase.h"

#include "core/items/DefaultItems.h"
#include "core/items/Record.h"
#include "core/items/UniqueKey.h"

CWebLoginDatabase::CWebLoginDatabase() { m_db.SetReadOnly(); }

bool CWebLoginDatabase::Load(const CString& path)
{
    if (path.IsEmpty()) return false;
    m_db.Clear(true);
    m_webLogins = nullptr;
    m_lastResult = m_db.Load(path);
    m_loaded = true;
    m_webLogins = m_db.GetTypes().FindByKey(kWebLoginsTypeKey);
    return true;
}

namespace {

bool IsLiveWebLogin(const CRecord* record)
{
    return !record->IsDeleted() && IsSameUniqueKey(record->GetTypeKey(), kWebLoginsTypeKey);
}

}  // namespace

void CWebLoginDatabase::CollectWebLogins(CObList& list, const CString& text) const
{
    if (!m_loaded || !m_webLogins) return;
    const CRecordList& records = m_db.GetRecords();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        const CRecord* record = static_cast<const CRecord*>(records.GetNext(pos));
        if (!IsLiveWebLogin(record)) continue;
        if (!record->MatchesSearch(text, false, false, 1)) continue;
        list.AddTail(const_cast<CRecord*>(record));
    }
}

const CRecord* CWebLoginDatabase::FindWebLogin(const uint8_t uid[kUniqueKeySize]) const
{
    if (!m_loaded || !m_webLogins) return nullptr;
    const CRecordList& records = m_db.GetRecords();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        const CRecord* record = static_cast<const CRecord*>(records.GetNext(pos));
        if (IsLiveWebLogin(record) && IsSameUniqueKey(record->GetUid(), uid)) return record;
    }
    return nullptr;
}
