#pragma once
// The 15 columns of the record list: their titles, the text of a record's
// cell, the sort key and the record comparison that sorts the list.
//
// Sort key: the low 16 bits are the column (0 to 14), the high 16 bits 1
// ascending or 0 descending; kDefaultSortKey sorts by field 1 ascending.
#include <cstdint>
#include <vector>

#include "framework/CString.h"

class CCategoryList;
class CRecord;
class CTypeItem;
class CTypesList;

constexpr int kRecordColumnCount = 15;
// Columns: icon, type, category, fields 1 to 10 (3 to 12), notes, attachment.
enum RecordColumn {
    kColumnIcon = 0,
    kColumnType = 1,
    kColumnCategory = 2,
    kColumnFirstField = 3,
    kColumnDateMod = 12,
    kColumnNotes = 13,
    kColumnAttachment = 14
};
constexpr uint32_t kDefaultSortKey = 0x10003;

inline int SortColumnOf(uint32_t sortKey) { return (int)(sortKey & 0xFFFF); }
inline bool IsSortAscending(uint32_t sortKey) { return (sortKey >> 16) != 0; }
// A click on a column's header: the sorted column flips its direction, any
// other column starts ascending.
uint32_t SortKeyAfterHeaderClick(uint32_t sortKey, int column);

// The header title: "Type", "Category", the chosen type's field labels (or,
// with none chosen, "Field 1" to "Field 9" and "Date Mod"); empty for the
// icon, notes and attachment columns.
CString RecordColumnTitle(int column, const CTypeItem* chosenType);

// Where a record's type and category names are looked up.
struct RecordNames {
    const CTypesList& types;
    const CCategoryList& categories;
};

// A cell's text: the type name, the category name ("Unfiled" when missing),
// a field ("****" for a masked non-empty field unless reveal); empty for the
// other columns.
CString RecordCellText(const CRecord& record, int column, const RecordNames& names, bool reveal);

// Negative when a goes before b under the sort key. Equal values fall back to
// the next column (0 after 13), four columns at most; after column 14 there is
// none. Fields are compared unmasked, field 10 as a month-name date.
int CompareRecords(const CRecord& a, const CRecord& b, uint32_t sortKey, const RecordNames& names);

// Sorts stably (equal records keep their order) by the sort key.
void SortRecords(std::vector<CRecord*>& records, uint32_t sortKey, const RecordNames& names);

// Where a record goes in a list already sorted by the key: before the first
// row it does not sort after.
size_t SortedInsertIndex(const std::vector<CRecord*>& rows, const CRecord& record, uint32_t sortKey,
                         const RecordNames& names);

// One record's row after a batch of sorted inserts.
struct RowPlace {
    CRecord* record;
    size_t row;
};
// Where records land when each in turn is inserted at its SortedInsertIndex
// in rows already sorted by the key, in ascending row order: inserted in
// that order at those rows, they give the same list. One sort and one pass
// over the rows instead of a pass per record.
std::vector<RowPlace> SortedInsertPlaces(const std::vector<CRecord*>& rows, const std::vector<CRecord*>& records,
                                         uint32_t sortKey, const RecordNames& names);
