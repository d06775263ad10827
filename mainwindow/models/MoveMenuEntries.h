#pragma once
// CMoveMenuEntries: the Type and Category sub-menus of the record popup. Each
// lists the items of its list that are not deleted, in list order, entry n
// carrying the command id first + n. The ids end where the view's handler
// range ends (mainwindow/MainWindowIds.h): a longer list shows only the
// entries the handler takes, so that no entry's id falls into the range of
// another command.
#include <cstdint>
#include <vector>

#include "core/items/UniqueKey.h"
#include "framework/CString.h"

class CObjectList;

class CMoveMenuEntries {
public:
    enum Kind { kTypes, kCategories };

    struct Entry {
        CString text;  // the item's name, '&' doubled so that it shows as typed
        unsigned id;
        bool checked;  // the item's key is the selected record's
    };

    explicit CMoveMenuEntries(Kind kind) : m_kind(kind) {}

    unsigned FirstId() const;
    unsigned LastId() const;
    // The most entries the sub-menu holds.
    int Capacity() const { return (int)(LastId() - FirstId()) + 1; }

    // The command id of the n-th entry; 0 past the capacity.
    unsigned IdFromIndex(int index) const;
    // The entry index of a command id; -1 outside the range.
    int IndexFromId(unsigned id) const;
    // The key of the item an id stands for, looked up in the list as it is
    // now; false (key untouched) when the id or the item is not there.
    bool KeyFromId(const CObjectList& list, unsigned id, uint8_t key[kUniqueKeySize]) const;

    // The entries over the list; currentKey (null: none) gets the check mark.
    void Build(const CObjectList& list, const uint8_t* currentKey);
    const std::vector<Entry>& Entries() const { return m_entries; }
    // Items left out because the sub-menu was full.
    int Omitted() const { return m_omitted; }

private:
    Kind m_kind;
    std::vector<Entry> m_entries;
    int m_omitted = 0;
};
