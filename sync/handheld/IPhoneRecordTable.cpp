#include "sync/handheld/IPhoneRecordTable.h"

#include <algorithm>

void CiPhoneRecordTable::Add(std::shared_ptr<CiPhoneRecord> entry)
{
    if (!entry) return;
    m_byId[entry->id].push_back(std::move(entry));
    ++m_count;
}

std::shared_ptr<CiPhoneRecord> CiPhoneRecordTable::Find(int32_t id) const
{
    auto it = m_byId.find(id);
    return it == m_byId.end() || it->second.empty() ? nullptr : it->second.front();
}

void CiPhoneRecordTable::RemoveById(int32_t id)
{
    auto it = m_byId.find(id);
    if (it == m_byId.end()) return;
    m_count -= static_cast<int>(it->second.size());
    m_byId.erase(it);
}

std::vector<int32_t> CiPhoneRecordTable::GetIds() const
{
    std::vector<int32_t> ids;
    for (const auto& entry : m_byId) ids.push_back(entry.first);
    std::sort(ids.begin(), ids.end());
    return ids;
}
