#include "mainwindow/models/MoveMenuEntries.h"

#include <cstring>

#include "core/items/ObjectList.h"
#include "mainwindow/MainWindowIds.h"

namespace {

CString MenuText(const CString& name)
{
    CString text = name;
    text.Replace("&", "&&");
    return text;
}

}  // namespace

unsigned CMoveMenuEntries::FirstId() const
{
    return m_kind == kTypes ? ID_MOVE_TO_TYPE_FIRST : ID_MOVE_TO_CATEGORY_FIRST;
}

unsigned CMoveMenuEntries::LastId() const { return m_kind == kTypes ? ID_MOVE_TO_TYPE_LAST : ID_MOVE_TO_CATEGORY_LAST; }

unsigned CMoveMenuEntries::IdFromIndex(int index) const
{
    return index >= 0 && index < Capacity() ? FirstId() + (unsigned)index : 0;
}

int CMoveMenuEntries::IndexFromId(unsigned id) const
{
    return id >= FirstId() && id <= LastId() ? (int)(id - FirstId()) : -1;
}

bool CMoveMenuEntries::KeyFromId(const CObjectList& list, unsigned id, uint8_t key[kUniqueKeySize]) const
{
    int n = IndexFromId(id);
    if (n < 0) return false;
    // Counted as the sub-menu was built: deleted items have no entry.
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const auto* item = static_cast<const CBaseItem*>(list.GetNext(pos));
        if (item->IsDeleted()) continue;
        if (n-- == 0) {
            std::memcpy(key, item->GetKey(), kUniqueKeySize);
            return true;
        }
    }
    return false;
}

void CMoveMenuEntries::Build(const CObjectList& list, const uint8_t* currentKey)
{
    m_entries.clear();
    m_omitted = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const auto* item = static_cast<const CBaseItem*>(list.GetNext(pos));
        if (item->IsDeleted()) continue;
        const unsigned id = IdFromIndex((int)m_entries.size());
        if (id == 0) {
            ++m_omitted;
            continue;
        }
        const bool checked = currentKey && std::memcmp(item->GetKey(), currentKey, kUniqueKeySize) == 0;
        m_entries.push_back(Entry{MenuText(item->GetName()), id, checked});
    }
}
