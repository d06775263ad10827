#include "mainwindow/models/RecordGroups.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "core/items/FilterKeys.h"
#include "core/items/ObjectList.h"
#include "core/items/Record.h"
#include "core/values/TolerantSort.h"
#include "mainwindow/models/FilterComboModel.h"

namespace {

CString GroupText(const CString& name, int count)
{
    CString text;
    text.Format("%s (%d)", (LPCSTR)name, count);
    return text;
}

uint64_t KeyValue(const uint8_t* key)
{
    uint64_t value = 0;
    for (int i = 0; i < kUniqueKeySize; ++i) value = value << 8 | key[i];
    return value;
}

// The records shown under all types, the category and the search, by type
// key, each in list order: one pass instead of one per type.
std::unordered_map<uint64_t, std::vector<CRecord*>> ShownByType(const CRecordList& records, const uint8_t* categoryKey,
                                                                const RecordSearch& search)
{
    std::unordered_map<uint64_t, std::vector<CRecord*>> byType;
    for (CRecord* record : CollectShownRecords(records, KEY_ALL, categoryKey, search))
        byType[KeyValue(record->GetTypeKey())].push_back(record);
    return byType;
}

RecordGroup MakeGroup(const CBaseItem* type, std::vector<CRecord*> shown, bool withRecords)
{
    RecordGroup group;
    group.type = type;
    group.count = (int)shown.size();
    group.text = GroupText(type ? type->GetName() : CFilterComboModel::UnfiledText(), group.count);
    if (withRecords) group.records = std::move(shown);
    return group;
}

// A copy: two types of a damaged file may share a key, and both show its
// records.
std::vector<CRecord*> TakeBucket(const std::unordered_map<uint64_t, std::vector<CRecord*>>& byType, const uint8_t* key)
{
    auto it = byType.find(KeyValue(key));
    return it == byType.end() ? std::vector<CRecord*>() : it->second;
}

// By field 1 without case, stable; each text is taken once, not once per
// comparison.
void SortByFirstField(std::vector<CRecord*>& records)
{
    std::vector<std::pair<CString, CRecord*>> keyed;
    keyed.reserve(records.size());
    for (CRecord* record : records) keyed.emplace_back(record->GetField(0), record);
    StableSortTolerant(keyed.begin(), keyed.end(),
                       [](const auto& a, const auto& b) { return a.first.CompareNoCase(b.first) < 0; });
    for (size_t i = 0; i < keyed.size(); ++i) records[i] = keyed[i].second;
}

}  // namespace

std::vector<RecordGroup> BuildTreeGroups(const CFilterComboModel& typeCombo, const CRecordList& records,
                                         const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search)
{
    auto byType = ShownByType(records, categoryKey, search);
    std::vector<RecordGroup> groups;
    for (const FilterComboEntry& entry : typeCombo.Entries()) {
        if (!entry.item || entry.item->IsDeleted()) continue;
        RecordGroup group = MakeGroup(entry.item, TakeBucket(byType, entry.item->GetKey()), true);
        if (group.records.empty()) continue;
        SortByFirstField(group.records);
        groups.push_back(std::move(group));
    }
    RecordGroup unfiled = MakeGroup(nullptr, TakeBucket(byType, KEY_UNFILED), true);
    if (!unfiled.records.empty()) groups.push_back(std::move(unfiled));
    return groups;
}

std::vector<RecordGroup> BuildPanelTypeRows(const CObjectList& types, const CRecordList& records,
                                            const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search)
{
    auto byType = ShownByType(records, categoryKey, search);
    std::vector<RecordGroup> rows;
    for (POSITION pos = types.GetHeadPosition(); pos;) {
        const CBaseItem* type = static_cast<const CBaseItem*>(types.GetNext(pos));
        if (!type || type->IsDeleted()) continue;
        RecordGroup row = MakeGroup(type, TakeBucket(byType, type->GetKey()), false);
        if (row.count > 0) rows.push_back(std::move(row));
    }
    RecordGroup unfiled = MakeGroup(nullptr, TakeBucket(byType, KEY_UNFILED), false);
    if (unfiled.count > 0) rows.push_back(std::move(unfiled));
    StableSortTolerant(rows.begin(), rows.end(),
                       [](const RecordGroup& a, const RecordGroup& b) { return a.text.CompareNoCase(b.text) < 0; });
    return rows;
}
