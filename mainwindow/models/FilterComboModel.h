#pragma once
// CFilterComboModel: the entries of the type or the category filter combo,
// the window-free half of filling, updating and reading the combo. Layout for
// count entries:
//   0              "All Types (n)" / "All Categories (n)"      KEY_ALL
//   1 .. count-3   each item not deleted, "name (n)", by name   the item's key
//   count-2        "Unfiled (n)"                                KEY_UNFILED
//   count-1        "Edit Types..." / "Edit Categories..."       KEY_EDIT_ENTRY
// Counts ignore the other filter and the search.
#include <cstdint>
#include <vector>

#include "core/items/UniqueKey.h"
#include "framework/CString.h"

class CBaseItem;
class CObjectList;
class CRecordList;

struct FilterComboEntry {
    CString text;
    // The type or category of an item entry; null for the fixed entries.
    const CBaseItem* item = nullptr;
};

class CFilterComboModel {
public:
    enum Kind { kTypes = 0, kCategories = 1 };
    explicit CFilterComboModel(Kind kind) : m_kind(kind) {}

    // Rebuilds the entries from the items (not deleted, in name order) and
    // counts their records.
    void Refill(const CObjectList& items, const CRecordList& records);
    // Inserts one item in name order (before the first item entry whose name
    // compares greater, case-insensitively); returns its index.
    int Insert(const CBaseItem& item, const CRecordList& records);
    // Index of the item's entry (items only), -1 when none.
    int Find(const CBaseItem& item) const;
    // Removes the item's entry; its former index, or -1.
    int Remove(const CBaseItem& item);
    // Re-places an entry whose name or records changed; its new index, or -1.
    // selected: the index selected before, moved to where that entry stands
    // now (the changed entry's new index when it was the selected one).
    int Replace(const CBaseItem& item, const CRecordList& records, int& selected);

    // The filter key of the entry at index (KEY_UNFILED for an item entry
    // without an item).
    void KeyAt(int index, uint8_t key[kUniqueKeySize]) const;
    // The entry to select for a key: KEY_ALL index 0, KEY_UNFILED count-2,
    // otherwise the item with that key; -1 when no item has it.
    int IndexOfKey(const uint8_t key[kUniqueKeySize]) const;

    int GetCount() const { return (int)m_entries.size(); }
    const std::vector<FilterComboEntry>& Entries() const { return m_entries; }

    // The fixed entries' texts, from the string table when it has them.
    static CString AllText(Kind kind);
    static CString EditText(Kind kind);
    static CString UnfiledText();

private:
    int InsertCounted(const CBaseItem& item, int count);

    Kind m_kind;
    std::vector<FilterComboEntry> m_entries;
};
