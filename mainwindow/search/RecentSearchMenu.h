#pragma once
// The entries of the search box's "Recent Searches" popup: the user's recent
// searches, newest first, each under a command id counted up from
// ID_RECENT_SEARCH_FIRST. The range ends at ID_RECENT_SEARCH_LAST, so a
// longer history (a hand-edited file) lists only its eleven newest rather
// than reaching other commands' ids.
#include <vector>

#include "framework/CArray.h"
#include "framework/CString.h"
#include "mainwindow/MainWindowIds.h"

struct RecentSearchEntry {
    unsigned id;
    CString text;
};

class RecentSearchMenu {
public:
    static constexpr unsigned kFirstId = ID_RECENT_SEARCH_FIRST;
    static constexpr unsigned kLastId = ID_RECENT_SEARCH_LAST;

    // oldestFirst: the history as the application keeps it.
    explicit RecentSearchMenu(const CStringArray& oldestFirst);

    const std::vector<RecentSearchEntry>& Entries() const { return m_entries; }
    // The text of an entry's command id; false for an id without an entry.
    bool TextOf(unsigned id, CString& text) const;

private:
    std::vector<RecentSearchEntry> m_entries;
};
