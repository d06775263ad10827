#include "mainwindow/models/FilterComboModel.h"

#include <cstring>
#include <unordered_map>

#include "core/items/FilterKeys.h"
#include "core/items/ObjectList.h"
#include "core/items/Record.h"
#include "core/items/RecordList.h"
#include "mainwindow/models/RecordFilter.h"

namespace {

const UINT kAllTypesId = 148;
const UINT kEditTypesId = 149;
const UINT kAllCategoriesId = 177;
const UINT kEditCategoriesId = 178;
const UINT kUnfiledId = 2111;

CString Loaded(UINT id, const char* fallback)
{
    CString text;
    if (!text.LoadString(id)) text = fallback;
    return text;
}

CString WithCount(const CString& text, int count)
{
    CString counted;
    counted.Format(" (%d)", count);
    return text + counted;
}

uint64_t KeyValue(const uint8_t* key)
{
    uint64_t value = 0;
    for (int i = 0; i < kUniqueKeySize; ++i) value = value << 8 | key[i];
    return value;
}

}  // namespace

CString CFilterComboModel::AllText(Kind kind)
{
    return kind == kTypes ? Loaded(kAllTypesId, "All Types") : Loaded(kAllCategoriesId, "All Categories");
}

CString CFilterComboModel::EditText(Kind kind)
{
    return kind == kTypes ? Loaded(kEditTypesId, "Edit Types...") : Loaded(kEditCategoriesId, "Edit Categories...");
}

CString CFilterComboModel::UnfiledText() { return Loaded(kUnfiledId, "Unfiled"); }

void CFilterComboModel::Refill(const CObjectList& items, const CRecordList& records)
{
    // One pass counts the records of every key (CountRecordsByKey for each
    // entry would pass over the records once per item).
    std::unordered_map<uint64_t, int> counts;
    int all = 0;
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        const CRecord* record = dynamic_cast<const CRecord*>(static_cast<CObject*>(records.GetNext(pos)));
        if (!record || record->IsDeleted()) continue;
        ++all;
        ++counts[KeyValue(m_kind == kTypes ? record->GetTypeKey() : record->GetCategoryKey())];
    }
    auto countOf = [&](const uint8_t* key) {
        auto it = counts.find(KeyValue(key));
        return it == counts.end() ? 0 : it->second;
    };
    m_entries.clear();
    m_entries.push_back({WithCount(AllText(m_kind), all), nullptr});
    m_entries.push_back({WithCount(UnfiledText(), countOf(KEY_UNFILED)), nullptr});
    m_entries.push_back({EditText(m_kind), nullptr});
    for (POSITION pos = items.GetHeadPosition(); pos;) {
        const CBaseItem* item = static_cast<const CBaseItem*>(items.GetNext(pos));
        if (item && !item->IsDeleted()) InsertCounted(*item, countOf(item->GetKey()));
    }
}

int CFilterComboModel::Insert(const CBaseItem& item, const CRecordList& records)
{
    return InsertCounted(item,
                         CountRecordsByKey(item.GetKey(), m_kind == kTypes ? kCountByType : kCountByCategory, records));
}

int CFilterComboModel::InsertCounted(const CBaseItem& item, int count)
{
    const CString name = item.GetName();
    const int last = GetCount() - 2;
    int index = 1;
    while (index < last && !(m_entries[index].item && m_entries[index].item->GetName().CompareNoCase(name) > 0))
        ++index;
    m_entries.insert(m_entries.begin() + index, FilterComboEntry{WithCount(name, count), &item});
    return index;
}

int CFilterComboModel::Find(const CBaseItem& item) const
{
    for (int i = 1; i < GetCount() - 2; ++i)
        if (m_entries[i].item == &item) return i;
    return -1;
}

int CFilterComboModel::Remove(const CBaseItem& item)
{
    const int index = Find(item);
    if (index >= 0) m_entries.erase(m_entries.begin() + index);
    return index;
}

int CFilterComboModel::Replace(const CBaseItem& item, const CRecordList& records, int& selected)
{
    const int old = Remove(item);
    if (old < 0) return -1;
    const int now = Insert(item, records);
    if (selected == old) {
        selected = now;
    } else if (selected >= 0) {
        if (selected > old) --selected;
        if (selected >= now) ++selected;
    }
    return now;
}

void CFilterComboModel::KeyAt(int index, uint8_t key[kUniqueKeySize]) const
{
    const int count = GetCount();
    const uint8_t* source = KEY_UNFILED;
    if (index <= 0)
        source = KEY_ALL;
    else if (index == count - 1)
        source = KEY_EDIT_ENTRY;
    else if (index < count - 2 && m_entries[index].item)
        source = m_entries[index].item->GetKey();
    std::memcpy(key, source, kUniqueKeySize);
}

int CFilterComboModel::IndexOfKey(const uint8_t key[kUniqueKeySize]) const
{
    if (std::memcmp(key, KEY_ALL, kUniqueKeySize) == 0) return 0;
    if (std::memcmp(key, KEY_UNFILED, kUniqueKeySize) == 0) return GetCount() - 2;
    for (int i = 1; i < GetCount() - 2; ++i)
        if (m_entries[i].item && std::memcmp(m_entries[i].item->GetKey(), key, kUniqueKeySize) == 0) return i;
    return -1;
}
