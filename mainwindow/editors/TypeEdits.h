#pragma once
// The type and category editors' rules without their windows: which names
// are accepted, what the type dialog shows, and what confirming it changes
// in the type.
#include "core/items/BaseItem.h"
#include "framework/CString.h"

class CObjectList;
class CTypeItem;

// Message ids of the refusals.
constexpr int kNameMissing = 140;
constexpr int kNameTaken = 141;

// 0 when the name may be given; kNameMissing for an empty one; kNameTaken
// for "Unfiled" in any case or, when types is given, the name of another
// live type (case ignored). edited is the type being edited, null for a new
// one.
int CheckItemName(const CString& name, const CObjectList* types, const CBaseItem* edited);

struct TypeEdits {
    CString name;
    CString labels[kItemFieldCount];
    bool masked[kItemFieldCount] = {};
    WORD icon = 24;
};

// The dialog's values for a type: its labels or the default ones, always
// "Date Mod" for field 10.
TypeEdits LoadTypeEdits(const CTypeItem& type);

struct TypeChange {
    bool changed = false;
    WORD labelsChanged = 0;
    WORD masksChanged = 0;
    bool iconChanged = false;
    bool nameChanged = false;
};

// Stores the values in the type (a new type takes all of them) and tells
// what changed; the type is marked modified when anything did.
TypeChange ApplyTypeEdits(CTypeItem& type, const TypeEdits& edits, bool isNew);
