#pragma once
// CSearchHistoryMgr: a user's last ten search texts, oldest first, kept in
// the user's "SearchHistory.xml".
#include "app/history/SearchHistorySerializer.h"

class CSearchHistoryMgr {
public:
    static const int kCapacity = 10;

    explicit CSearchHistoryMgr(CUserItem* user, UserFilePathFn pathOf = UserFilePathFn());
    // Puts the list into the document, which the serializer then writes.
    virtual ~CSearchHistoryMgr();

    // The text becomes the newest entry: an equal entry (case counts) moves,
    // else the oldest entries go until there is room.
    void Add(const CString& text);
    // The list, oldest first, read from the file on first use.
    void GetAll(CStringArray& texts);
    // Puts the list into the document (replacing its entries when the list
    // was read from it, else after them).
    void Save();
    // Saves, writes the file and takes the other user's file (list unread).
    void SetUser(CUserItem* user);
    // With clear set, empties the list and the document's entries.
    void Clear(bool clear);
    void EnsureLoaded();
    void Reset();

    CUserItem* GetUser() const { return m_user; }

private:
    CUserItem* m_user;
    int m_loaded = 0;
    CStringArray m_texts;
    CSearchHistorySerializer m_serializer;
};
