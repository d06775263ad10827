#pragma once
// The type or category combo of the record editor: its template ends with
// two fixed entries ("Unfiled" and "Edit Types..." or "Edit
// Categories..."); above them stand the list's items by name. Windows build
// only.
#include <cstdint>

#include "core/items/UniqueKey.h"

class CComboBox;
class CObjectList;

// Removes every entry above the last two, inserts the items that are not
// deleted by name (without counts, each entry's data its item) and selects
// the item with the key; the zero key, or a key no item has, selects
// "Unfiled".
void FillItemCombo(const CObjectList& items, CComboBox& combo, const uint8_t key[kUniqueKeySize]);
