#include "ZorvikanToolBar/band/WebLoginLists.h"

#include <algorithm>
#include <cstring>

#include "ZorvikanToolBar/link/WebLoginDatabase.h"
#include "core/items/Record.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leading number, held at a ceiling so that long digit runs neither
// overflow nor compare wrongly among themselves.
unsigned long long LeadingNumber(const char* text)
{
    const unsigned long long ceiling = 1000000000000000000ULL;
    unsigned long long value = 0;
    for (; IsDigit(*text); ++text) {
        value = value * 10 + static_cast<unsigned>(*text - '0');
        if (value > ceiling) value = ceiling;
    }
    return value;
}

}  // namespace

int CompareMenuNames(const char* left, const char* right)
{
    if (!left) left = "";
    if (!right) right = "";
    if (IsDigit(left[0]) && IsDigit(right[0])) {
        unsigned long long a = LeadingNumber(left), b = LeadingNumber(right);
        if (a != b) return a < b ? -1 : 1;
    }
    return CString(left).CompareNoCase(right);
}

void CWebLoginList::FillForMenu(const CObList& records) { Fill(records, kMaxMenuEntries, true); }

void CWebLoginList::FillForSearch(const CObList& records) { Fill(records, kMaxSearchEntries, false); }

void CWebLoginList::Fill(const CObList& records, int cap, bool sorted)
{
    m_entries.clear();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        const CRecord* record = static_cast<const CRecord*>(records.GetNext(pos));
        WebLoginEntry entry;
        std::memcpy(entry.uid, record->GetUid(), kUniqueKeySize);
        entry.description = record->GetFieldDisplayText(0, false);
        m_entries.push_back(entry);
    }
    if (sorted)
        std::stable_sort(m_entries.begin(), m_entries.end(), [](const WebLoginEntry& a, const WebLoginEntry& b) {
            return CompareMenuNames(a.description, b.description) < 0;
        });
    if (static_cast<int>(m_entries.size()) > cap) m_entries.resize(cap);
}

const WebLoginEntry* CWebLoginList::At(int index) const
{
    if (index < 0 || index >= GetCount()) return nullptr;
    return &m_entries[index];
}

const CRecord* CWebLoginList::Resolve(int index, const CWebLoginDatabase& data) const
{
    const WebLoginEntry* entry = At(index);
    return entry ? data.FindWebLogin(entry->uid) : nullptr;
}
