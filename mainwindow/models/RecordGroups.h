#pragma once
// The records grouped by type, as the tree shows them (a node per type in the
// type combo's order with its records in text order, then "Unfiled" with its
// records in database order) and as the panel's type list shows them (a row
// per type in text order). A type with no shown record has no group.
#include <cstdint>
#include <vector>

#include "framework/CString.h"
#include "mainwindow/models/RecordFilter.h"

class CBaseItem;
class CRecord;
class CRecordList;
class CFilterComboModel;
class CObjectList;

struct RecordGroup {
    // The type; null for "Unfiled".
    const CBaseItem* type = nullptr;
    // "name (n)", n the shown records of the type.
    CString text;
    int count = 0;
    std::vector<CRecord*> records;
};

// The tree: type groups in the combo's order, each group's records sorted by
// field 1 (case-insensitive, stable), then "Unfiled" in list order.
std::vector<RecordGroup> BuildTreeGroups(const CFilterComboModel& typeCombo, const CRecordList& records,
                                         const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search);

// The panel's type rows: every type not deleted and "Unfiled", in text order,
// without the records (only counted).
std::vector<RecordGroup> BuildPanelTypeRows(const CObjectList& types, const CRecordList& records,
                                            const uint8_t categoryKey[kUniqueKeySize], const RecordSearch& search);
