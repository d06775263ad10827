#include "mainwindow/models/RecordGroups.h"

#include <algorithm>

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

// The group of one type key, empty when nothing of it is shown.
RecordGroup MakeGroup(const CBaseItem* type, const uint8_t* typeKey, const CRecordList& records,
                      const uint8_t* categoryKey, const RecordSearch& search, bool withRecords)
{
    RecordGroup group;
    group.type = type;
    group.count = CountShownRecords(typeKey, categoryKey, kCountByType, records, search);
    group.text = GroupText(type ? type->GetName() : CFilterComboModel::UnfiledText(), group.count);
    if (withRecords) group.records = CollectShownRecords(records, typeKey, categoryKey, search);
    return group;
}

}  // namespace

std::vector<RecordGroup> BuildTreeGroups(const CFilterComboModel& typeCombo, const CRecordList& records,
                                         const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search)
{
    std::vector<RecordGroup> groups;
    for (const FilterComboEntry& entry : typeCombo.Entries()) {
        if (!entry.item || entry.item->IsDeleted()) continue;
        RecordGroup group = MakeGroup(entry.item, entry.item->GetKey(), records, categoryKey, search, true);
        if (group.records.empty()) continue;
        StableSortTolerant(group.records.begin(), group.records.end(), [](const CRecord* a, const CRecord* b) {
            return a->GetField(0).CompareNoCase(b->GetField(0)) < 0;
        });
        groups.push_back(std::move(group));
    }
    RecordGroup unfiled = MakeGroup(nullptr, KEY_UNFILED, records, categoryKey, search, true);
    if (!unfiled.records.empty()) groups.push_back(std::move(unfiled));
    return groups;
}

std::vector<RecordGroup> BuildPanelTypeRows(const CObjectList& types, const CRecordList& records,
                                            const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search)
{
    std::vector<RecordGroup> rows;
    for (POSITION pos = types.GetHeadPosition(); pos;) {
        const CBaseItem* type = static_cast<const CBaseItem*>(types.GetNext(pos));
        if (!type || type->IsDeleted()) continue;
        RecordGroup row = MakeGroup(type, type->GetKey(), records, categoryKey, search, false);
        if (row.count > 0) rows.push_back(std::move(row));
    }
    RecordGroup unfiled = MakeGroup(nullptr, KEY_UNFILED, records, categoryKey, search, false);
    if (unfiled.count > 0) rows.push_back(std::move(unfiled));
    StableSortTolerant(rows.begin(), rows.end(),
                       [](const RecordGroup& a, const RecordGroup& b) { return a.text.CompareNoCase(b.text) < 0; });
    return rows;
}
