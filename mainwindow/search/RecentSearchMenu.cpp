#include "mainwindow/search/RecentSearchMenu.h"

RecentSearchMenu::RecentSearchMenu(const CStringArray& oldestFirst)
{
    unsigned id = kFirstId;
    for (INT_PTR i = oldestFirst.GetSize() - 1; i >= 0 && id <= kLastId; --i, ++id)
        m_entries.push_back({id, oldestFirst[i]});
}

bool RecentSearchMenu::TextOf(unsigned id, CString& text) const
{
    if (id < kFirstId || id - kFirstId >= m_entries.size()) return false;
    text = m_entries[id - kFirstId].text;
    return true;
}
