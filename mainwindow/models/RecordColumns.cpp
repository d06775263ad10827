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

int CompareColumn(const CRecord& a, const CRecord& b, int column, const RecordNames& names)
{
    switch (column) {
    case kColumnIcon: return (int)a.GetIcon() - (int)b.GetIcon();
    case kColumnType:
    case kColumnCategory:
        return CompareSortText(RecordCellText(a, column, names, true), RecordCellText(b, column, names, true), true);
    case kColumnDateMod: return CompareSortText(SortableDate(a), SortableDate(b), true);
    case kColumnNotes: return (a.HasMainText() ? 1 : 0) - (b.HasMainText() ? 1 : 0);
    case kColumnAttachment: return (a.HasAttachment() ? 1 : 0) - (b.HasAttachment() ? 1 : 0);
    default: break;
    }
    if (column >= kColumnFirstField && column < kColumnDateMod)
        return CompareSortText(a.GetField(column - kColumnFirstField), b.GetField(column - kColumnFirstField), true);
    return 0;
}

}  // namespace

int CompareRecords(const CRecord& a, const CRecord& b, uint32_t sortKey, const RecordNames& names)
{
    int column = SortColumnOf(sortKey);
    const bool ascending = IsSortAscending(sortKey);
    int result = 0;
    for (int step = 0; step < 4 && result == 0; ++step) {
        result = ascending ? CompareColumn(a, b, column, names) : CompareColumn(b, a, column, names);
        column = column == kColumnNotes ? kColumnIcon : column + 1;
    }
    return result;
}

void SortRecords(std::vector<CRecord*>& records, uint32_t sortKey, const RecordNames& names)
{
    StableSortTolerant(records.begin(), records.end(),
                       [&](const CRecord* x, const CRecord* y) { return CompareRecords(*x, *y, sortKey, names) < 0; });
}

size_t SortedInsertIndex(const std::vector<CRecord*>& rows, const CRecord& record, uint32_t sortKey,
                         const RecordNames& names)
{
    size_t index = 0;
    while (index < rows.size() && (!rows[index] || CompareRecords(record, *rows[index], sortKey, names) > 0)) ++index;
    return index;
}
