#include "mainwindow/models/RecordColumns.h"

#include "core/items/Record.h"
#include "core/items/TypeItem.h"
#include "core/items/UniqueList.h"
#include "core/values/CellCompare.h"
#include "core/values/DateValue.h"
#include "core/values/TolerantSort.h"

uint32_t SortKeyAfterHeaderClick(uint32_t sortKey, int column)
{
    if (SortColumnOf(sortKey) == column) return (uint32_t)column | (IsSortAscending(sortKey) ? 0u : 0x10000u);
    return 0x10000u + (uint32_t)column;
}

CString RecordColumnTitle(int column, const CTypeItem* chosenType)
{
    switch (column) {
    case kColumnType: return "Type";
    case kColumnCategory: return "Category";
    default: break;
    }
    if (column < kColumnFirstField || column > kColumnDateMod) return CString();
    const int field = column - kColumnFirstField;
    return chosenType ? chosenType->GetFieldName(field) : DefaultFieldLabel(field);
}

CString RecordCellText(const CRecord& record, int column, const RecordNames& names, bool reveal)
{
    if (column == kColumnType) return names.types.GetNameByKey(record.GetTypeKey());
    if (column == kColumnCategory) return names.categories.GetNameByKey(record.GetCategoryKey());
    if (column >= kColumnFirstField && column <= kColumnDateMod)
        return record.GetFieldDisplayText(column - kColumnFirstField, !reveal);
    return CString();
}

namespace {

// Field 10 holds "March 05, 2009"; written as "03/05/2009" the cell
// comparison sorts it as a date. Text that does not parse is the empty date.
CString SortableDate(const CRecord& record)
{
    return CDateValue(record.GetField(kColumnDateMod - kColumnFirstField), CDateValue::kLongDate).FormatShort();
}

bool IsNumericColumn(int column)
{
    return column == kColumnIcon || column == kColumnNotes || column == kColumnAttachment;
}

// What a column compares of a record: a number or a text (nothing beyond
// column 14).
struct ColumnValue {
    int number = 0;
    CString text;
};

ColumnValue ValueOf(const CRecord& record, int column, const RecordNames& names)
{
    ColumnValue value;
    switch (column) {
    case kColumnIcon: value.number = record.GetIcon(); break;
    case kColumnType:
    case kColumnCategory: value.text = RecordCellText(record, column, names, true); break;
    case kColumnDateMod: value.text = SortableDate(record); break;
    case kColumnNotes: value.number = record.HasMainText() ? 1 : 0; break;
    case kColumnAttachment: value.number = record.HasAttachment() ? 1 : 0; break;
    default:
        if (column >= kColumnFirstField && column < kColumnDateMod)
            value.text = record.GetField(column - kColumnFirstField);
        break;
    }
    return value;
}

int CompareValues(const ColumnValue& a, const ColumnValue& b, int column)
{
    if (column > kColumnAttachment) return 0;
    if (IsNumericColumn(column)) return a.number - b.number;
    return CompareSortText(a.text, b.text, true);
}

int NextColumn(int column) { return column == kColumnNotes ? kColumnIcon : column + 1; }

}  // namespace

int CompareRecords(const CRecord& a, const CRecord& b, uint32_t sortKey, const RecordNames& names)
{
    int column = SortColumnOf(sortKey);
    const bool ascending = IsSortAscending(sortKey);
    int result = 0;
    for (int step = 0; step < 4 && result == 0; ++step) {
        const ColumnValue x = ValueOf(a, column, names), y = ValueOf(b, column, names);
        result = ascending ? CompareValues(x, y, column) : CompareValues(y, x, column);
        column = NextColumn(column);
    }
    return result;
}

void SortRecords(std::vector<CRecord*>& records, uint32_t sortKey, const RecordNames& names)
{
    // The (at most four) values each comparison may look at are taken once
    // per record, not once per comparison: dates are parsed and names looked
    // up n times instead of n log n.
    int columns[4];
    columns[0] = SortColumnOf(sortKey);
    for (int i = 1; i < 4; ++i) columns[i] = NextColumn(columns[i - 1]);
    struct Entry {
        CRecord* record;
        ColumnValue values[4];
    };
    std::vector<Entry> entries(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        entries[i].record = records[i];
        for (int k = 0; k < 4; ++k) entries[i].values[k] = ValueOf(*records[i], columns[k], names);
    }
    const bool ascending = IsSortAscending(sortKey);
    std::vector<const Entry*> order(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) order[i] = &entries[i];
    StableSortTolerant(order.begin(), order.end(), [&](const Entry* x, const Entry* y) {
        for (int k = 0; k < 4; ++k) {
            const int r = ascending ? CompareValues(x->values[k], y->values[k], columns[k])
                                    : CompareValues(y->values[k], x->values[k], columns[k]);
            if (r != 0) return r < 0;
        }
        return false;
    });
    for (size_t i = 0; i < order.size(); ++i) records[i] = order[i]->record;
}

size_t SortedInsertIndex(const std::vector<CRecord*>& rows, const CRecord& record, uint32_t sortKey,
                         const RecordNames& names)
{
    size_t index = 0;
    while (index < rows.size() && (!rows[index] || CompareRecords(record, *rows[index], sortKey, names) > 0)) ++index;
    return index;
}

std::vector<RowPlace> SortedInsertPlaces(const std::vector<CRecord*>& rows, const std::vector<CRecord*>& records,
                                         uint32_t sortKey, const RecordNames& names)
{
    // A record goes before its equals, so of equal new records the later
    // one ends up first: sorted stably from the last to the first.
    std::vector<CRecord*> order(records.rbegin(), records.rend());
    SortRecords(order, sortKey, names);
    std::vector<RowPlace> places;
    places.reserve(order.size());
    size_t passed = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        while (passed < rows.size() && (!rows[passed] || CompareRecords(*order[i], *rows[passed], sortKey, names) > 0))
            ++passed;
        places.push_back(RowPlace{order[i], passed + i});
    }
    return places;
}
