// The type and category editors' rules.
#include "mainwindow/editors/TypeEdits.h"

#include "core/items/ObjectList.h"
#include "core/items/TypeItem.h"

int CheckItemName(const CString& name, const CObjectList* types, const CBaseItem* edited)
{
    if (name.IsEmpty()) return kNameMissing;
    if (name.CompareNoCase("Unfiled") == 0) return kNameTaken;
    if (types) {
        const CBaseItem* other = types->FindByName(name);
        if (other && (!edited || other != edited)) return kNameTaken;
    }
    return 0;
}

TypeEdits LoadTypeEdits(const CTypeItem& type)
{
    TypeEdits edits;
    edits.name = type.GetName();
    for (int i = 0; i < kItemFieldCount - 1; ++i) edits.labels[i] = type.GetFieldName(i);
    // Field 10 of every record carries its modification date.
    edits.labels[kItemFieldCount - 1] = DefaultFieldLabel(kItemFieldCount - 1);
    for (int i = 0; i < kItemFieldCount; ++i) edits.masked[i] = type.IsFieldMasked(i);
    edits.icon = type.GetIcon();
    return edits;
}

TypeChange ApplyTypeEdits(CTypeItem& type, const TypeEdits& edits, bool isNew)
{
    TypeChange change;
    change.changed = isNew;
    if (isNew || type.GetName() != edits.name) {
        type.SetName(edits.name);
        change.nameChanged = true;
        change.changed = true;
    }
    WORD mask = type.GetHiddenMask();
    for (int i = 0; i < kItemFieldCount; ++i) {
        const WORD bit = static_cast<WORD>(1u << i);
        if (isNew || type.GetFieldName(i) != edits.labels[i]) {
            type.SetField(i, edits.labels[i]);
            change.labelsChanged |= bit;
            change.changed = true;
        }
        if (isNew || type.IsFieldMasked(i) != edits.masked[i]) {
            mask = static_cast<WORD>(edits.masked[i] ? (mask | bit) : (mask & ~bit));
            change.masksChanged |= bit;
            change.changed = true;
        }
    }
    type.SetHiddenMask(mask);
    if (isNew || type.GetIcon() != edits.icon) {
        type.SetIcon(edits.icon);
        change.iconChanged = true;
        change.changed = true;
    }
    if (change.changed) type.SetModified(true);
    return change;
}
