#pragma once
// What the tool bar's "Web Logins..." menu and search pop-up list: one entry
// per web login with its uid and description. The listener threads may read
// the database again between a drop-down and the pick, so the lists hold no
// record pointers: a pick takes the entry at the item's position and finds
// its record by uid in the data as it is at that moment.
#include <cstdint>
#include <vector>

#include "core/items/UniqueKey.h"
#include "framework/CList.h"
#include "framework/CString.h"

class CRecord;
class CWebLoginDatabase;

// The menu's order: two names that both begin with a digit by their leading
// numbers (9 before 10), otherwise, and for equal numbers, without regard to
// case; so digits come before letters. Equal names answer 0.
int CompareMenuNames(const char* left, const char* right);

struct WebLoginEntry {
    uint8_t uid[kUniqueKeySize];
    CString description;
};

class CWebLoginList {
public:
    // The command ids of each list run up to the next range: the menu's
    // entries take ids 0 - 500, the search pop-up's 501 - 1000.
    static const int kMaxMenuEntries = 501;
    static const int kMaxSearchEntries = 500;

    // The records (CRecord, in database order) sorted by CompareMenuNames,
    // equal names in database order; at most kMaxMenuEntries kept.
    void FillForMenu(const CObList& records);
    // The records in database order; at most kMaxSearchEntries kept.
    void FillForSearch(const CObList& records);
    void Clear() { m_entries.clear(); }

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // The entry at position index, or null outside the list.
    const WebLoginEntry* At(int index) const;
    // The live web login of the entry at index in data, or null when the
    // position is outside the list or the record has gone since.
    const CRecord* Resolve(int index, const CWebLoginDatabase& data) const;

private:
    void Fill(const CObList& records, int cap, bool sorted);

    std::vector<WebLoginEntry> m_entries;
};
