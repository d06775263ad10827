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

void CWebLoginDatabase::CollectWebLogins(CObList& list, const CString& text) const
{
    if (!m_loaded || !m_webLogins) return;
    const CRecordList& records = m_db.GetRecords();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        const CRecord* record = static_cast<const CRecord*>(records.GetNext(pos));
        if (record->IsDeleted() || !IsSameUniqueKey(record->GetTypeKey(), kWebLoginsTypeKey)) continue;
        if (!record->MatchesSearch(text, false, false, 1)) continue;
        list.AddTail(const_cast<CRecord*>(record));
    }
}
